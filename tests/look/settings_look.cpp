// Shows the settings window on one of its pages, for a look at it; it
// closes itself. Usage: settings_look [node 0-4] [seconds] [language code]
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
#include "ui/image_list.h"
#include "ui/timer.h"

namespace {

// No program around the window; the flags of the program's strip.
class LookParts final : public snibbet::SettingsWindowPort {
 public:
  LookParts() : flags_(16, 16) { flags_.AddStrip(GetModuleHandleW(nullptr), L"IL_LANGS", RGB(255, 0, 255)); }
  void EnableSettingsMenuItems(bool) override {}
  void BindingsChanged() override {}
  const ui::ImageList* LanguageFlags() override { return &flags_; }
  const ui::ImageList* EventPictures() override { return nullptr; }
  snibbet::TemplateTable* Templates() override { return nullptr; }
  void OpenTemplateEditor() override {}
  bool WizardOpen() override { return false; }
  void BringWizardToFront() override {}
  bool OpenWizard() override { return false; }

 private:
  ui::ImageList flags_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const int node = argc > 1 ? _wtoi(argv[1]) : 0;
  const int seconds = argc > 2 ? _wtoi(argv[2]) : 6;
  const std::wstring language = argc > 3 ? argv[3] : L"en";
  LocalFree(argv);
  snibbet::InitializeSettingsStore();
  snibbet::InitializePreset(snibbet::AppIni());
  ui::Application::Create({.title = L"Settings look"});
  {
    // The texts of the program folder beside the test folder.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder = folder.substr(0, folder.find_last_of(L'\\') + 1) + L"..\\bin\\Lang\\";
    snibbet::TQvLang texts(folder);
    texts.Load(language);
    snibbet::TQvLang* const previousTexts = snibbet::ExchangeLanguageTable(&texts);
    snibbet::EnumerateLanguages(folder);
    for (const snibbet::LanguageRecord& record : snibbet::LanguageList())
      if (record.Code == language) snibbet::Preset().SetLanguage(record.LangId);
    LookParts port;
    snibbet::OpenWindows openWindows;
    const snibbet::DialogParts parts{
        .preset = snibbet::Preset(), .bindings = snibbet::QvActions(), .openWindows = openWindows};
    snibbet::ProgramSettingsFormSystem system(parts);
    snibbet::TMainForm& form = snibbet::OpenSettingsWindow(port, parts, system);
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
