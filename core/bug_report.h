#pragma once
// Error reports: every exception that reaches the application's handler opens
// the error-report form (core/bug_report_form.h); its Send button, and the
// tray menu's report item, mail a report with the program's version and the
// system details through Simple MAPI.
//
// The central data module owns the program's active state, its exit path and
// the keyboard model; it hands them in here through BugReportHooks.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>

#include "core/system_details.h"

namespace snibbet {

inline constexpr wchar_t kBugReportAddress[] = L"bugs@orvanesoftware.com";

struct BugReportHooks {
  // The program's active state (its own and the input helper's hooks). The
  // hooks are switched off while the mail program's dialog is open.
  std::function<bool()> isActive;
  std::function<void(bool active)> setActive;
  // The tray menu's Exit: stop the data module, then end the application
  // (settings saved, hook library unloaded). Default: the application ends.
  std::function<void()> exitProgram;
  // The silent version check run before a report is composed; true when the
  // user chose to download a newer version instead. Default: CheckNewVersion(false).
  std::function<bool()> checkNewVersion;
  // The keyboard layout of the key model. Default: the foreground window's.
  KeyboardLayoutSource keyboardLayout;
};

// Replaces the hooks (empty members take the defaults).
void SetBugReportHooks(BugReportHooks hooks);
const BugReportHooks& GetBugReportHooks();

// Text 301 with "%1" = "Orvane Paste" and "%2" = the message, three line
// breaks, then the system details.
std::wstring ComposeBugReport(const std::wstring& message, const SystemFacts& facts);

// Runs the silent version check; unless the user went for a newer version,
// mails the report (recipient kBugReportAddress, subject text 9 + " Orvane
// Paste") with the mail program's dialog, the program switched off meanwhile
// and back to its former state afterwards, whatever happens.
void BuildBugReport(const std::wstring& message);

// Ends the program the way the tray menu's Exit does.
void ExitProgram();

// The application's exception handler: "Exception : <message>" goes to the
// debug log, then the error-report form shows the message (a plain error box
// when there is no form).
//   app.SetExceptionHandler(ReportApplicationException);
void ReportApplicationException(const std::exception_ptr& error);

}  // namespace snibbet
