#pragma once
// The program needs a system of the NT family, version 5 (Windows 2000) or later.

namespace snibbet {

// platformId as in OSVERSIONINFO (2 = NT family).
constexpr bool IsSupportedSystem(unsigned long platformId, unsigned long majorVersion) {
  return platformId == 2 && majorVersion >= 5;
}

// Checks the running system; on an unsupported one shows the warning box and
// returns false.
bool CheckSystem();

}  // namespace snibbet
