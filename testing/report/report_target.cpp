// ReportTarget.exe: a test build of the program's error path. It starts like
// Snibbet (settings store, languages, utilities, the application object, the
// error-report form as the application's exception handler) and throws on
// request from a window procedure, a timer or a low-level keyboard hook, so
// that end-to-end tests can drive the report as a user meets it.
//
//   ReportTarget.exe [/debug] [/tick <ms>] [/versionurl <url>] [/journal <file>]
//
// /tick: the countdown's step instead of a second; /versionurl: the version
// file the report's silent check asks; /journal: where the data-module seams
// (SetActive, Exit, the version check, the download page) are written down.
//
// Requests, posted to the window of class "TReportTarget":
//   kThrowInHandler (wParam: which message), kThrowInTimer, kHookKeys (F13
//   then throws inside the hook).
#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/app_ini.h"
#include "core/bug_report.h"
#include "core/bug_report_form.h"
#include "core/lang_table.h"
#include "core/never_ask_list.h"
#include "core/product_name.h"
#include "core/utilities.h"
#include "core/version_check.h"
#include "testing/report/mapi_journal.h"
#include "testing/report/report_target_protocol.h"
#include "ui/application.h"
#include "ui/exceptions.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace {

using namespace report_target;

struct Options {
  UINT tickMs = 0;
  std::wstring versionUrl;
  std::wstring journal;
};

Options g_options;
bool g_active = true;

Options ParseOptions() {
  Options options;
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; i + 1 < count; ++i) {
    const std::wstring name = args[i];
    if (name == L"/tick") options.tickMs = static_cast<UINT>(std::stoul(args[++i]));
    else if (name == L"/versionurl") options.versionUrl = args[++i];
    else if (name == L"/journal") options.journal = args[++i];
  }
  LocalFree(args);
  return options;
}

void Journal(const std::wstring& line) {
  if (!g_options.journal.empty()) report_test::AppendJournal(g_options.journal, line);
}

HHOOK g_hook = nullptr;

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  ui::GuardedHook(LRESULT{0}, [&] {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (code == HC_ACTION && wParam == WM_KEYDOWN && key->vkCode == kHookThrowKey) {
      throw std::runtime_error(kHookMessage);
    }
    return LRESULT{0};
  });
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

class TReportTarget : public ui::Form {
 public:
  TReportTarget() : ui::Form({.className = kWindowClass, .caption = kWindowTitle, .clientWidth = 1, .clientHeight = 1}) {}
  ~TReportTarget() override {
    if (g_hook) UnhookWindowsHookEx(g_hook);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case kThrowInHandler:
        throw std::runtime_error(HandlerMessage(static_cast<int>(wParam)));
      case kThrowInTimer:
        failingTimer_.Start();
        return 0;
      case kHookKeys:
        if (!g_hook) g_hook = SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHook, GetModuleHandleW(nullptr), 0);
        return g_hook ? 1 : 0;
    }
    return ui::Form::HandleMessage(message, wParam, lParam);
  }
  void OnClose(ui::CloseAction& action) override { ui::Terminate(); }

 private:
  ui::Timer failingTimer_{this, L"failingTimer", 10, [this] {
                            failingTimer_.Stop();
                            throw std::runtime_error(kTimerMessage);
                          }};
};

// The program's part in the report, noted in the journal.
class JournalledProgram final : public snibbet::DefaultBugReportPort {
 public:
  bool ProgramActive() override { return g_active; }
  void SetProgramActive(bool active) override {
    g_active = active;
    Journal(L"SetActive " + std::to_wstring(active ? 1 : 0));
  }
  void ExitProgram() override {
    Journal(L"Exit");
    ui::Terminate();
  }
  bool NewerVersionChosen() override {
    Journal(L"VersionCheck");
    snibbet::VersionCheckSource source;
    if (!g_options.versionUrl.empty()) source.address = g_options.versionUrl;
    source.timeoutMs = 2000;
    source.openPage = [](const std::wstring& page) { Journal(L"OpenPage " + page); };
    return snibbet::CheckNewVersion(false, source);
  }
};

int Run() {
  ui::Application& app = ui::Application::Create({.title = snibbet::kProductName});
  snibbet::TQvBugMessageForm& report =
      app.CreateForm<snibbet::TQvBugMessageForm>(snibbet::NeverAskBugFileName(snibbet::AppIni().DataFolder()));
  if (g_options.tickMs) report.tmrClose.SetInterval(g_options.tickMs);
  app.SetExceptionHandler(snibbet::ReportApplicationException);
  JournalledProgram program;
  snibbet::BugReportConnection connected(program);
  app.CreateForm<TReportTarget>();
  app.Run();
  ui::Application::Destroy();
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  g_options = ParseOptions();
  snibbet::InitializeSettingsStore();
  snibbet::InitializeLanguages();
  snibbet::InitializeUtilities();
  const int code = Run();
  snibbet::FinalizeUtilities();
  snibbet::FinalizeLanguages();
  snibbet::FinalizeSettingsStore();
  return code;
}
