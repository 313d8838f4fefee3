#include "core/web_address.h"

namespace snibbet {
namespace {

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
  for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace

std::wstring LocalizeWebAddress(const std::wstring& address, int language) {
  if (language == 7 || language == 1031) return ReplaceAll(address, L"http://www.", L"http://de.");
  if (language == 25 || language == 1049) return ReplaceAll(address, L"http://www.", L"http://ru.");
  return address;
}

}  // namespace snibbet
