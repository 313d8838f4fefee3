#include <cwctype>

#include "keyboard/action_file.h"
#include "keyboard/actions.h"

namespace snibbet {

std::size_t RemoveListedBindings(TQvActions& list, const std::vector<ActionFileEntry>& entries) {
  std::size_t removed = 0;
  for (const ActionFileEntry& entry : entries) {
    const TQvAction* binding = list.Find(entry.key, entry.controlSet, entry.controlSet);
    if (!binding || binding->Kind() != entry.kind || binding->Param() != entry.param || binding->Text() != entry.text) {
      continue;
    }
    list.Delete(entry.key, entry.controlSet);
    ++removed;
  }
  list.Reindex();
  return removed;
}

bool ParseDecimalAttribute(const std::wstring& value, std::uint32_t maxValue, std::uint32_t& result) {
  std::size_t at = 0, end = value.size();
  while (at < end && std::iswspace(value[at])) ++at;
  while (end > at && std::iswspace(value[end - 1])) --end;
  if (at == end) return false;
  std::uint64_t number = 0;
  for (; at < end; ++at) {
    if (value[at] < L'0' || value[at] > L'9') return false;
    number = number * 10 + static_cast<unsigned>(value[at] - L'0');
    if (number > maxValue) return false;
  }
  result = static_cast<std::uint32_t>(number);
  return true;
}

}  // namespace snibbet
