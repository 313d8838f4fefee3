#include "app/system_check.h"

#include <windows.h>

#include "app/app_messages.h"

namespace snibbet {
namespace {

// The real version: GetVersionEx answers what the manifest lets it.
OSVERSIONINFOW RunningSystemVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  if (!rtlGetVersion || rtlGetVersion(&info) != 0) {
    info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&info);
#pragma GCC diagnostic pop
  }
  return info;
}

}  // namespace

bool CheckSystem() {
  const OSVERSIONINFOW version = RunningSystemVersion();
  if (IsSupportedSystem(version.dwPlatformId, version.dwMajorVersion)) return true;
  MessageBoxW(nullptr,
              L"Orvane Paste works only on Windows 2000/XP/2003/Vista based operating systems.\r\n\r\n"
              L"Orvane Paste requires features present only in these operating systems.\r\n"
              L"All older versions of Windows are not supported!",
              kApplicationTitle, MB_OK | MB_ICONEXCLAMATION);
  return false;
}

}  // namespace snibbet
