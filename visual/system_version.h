#pragma once
// The running system's real version (not what a manifest lets GetVersionEx say).
#include <windows.h>

namespace snibbet {

struct SystemVersion {
  DWORD major = 0;
  DWORD minor = 0;
  DWORD platformId = 0;  // 2 = NT family
};

SystemVersion RunningSystemVersion();

}  // namespace snibbet
