#include "core/bug_report.h"

#include "core/bug_report_form.h"
#include "core/debug_log.h"
#include "core/lang_table.h"
#include "core/mapi_mail.h"
#include "core/message_boxes.h"
#include "core/text_utils.h"
#include "core/version_check.h"
#include "ui/application.h"
#include "ui/exceptions.h"

namespace snibbet {
namespace {

DefaultBugReportPort g_defaultPort;
BugReportPort* g_port = &g_defaultPort;

// The program is switched off for the mail dialog and back to its former
// state afterwards, also when mailing fails.
class SwitchedOff {
 public:
  explicit SwitchedOff(BugReportPort& port) : port_(port), wasActive_(port.ProgramActive()) {
    port_.SetProgramActive(false);
  }
  ~SwitchedOff() {
    try {
      port_.SetProgramActive(wasActive_);
    } catch (...) {
      ui::ReportLater(std::current_exception());
    }
  }
  SwitchedOff(const SwitchedOff&) = delete;
  SwitchedOff& operator=(const SwitchedOff&) = delete;

 private:
  BugReportPort& port_;
  bool wasActive_;
};

}  // namespace

void DefaultBugReportPort::ExitProgram() { ui::Terminate(); }
bool DefaultBugReportPort::NewerVersionChosen() { return CheckNewVersion(false); }
HKL DefaultBugReportPort::KeyboardLayout() { return ForegroundKeyboardLayout(); }

BugReportConnection::BugReportConnection(BugReportPort& port) : previous_(g_port) { g_port = &port; }
BugReportConnection::~BugReportConnection() { g_port = previous_; }

std::wstring ComposeBugReport(const std::wstring& message, const SystemFacts& facts) {
  return FormatText(LangText(301, L"Error in %1:\r\n\r\n%2"), {kProductName, message}) + L"\r\n\r\n\r\n" +
         FormatSystemDetails(facts);
}

void BuildBugReport(const std::wstring& message) {
  BugReportPort& port = *g_port;
  if (port.NewerVersionChosen()) return;
  const std::wstring body = ComposeBugReport(message, GatherSystemFacts([&port] { return port.KeyboardLayout(); }));
  SwitchedOff off(port);
  SendMailMapi(kBugReportAddress, LangText(9) + L" " + kProductName, body, {});
}

void ExitProgram() { g_port->ExitProgram(); }

void ReportApplicationException(const std::exception_ptr& error) {
  const std::wstring message = ui::ExceptionMessage(error);
  DebugLog(L"Exception : " + message);
  if (TQvBugMessageForm* form = BugMessageForm()) {
    ShowBugMessage(*form, message);
  } else {
    ShowErrorMessage(message);
  }
}

}  // namespace snibbet
