#include "app/system_check.h"

#include <windows.h>

#include "app/app_messages.h"
#include "visual/system_version.h"

namespace snibbet {

bool CheckSystem() {
  const SystemVersion version = RunningSystemVersion();
  if (IsSupportedSystem(version.platformId, version.major)) return true;
  MessageBoxW(nullptr,
              L"Orvane Paste works only on Windows 2000/XP/2003/Vista based operating systems.\r\n\r\n"
              L"Orvane Paste requires features present only in these operating systems.\r\n"
              L"All older versions of Windows are not supported!",
              kApplicationTitle, MB_OK | MB_ICONEXCLAMATION);
  return false;
}

}  // namespace snibbet
