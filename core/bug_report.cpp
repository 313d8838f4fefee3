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

BugReportHooks g_hooks;

// The program is switched off for the mail dialog and back to its former
// state afterwards, also when mailing fails.
class SwitchedOff {
 public:
  SwitchedOff() {
    const BugReportHooks& hooks = GetBugReportHooks();
    if (!hooks.isActive || !hooks.setActive) return;
    wasActive_ = hooks.isActive();
    hooks.setActive(false);
    switched_ = true;
  }
  ~SwitchedOff() {
    if (!switched_) return;
    try {
      GetBugReportHooks().setActive(wasActive_);
    } catch (...) {
      ui::ReportLater(std::current_exception());
    }
  }
  SwitchedOff(const SwitchedOff&) = delete;
  SwitchedOff& operator=(const SwitchedOff&) = delete;

 private:
  bool switched_ = false;
  bool wasActive_ = false;
};

}  // namespace

void SetBugReportHooks(BugReportHooks hooks) { g_hooks = std::move(hooks); }

const BugReportHooks& GetBugReportHooks() { return g_hooks; }

std::wstring ComposeBugReport(const std::wstring& message, const SystemFacts& facts) {
  return FormatText(LangText(301, L"Error in %1:\r\n\r\n%2"), {kProductName, message}) + L"\r\n\r\n\r\n" +
         FormatSystemDetails(facts);
}

void BuildBugReport(const std::wstring& message) {
  const bool newerChosen = g_hooks.checkNewVersion ? g_hooks.checkNewVersion() : CheckNewVersion(false);
  if (newerChosen) return;
  const std::wstring body = ComposeBugReport(message, GatherSystemFacts(g_hooks.keyboardLayout));
  SwitchedOff off;
  SendMailMapi(kBugReportAddress, LangText(9) + L" " + kProductName, body, {});
}

void ExitProgram() {
  if (g_hooks.exitProgram) {
    g_hooks.exitProgram();
  } else {
    ui::Terminate();
  }
}

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
