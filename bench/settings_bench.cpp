// The settings window with the English texts of the program folder:
//  1. opening: created, filled from the settings and painted, each opening a
//     new window as the tray's Settings item makes it (closed in between);
//  2. Apply after a live change that needs no options program: the settings
//     stored and the window's state brought up to date.
// Prints figures; it is not a test. Run inside a Wine session, held to one
// CPU as the other window benchmarks are:
//   taskset -c 2 tools/wine-session wine build/windows/bench/settings_bench.exe
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "bench/bench_templates.h"
#include "core/app_ini.h"
#include "core/lang_list.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "dialogs/settings_form.h"
#include "ui/application.h"

namespace {

using bench::Drain;
using bench::FinishPaint;
using bench::Milliseconds;
using bench::Now;
using bench::Print;

constexpr int kOpenings = 25;
constexpr int kApplies = 50;

std::wstring LanguageFolder() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring path(self);
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"..\\bin\\Lang\\";
}

}  // namespace

int main() {
  snibbet::InitializeSettingsStore();
  snibbet::InitializePreset(snibbet::AppIni());
  ui::Application::Create({.title = L"settings bench"});
  {
    const std::wstring folder = LanguageFolder();
    snibbet::TQvLang texts(folder);
    texts.Load(L"en");
    snibbet::TQvLang* const previousTexts = snibbet::ExchangeLanguageTable(&texts);
    snibbet::EnumerateLanguages(folder);
    snibbet::NoProgramParts program;
    snibbet::OpenWindows openWindows;
    const snibbet::DialogParts parts{
        .preset = snibbet::Preset(), .bindings = snibbet::QvActions(), .openWindows = openWindows};
    snibbet::ProgramSettingsFormSystem system(parts);

    std::vector<double> openings;
    for (int i = 0; i < kOpenings; ++i) {
      const LONGLONG start = Now();
      snibbet::TMainForm& form = snibbet::OpenSettingsWindow(program, parts, system);
      FinishPaint(form.Handle());
      openings.push_back(Milliseconds(Now() - start));
      form.btnCloseClick();
      Drain();
    }
    Print("opening: created, filled and painted", openings);

    snibbet::TMainForm& form = snibbet::OpenSettingsWindow(program, parts, system);
    FinishPaint(form.Handle());
    std::vector<double> applies;
    int enabledBefore = 0;
    for (int i = 0; i < kApplies; ++i) {
      form.edtTemplatesBreaks.SetText(i % 2 ? L"," : L";");  // a live change: Apply becomes enabled
      Drain();
      if (IsWindowEnabled(form.btnApply.Handle())) ++enabledBefore;
      const LONGLONG start = Now();
      form.btnApplyClick();
      Drain();
      FinishPaint(form.Handle());
      applies.push_back(Milliseconds(Now() - start));
    }
    Print("Apply without the options program", applies);
    std::printf("(Apply was enabled by the change before %d of %d clicks, and after them: %s)\n", enabledBefore,
                kApplies, IsWindowEnabled(form.btnApply.Handle()) ? "still enabled" : "disabled");
    form.btnCloseClick();
    Drain();
    snibbet::ClearLanguageList();
    snibbet::ExchangeLanguageTable(previousTexts);
  }
  ui::Application::Destroy();
  snibbet::FinalizeSettingsStore();
  return 0;
}
