#include "core/tray_lookups.h"

#include <array>
#include <utility>

#include "core/product_name.h"
#include "core/utf8.h"

namespace snibbet {
namespace {

// (primary language, flag picture), searched in this order.
constexpr std::array<std::pair<int, int>, 38> kPrimaryLanguageFlags = {{
    {9, 2},   {12, 14}, {7, 15},  {10, 32}, {25, 29}, {4, 8},   {5, 9},   {6, 10},  {19, 11}, {37, 12},
    {11, 13}, {8, 16},  {14, 17}, {16, 18}, {17, 19}, {18, 20}, {64, 21}, {38, 22}, {39, 23}, {20, 24},
    {21, 25}, {22, 27}, {24, 28}, {27, 30}, {36, 31}, {29, 33}, {31, 34}, {34, 35}, {67, 36}, {42, 37},
    {13, 38}, {90, 39}, {28, 3},  {1, 4},   {35, 5},  {2, 6},   {3, 7},   {26, 40},
}};

constexpr int kUsEnglish = 1033;
constexpr int kBrazilianPortuguese = 1046;
constexpr int kRussian = 25;

bool Unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

}  // namespace

int LayoutToFlagIndex(std::uintptr_t layout) {
  const int languageId = static_cast<int>(layout & 0xFFFF);
  if (languageId == kUsEnglish) return 1;
  if (languageId == kBrazilianPortuguese) return 26;
  const int primary = languageId & 0xFF;
  for (const auto& [language, flag] : kPrimaryLanguageFlags) {
    if (language == primary) return flag;
  }
  return 0;
}

std::wstring SelectHelpFileName(const std::wstring& programFolder, int language,
                                const std::function<bool(const std::wstring&)>& fileExists) {
  if (language == kRussian) {
    std::wstring russian = programFolder + L"Snibbet" + L"Ru.chm";
    if (fileExists && fileExists(russian)) return russian;
  }
  return programFolder + L"Snibbet" + L".chm";
}

std::wstring PercentEncode(const std::wstring& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::wstring encoded;
  for (unsigned char c : WideToUtf8(text)) {
    if (Unreserved(c)) {
      encoded += static_cast<wchar_t>(c);
    } else {
      encoded += L'%';
      encoded += static_cast<wchar_t>(kHex[c >> 4]);
      encoded += static_cast<wchar_t>(kHex[c & 0x0F]);
    }
  }
  return encoded;
}

std::wstring ProductMailLink(const std::wstring& address, const std::wstring& productVersion) {
  return L"mailto:" + address + L"?subject=" + PercentEncode(std::wstring(kProductName) + L" " + productVersion);
}

std::wstring SupportMailLink(const std::wstring& productVersion) { return ProductMailLink(kSupportMailbox, productVersion); }

}  // namespace snibbet
