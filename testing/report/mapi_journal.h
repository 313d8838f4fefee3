#pragma once
// The journal of the stand-in mail library (standins/mapi) and of the seams
// that tests hand to the error report: UTF-8 lines; CR, LF and "\" inside a
// text are written as \r, \n and \\.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/utf8.h"

namespace report_test {

inline std::vector<std::wstring> ReadJournal(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  std::vector<std::wstring> lines;
  std::wstring text = snibbet::Utf8ToWide(bytes.str());
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find(L"\r\n", start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::wstring::npos) break;
    start = end + 2;
  }
  return lines;
}

inline void AppendJournal(const std::wstring& path, const std::wstring& line) {
  std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::app) << snibbet::WideToUtf8(line) << "\r\n";
}

// A journal line's text with \r, \n and \\ turned back into characters.
inline std::wstring Unescaped(std::wstring_view text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 1 < text.size()) {
      const wchar_t next = text[++i];
      out += next == L'r' ? L'\r' : next == L'n' ? L'\n' : next;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace report_test
