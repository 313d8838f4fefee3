#include "templates/template_text.h"

#include <windows.h>

namespace snibbet {

std::wstring TemplateTextToWide(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string WideToTemplateText(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

NameFolding SystemNameFolding() {
  CPINFO info{};
  if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 1) return NameFolding();
  NameFolding::Table lower;
  for (int b = 0; b < 256; ++b) {
    char c = static_cast<char>(b);
    if (b != 0) CharLowerBuffA(&c, 1);
    lower[b] = static_cast<std::uint8_t>(c);
  }
  return NameFolding(lower);
}

}  // namespace snibbet
