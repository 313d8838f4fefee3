// Our build of the hook library: it tells the window handed to Hook about
// every new foreground window (WM_HOOK_WINDOW_ACTIVATED) and does nothing else.
//
// The WinEvent hooks are out of context: their callback runs on the thread
// that called Hook (the program's GUI thread, through its message loop), so no
// code of ours runs inside other processes and no state needs a lock. Some
// systems (Wine) raise no foreground event, only the focus event that comes
// with it, so both lead to one check of the foreground window.
#include <windows.h>

#include <utility>

#include "core/hook_messages.h"

namespace {

HWND g_reportTo = nullptr;
HWND g_lastForeground = nullptr;
HWINEVENTHOOK g_foregroundHook = nullptr;
HWINEVENTHOOK g_focusHook = nullptr;

void CALLBACK SomethingActivated(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  const HWND foreground = GetForegroundWindow();
  if (g_reportTo == nullptr || foreground == g_lastForeground) return;
  g_lastForeground = foreground;
  PostMessageW(g_reportTo, snibbet::WM_HOOK_WINDOW_ACTIVATED, reinterpret_cast<WPARAM>(foreground), 0);
}

HWINEVENTHOOK HookEvent(DWORD event) {
  return SetWinEventHook(event, event, nullptr, SomethingActivated, 0, 0, WINEVENT_OUTOFCONTEXT);
}

void RemoveHooks() {
  g_reportTo = nullptr;
  if (g_foregroundHook != nullptr) UnhookWinEvent(std::exchange(g_foregroundHook, nullptr));
  if (g_focusHook != nullptr) UnhookWinEvent(std::exchange(g_focusHook, nullptr));
}

}  // namespace

// A second Hook only changes the window reported to.
extern "C" void WINAPI Hook(HWND reportTo) {
  g_reportTo = reportTo;
  g_lastForeground = GetForegroundWindow();
  if (g_foregroundHook == nullptr) g_foregroundHook = HookEvent(EVENT_SYSTEM_FOREGROUND);
  if (g_focusHook == nullptr) g_focusHook = HookEvent(EVENT_OBJECT_FOCUS);
}

extern "C" void WINAPI UnHook() { RemoveHooks(); }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID processEnding) {
  // Freed while still hooked: the callback must not outlive its code.
  if (reason == DLL_PROCESS_DETACH && processEnding == nullptr) RemoveHooks();
  return TRUE;
}
