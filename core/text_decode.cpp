#include "core/text_decode.h"

#include <windows.h>

namespace snibbet {
namespace {

std::wstring Decode(UINT codePage, DWORD flags, std::string_view bytes, bool& ok) {
  ok = true;
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
  if (n <= 0) {
    ok = false;
    return {};
  }
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), n);
  return wide;
}

}  // namespace

std::wstring DecodeTextBytes(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  bool ok = false;
  std::wstring text = Decode(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, ok);
  if (ok) return text;
  return Decode(CP_ACP, 0, bytes, ok);
}

}  // namespace snibbet
