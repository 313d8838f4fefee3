#include "core/elevated_launch.h"

#include <shellapi.h>

#include <system_error>

#include "core/version_info.h"

namespace snibbet {

void RunElevated(HWND owner, const std::wstring& file, const std::wstring& parameters) {
  if (!IsVistaOrLater()) {
    ShellExecuteW(owner, L"", file.c_str(), parameters.c_str(), L"", SW_SHOWNORMAL);
    return;
  }
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_FLAG_DDEWAIT;  // 0x500
  info.hwnd = owner;
  info.lpVerb = L"runas";
  info.lpFile = file.c_str();
  info.lpParameters = parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info)) {
    const DWORD error = GetLastError();
    throw std::system_error(static_cast<int>(error), std::system_category(), "RunElevated");
  }
}

}  // namespace snibbet
