// A spy build of SnibbetH.dll: it tells the test what the program calls.
#include <windows.h>

#include "tests/e2e/datamodule_spy_protocol.h"

using namespace snibbet_e2e;

extern "C" void WINAPI Hook(HWND reportTo) {
  ReportToSpy(kSpyHooked, reinterpret_cast<WPARAM>(reportTo), static_cast<LPARAM>(GetCurrentProcessId()));
}

extern "C" void WINAPI UnHook() { ReportToSpy(kSpyUnHooked, 0, 0); }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID processEnding) {
  if (reason == DLL_PROCESS_DETACH && processEnding == nullptr) ReportToSpy(kSpyFreed, 0, 0);
  return TRUE;
}
