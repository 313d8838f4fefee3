#include "app/start_failure.h"

#include <windows.h>

#include <cstdio>

#include "app/app_messages.h"
#include "core/debug_log.h"
#include "core/utf8.h"

namespace snibbet {

void ReportStartFailure(std::wstring_view reason) {
  const std::wstring text = std::wstring(kApplicationTitle) + L" cannot start: " + std::wstring(reason);
  DebugLog(text);
  // A program started from a console (or under Wine from a shell) says it there too.
  std::fputs((WideToUtf8(text) + "\n").c_str(), stderr);
  std::fflush(stderr);
  MessageBoxW(nullptr, text.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

std::wstring StartFailureReason(const std::exception& error, bool noWindowPossible) {
  std::wstring reason = Utf8ToWide(error.what());
  if (noWindowPossible) {
    reason = L"it cannot create its windows (" + reason +
             L"). No display is available: it needs a Windows desktop (under Wine, a running X server named by "
             L"DISPLAY).";
  }
  return reason;
}

}  // namespace snibbet
