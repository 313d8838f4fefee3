// Shows the first-run wizard on one of its steps, for a look at it; it
// closes itself. Usage: wizard_look [step 0-2] [seconds] [language code]
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "core/app_ini.h"
#include "core/lang_list.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "dialogs/wizard_form.h"
#include "keyboard/actions.h"
#include "keyboard/template_hotkey.h"
#include "ui/application.h"
#include "ui/timer.h"

namespace {

// The wizard on its own: no tray, no templates, the flags of the program's strip.
class LookParts final : public snibbet::WizardPort {
 public:
  LookParts() : flags_(16, 16) { flags_.AddStrip(GetModuleHandleW(nullptr), L"IL_LANGS", RGB(255, 0, 255)); }
  void EnableSettingsMenuItems(bool) override {}
  void BindingsChanged() override {}
  const ui::ImageList* LanguageFlags() override { return &flags_; }
  snibbet::TemplateTable* Templates() override { return nullptr; }
  void OpenSettings() override {}
  void CheckNewVersion() override {}

 private:
  ui::ImageList flags_;
};

// Nothing reaches the system: the box shows start-with-Windows off.
class LookSystem final : public snibbet::SettingsFormSystem {
 public:
  void RunElevated(const std::wstring&, const std::wstring&) override {}
  snibbet::OptionsStates ReadOptionsStates() override { return {}; }
  bool Wait(DWORD) override { return true; }
  bool AskYesNo(const std::wstring&) override { return true; }
  snibbet::Answer AskSaveChangesOnClose() override { return snibbet::Answer::No; }
  void ShowError(const std::wstring&) override {}
  bool QueryShortcutKey(std::uint8_t&, snibbet::ControlSet&) override { return false; }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const int step = argc > 1 ? _wtoi(argv[1]) : 0;
  const int seconds = argc > 2 ? _wtoi(argv[2]) : 6;
  const std::wstring language = argc > 3 ? argv[3] : L"en";
  LocalFree(argv);
  snibbet::InitializeSettingsStore();
  snibbet::InitializePreset(snibbet::AppIni());
  ui::Application::Create({.title = L"Wizard look"});
  {
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
    // The demo page names the template hotkey.
    snibbet::BindTemplateHotkeyFromSetting(snibbet::QvActions(), snibbet::Preset().SCShowTemplates());
    LookParts port;
    LookSystem system;
    snibbet::OpenWindows openWindows;
    const snibbet::DialogParts parts{
        .preset = snibbet::Preset(), .bindings = snibbet::QvActions(), .openWindows = openWindows};
    snibbet::TWizardForm& form = snibbet::ShowWizard(port, parts, system);
    for (int i = 0; i < step; ++i) form.btnNext.Click();
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
