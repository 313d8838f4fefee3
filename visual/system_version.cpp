#include "visual/system_version.h"

namespace snibbet {

SystemVersion RunningSystemVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  if (!rtlGetVersion || rtlGetVersion(&info) != 0) {
    info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExW(&info);
  }
  return {info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId};
}

}  // namespace snibbet
