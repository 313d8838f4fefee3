#include "core/tray_seams.h"

#include <shellapi.h>

#include "core/caret.h"
#include "core/debug_log.h"
#include "ui/application.h"

namespace snibbet {
namespace {

void LogTemplateViewRequest() {
  POINT caret{};
  int height = 0;
  if (GetCaretScreenPos(caret, height, false)) {
    DebugLog(L"ShowTemplateView " + std::to_wstring(caret.x) + L"," + std::to_wstring(caret.y));
  } else {
    DebugLog(L"ShowTemplateView");
  }
}

void ShellOpen(const std::wstring& address) {
  DebugLog(L"Open " + address);
  ShellExecuteW(ui::ApplicationWindow(), L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

TraySeams StandIns() {
  TraySeams seams;
  seams.showTemplateView = LogTemplateViewRequest;
  seams.openAddress = ShellOpen;
  seams.settingsWindowVisible = [] { return false; };
  seams.setHelpFile = [](const std::wstring&) {};
  seams.showHelp = [] {};
  seams.keyboardLayout = [] { return GetKeyboardLayout(0); };
  return seams;
}

}  // namespace

TraySeams& TrayHooks() {
  static TraySeams seams = StandIns();
  return seams;
}

void ResetTraySeams() { TrayHooks() = StandIns(); }

}  // namespace snibbet
