#pragma once
// Error reports: every exception that reaches the application's handler opens
// the error-report form (core/bug_report_form.h); its Send button, and the
// tray menu's report item, mail a report with the program's version and the
// system details through Simple MAPI.
//
// The program's active state and its exit path belong to the central data
// module, above this: the report reaches them through its port, which the
// program entry connects once the data module exists.
#include <windows.h>

#include <exception>
#include <string>

#include "core/system_details.h"

namespace snibbet {

inline constexpr wchar_t kBugReportAddress[] = L"bugs@orvanesoftware.com";

class BugReportPort {
 public:
  virtual ~BugReportPort() = default;
  // The program's active state (its own and the input helper's hooks). The
  // hooks are switched off while the mail program's dialog is open.
  virtual bool ProgramActive() = 0;
  virtual void SetProgramActive(bool active) = 0;
  // The tray menu's Exit: stop the data module, then end the application
  // (settings saved, hook library unloaded).
  virtual void ExitProgram() = 0;
  // The silent version check run before a report is composed; true when the
  // user chose to download a newer version instead.
  virtual bool NewerVersionChosen() = 0;
  // The keyboard layout named in the report: the key model's in the program.
  virtual HKL KeyboardLayout() = 0;
};

// The default while nothing is connected: no program to switch, Exit ends
// the application, CheckNewVersion(false), the foreground window's layout.
class DefaultBugReportPort : public BugReportPort {
 public:
  bool ProgramActive() override { return false; }
  void SetProgramActive(bool) override {}
  void ExitProgram() override;
  bool NewerVersionChosen() override;
  HKL KeyboardLayout() override;
};

// Connects a port to the error report for its own lifetime; the one
// connected before comes back at its end.
class BugReportConnection {
 public:
  explicit BugReportConnection(BugReportPort& port);
  ~BugReportConnection();
  BugReportConnection(const BugReportConnection&) = delete;
  BugReportConnection& operator=(const BugReportConnection&) = delete;

 private:
  BugReportPort* previous_;
};

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
