#include "core/message_boxes.h"

#include <windows.h>

#include <string>

#include "core/lang_table.h"
#include "ui/application.h"

namespace snibbet {
namespace {

// Without an owner the box still blocks every window of the program.
int ShowBox(HWND owner, std::wstring_view text, const std::wstring& caption, UINT style) {
  if (!owner) style |= MB_TASKMODAL;
  return MessageBoxW(owner, std::wstring(text).c_str(), caption.c_str(), style);
}

// The active window of this thread, else the application window.
HWND ActiveOwner() {
  HWND active = GetActiveWindow();
  return active ? active : ui::ApplicationWindow();
}

}  // namespace

void ShowErrorMessage(std::wstring_view text) {
  ShowBox(ActiveOwner(), text, LangText(9, L"Error"), MB_OK | MB_ICONERROR);
}

void ShowWarningMessage(std::wstring_view text) {
  ShowBox(ActiveOwner(), text, LangText(10, L"zqlWarning"), MB_OK | MB_ICONWARNING);
}

void ShowInfoMessage(std::wstring_view text) {
  ShowBox(ActiveOwner(), text, LangText(11, L"Information"), MB_OK | MB_ICONINFORMATION);
}

bool AskYesNo(std::wstring_view text) {
  return ShowBox(ui::ApplicationWindow(), text, LangText(12, L"Confirm"), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

Answer AskYesNoCancel(std::wstring_view text) {
  switch (ShowBox(ui::ApplicationWindow(), text, LangText(12, L"Confirm"), MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return Answer::Yes;
    case IDNO: return Answer::No;
    default: return Answer::Cancel;  // also a box that could not be shown
  }
}

Answer AskSaveChanges() { return AskYesNoCancel(LangText(15)); }
Answer AskSaveChangesOnClose() { return AskYesNoCancel(LangText(16)); }
bool AskConfirmDelete() { return AskYesNo(LangText(14)); }

}  // namespace snibbet
