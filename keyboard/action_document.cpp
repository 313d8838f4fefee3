#include "keyboard/action_document.h"

namespace snibbet {
namespace {

constexpr wchar_t kRootName[] = L"QvActions";
constexpr std::uint32_t kMaxByte = 255;

// The value of the first attribute named `name`; null when there is none.
const std::wstring* Attribute(const ActionXmlElement& element, const wchar_t* name) {
  for (const auto& [attribute, value] : element.attributes) {
    if (attribute == name) return &value;
  }
  return nullptr;
}

// An absent number is 0; a present one must be a byte.
bool ByteAttribute(const ActionXmlElement& element, const wchar_t* name, std::uint8_t& result) {
  const std::wstring* value = Attribute(element, name);
  std::uint32_t number = 0;
  if (value && !ParseDecimalAttribute(*value, kMaxByte, number)) return false;
  result = static_cast<std::uint8_t>(number);
  return true;
}

}  // namespace

std::optional<ActionFileEntry> EntryFromElement(const ActionXmlElement& element) {
  ActionFileEntry entry;
  std::uint8_t set = 0;
  if (!ByteAttribute(element, L"Key", entry.key) || !ByteAttribute(element, L"ControlSet", set) ||
      !ByteAttribute(element, L"QVA", entry.kind) || !ByteAttribute(element, L"Kind", entry.param)) {
    return std::nullopt;
  }
  entry.controlSet = set;
  if (const std::wstring* text = Attribute(element, L"Text")) entry.text = *text;
  return entry;
}

ActionFileError ReadActionEntries(ActionXmlSource& source, std::vector<ActionFileEntry>& entries) {
  entries.clear();
  ActionXmlElement element;
  ActionFileError error;
  bool rootSeen = false;
  while (source.NextElement(element, error)) {
    if (element.depth == 0) {
      if (rootSeen) {
        error = {ActionFileError::Reason::Malformed, L"a second root element", element.line};
        break;
      }
      if (element.name != kRootName) {
        error = {ActionFileError::Reason::WrongRoot, L"the root element is <" + element.name + L">", element.line};
        break;
      }
      rootSeen = true;
    } else if (element.depth == 1 && rootSeen) {
      if (std::optional<ActionFileEntry> entry = EntryFromElement(element)) entries.push_back(std::move(*entry));
    }
  }
  if (!error && !rootSeen) error = {ActionFileError::Reason::Malformed, L"no root element", 0};
  if (error) entries.clear();
  return error;
}

}  // namespace snibbet
