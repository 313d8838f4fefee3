// Shows the settings window on one of its pages, for a look at it; it
// closes itself. Usage: settings_look [node 0-4] [seconds]
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "core/app_ini.h"
#include "core/lang_list.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "dialogs/settings_form.h"
#include "ui/application.h"
#include "ui/timer.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const int node = argc > 1 ? _wtoi(argv[1]) : 0;
  const int seconds = argc > 2 ? _wtoi(argv[2]) : 6;
  LocalFree(argv);
  snibbet::InitializeSettingsStore();
  snibbet::InitializePreset();
  ui::Application::Create({.title = L"Settings look"});
  {
    // The English texts of the program folder beside the test folder.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder = folder.substr(0, folder.find_last_of(L'\\') + 1) + L"..\\bin\\Lang\\";
    snibbet::TQvLang texts(folder);
    texts.Load(L"en");
    snibbet::TQvLang* const previousTexts = snibbet::ExchangeLanguageTable(&texts);
    snibbet::EnumerateLanguages(folder);
    snibbet::NoProgramParts port;
    snibbet::TMainForm& form = snibbet::OpenSettingsWindow(port);
    ui::TreeView::Node shown = form.tvList.FirstNode();
    for (int i = 0; i < node && shown; ++i) shown = form.tvList.NextSibling(shown);
    if (shown) form.tvList.Select(shown);
    int ticks = 0;
    ui::Timer driver(100, [&] {
      if (++ticks >= seconds * 10) ui::Terminate();
    });
    driver.Start();
    ui::Application::Get().Run();
    snibbet::ClearLanguageList();
    snibbet::ExchangeLanguageTable(previousTexts);
  }
  ui::Application::Destroy();
  snibbet::FinalizeSettingsStore();
  return 0;
}
