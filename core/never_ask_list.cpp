#include "core/never_ask_list.h"

#include <windows.h>

#include "core/file_bytes.h"
#include "core/paths.h"
#include "core/text_decode.h"
#include "core/utf8.h"

namespace snibbet {
namespace {

bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

// Lines end in CR LF, LF or CR; nothing follows the last line break.
std::vector<std::wstring> SplitLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + ((text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ? 2 : 1);
  }
  return lines;
}

}  // namespace

std::wstring NeverAskBugFileName(const std::wstring& dataFolder) { return JoinPath(dataFolder, L"NeverAskBug.txt"); }

NeverAskList::NeverAskList(std::wstring fileName) : fileName_(std::move(fileName)) {}

void NeverAskList::Load() {
  lines_.clear();
  if (const auto bytes = ReadFileBytes(fileName_)) lines_ = SplitLines(DecodeTextBytes(*bytes));
}

bool NeverAskList::Holds(std::wstring_view message) const {
  const std::wstring line = AsLine(message);
  for (const auto& held : lines_) {
    if (SameTextIgnoringCase(held, line)) return true;
  }
  return false;
}

bool NeverAskList::Add(std::wstring_view message) {
  while (lines_.size() >= kMaxLines) lines_.erase(lines_.begin());
  lines_.push_back(AsLine(message));
  return Save();
}

std::wstring NeverAskList::AsLine(std::wstring_view message) {
  std::wstring line(message);
  for (auto& c : line) {
    if (c == L'\r' || c == L'\n') c = L' ';
  }
  return line;
}

bool NeverAskList::Save() const {
  std::string bytes(kUtf8Bom);
  for (const auto& line : lines_) bytes += WideToUtf8(line) + "\r\n";
  return WriteFileBytes(fileName_, bytes);
}

}  // namespace snibbet
