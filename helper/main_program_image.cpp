#include "helper/main_program_image.h"

#include <algorithm>

#include "helper/helper_protocol.h"

namespace snibbet::helper {
namespace {

// File names compare without case; the main program's name is plain ASCII.
wchar_t FoldAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

}  // namespace

bool IsMainProgramImage(std::wstring_view imagePath) {
  const size_t slash = imagePath.find_last_of(L"\\/");
  const std::wstring_view name = slash == std::wstring_view::npos ? imagePath : imagePath.substr(slash + 1);
  const std::wstring_view mainName = kMainProgramFileName;
  return std::ranges::equal(name, mainName, [](wchar_t a, wchar_t b) { return FoldAscii(a) == FoldAscii(b); });
}

}  // namespace snibbet::helper
