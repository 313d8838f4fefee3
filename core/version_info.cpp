#include "core/version_info.h"

#include <windows.h>

#include <vector>

namespace snibbet {

std::wstring GetVersionInfoString(const std::wstring& file, const std::wstring& key) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return {};
  const std::wstring query = L"\\StringFileInfo\\040904E4\\" + key;
  wchar_t* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return {};
  std::wstring text(value, length);
  while (!text.empty() && text.back() == L'\0') text.pop_back();  // the length may count the terminator
  return text;
}

std::wstring ProgramFileName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);
  }
}

std::wstring GetProductVersion() { return GetVersionInfoString(ProgramFileName(), L"ProductVersion"); }

bool IsVistaOrLater() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  return GetVersionExW(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 6;
}

}  // namespace snibbet
