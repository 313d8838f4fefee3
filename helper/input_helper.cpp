#include "helper/input_helper.h"

#include "helper/helper_protocol.h"

namespace snibbet::helper {

InputHelper::InputHelper(const Clock& clock, KeyInjector& injector, HookInstaller& hooks, MainWindowPort& mainWindow,
                         Timer& timer)
    : hooks_(hooks), blocker_(clock, injector, mainWindow, timer), relay_(clock, mainWindow, blocker_) {}

bool InputHelper::OnCommand(unsigned message) {
  switch (message) {
    case WM_HELPER_HOOKS_ON: InstallHooks(); return true;
    case WM_HELPER_HOOKS_OFF: RemoveHooks(); return true;
    case WM_HELPER_BLOCK_INPUT: blocker_.Start(); return true;
    case WM_HELPER_UNBLOCK_INPUT: blocker_.Stop(); return true;
    case WM_HELPER_WHEEL_CAPTURE_ON: relay_.SetWheelCapture(true); return true;
    case WM_HELPER_WHEEL_CAPTURE_OFF: relay_.SetWheelCapture(false); return true;
    case WM_HELPER_RESET_MAIN_WINDOW: relay_.ForgetMainWindow(); return true;
    default: return false;
  }
}

void InputHelper::InstallHooks() {
  if (!hooks_.IsInstalled(HookKind::Keyboard)) {
    if (!hooks_.Install(HookKind::Keyboard)) hooks_.ReportFailure(HookFailure::KeyboardInstall);
    blocker_.ForgetKeys();
  }
  if (!hooks_.IsInstalled(HookKind::Mouse) && !hooks_.Install(HookKind::Mouse)) {
    hooks_.ReportFailure(HookFailure::MouseInstall);
  }
}

void InputHelper::RemoveHooks() {
  if (hooks_.IsInstalled(HookKind::Mouse) && !hooks_.Remove(HookKind::Mouse)) {
    hooks_.ReportFailure(HookFailure::MouseRemove);
  }
  if (hooks_.IsInstalled(HookKind::Keyboard)) {
    // Replay the held-back keys while our hook still lets them through: without
    // the noted releases, keys pressed before the block would stay down.
    if (blocker_.Blocking()) blocker_.Stop();
    if (!hooks_.Remove(HookKind::Keyboard)) hooks_.ReportFailure(HookFailure::KeyboardRemove);
  }
}

std::wstring_view HookFailureText(HookFailure failure) {
  switch (failure) {
    case HookFailure::KeyboardInstall: return L"Error hook WH_KEYBOARD_LL for blocking!";
    case HookFailure::MouseInstall: return L"Error hook WH_MOUSE_LL!";
    case HookFailure::KeyboardRemove: return L"Error unhook WH_KEYBOARD_LL for blocking!";
    case HookFailure::MouseRemove: return L"Error unhook WH_MOUSE_LL!";
  }
  return {};
}

}  // namespace snibbet::helper
