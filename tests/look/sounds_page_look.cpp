// Shows the settings window's Sounds page on a form of its own, with the
// English texts, the sounds the build ships and the program's pictures, for a
// look at it; it closes itself.  Usage: sounds_page_look [seconds]
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "core/app_ini.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "core/sounds.h"
#include "dialogs/sounds_page.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/image_list.h"
#include "ui/timer.h"

namespace {

namespace fs = std::filesystem;

class LookHost : public snibbet::SettingsPageHost {
 public:
  bool Loading() const override { return loading; }
  void OptionsChanged() override {}
  bool loading = false;
};

class SoundsLookForm : public ui::Form {
 public:
  SoundsLookForm(LookHost& host, const ui::ImageList& pictures)
      : ui::Form({.className = L"TSoundsLookForm",
                  .caption = L"Sounds page",
                  .border = ui::BorderStyle::Dialog,
                  .position = ui::PositionRule::DesktopCenter,
                  .clientWidth = 445,
                  .clientHeight = 300,
                  .fontFace = L"Tahoma",
                  .fontPointSize = 8}),
        page(*this, host, snibbet::Preset(), &pictures) {}
  snibbet::SoundsPage page;

 protected:
  void OnCreate() override { page.Layout(ClientRect()); }
  void ApplyLanguage() override { page.ApplyLanguage(); }
};

std::wstring Folder(const std::wstring& file) { return file.substr(0, file.find_last_of(L'\\') + 1); }

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const int seconds = argc > 1 ? _wtoi(argv[1]) : 6;
  LocalFree(argv);
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring programFolder = Folder(self) + L"..\\bin\\";

  ui::Application::Create({.title = L"Sounds page look"});
  snibbet::InitializeSettingsStore();
  snibbet::InitializePreset(snibbet::AppIni());
  {
    snibbet::TQvLang texts(programFolder + L"Lang\\");
    texts.Load(L"en");
    snibbet::TQvLang* const previousTexts = snibbet::ExchangeLanguageTable(&texts);
    // The shipped sounds where this program's settings look for them.
    std::vector<fs::path> copied;
    std::error_code ignored;
    fs::create_directories(snibbet::GetSoundFolder(), ignored);
    for (const auto& entry : fs::directory_iterator(programFolder + L"Sound\\", ignored)) {
      const fs::path target = fs::path(snibbet::GetSoundFolder()) / entry.path().filename();
      if (fs::copy_file(entry.path(), target, fs::copy_options::skip_existing, ignored)) copied.push_back(target);
    }
    snibbet::TPreset& preset = snibbet::Preset();
    preset.SetSoundEnabled(true);
    preset.SetSound(snibbet::kSoundEraseTyped, L"TypeErase");
    preset.SetSound(snibbet::kSoundActionStarts, L"Action");

    ui::ImageList pictures(16, 16);
    pictures.AddStrip(instance, L"IL_MAIN", CLR_NONE);
    LookHost host;
    SoundsLookForm form(host, pictures);
    form.Create();
    host.loading = true;
    form.page.Fill();
    host.loading = false;
    form.page.tvSounds.Select(form.page.tvSounds.NextSibling(form.page.tvSounds.FirstNode()));
    form.Show();
    ui::Timer closer(seconds * 1000, [] { PostQuitMessage(0); });
    closer.Start();
    ui::Application::Get().Run();
    for (const fs::path& file : copied) fs::remove(file, ignored);
    snibbet::ExchangeLanguageTable(previousTexts);
  }
  snibbet::FinalizePreset();
  snibbet::FinalizeSettingsStore();
  ui::Application::Destroy();
  return 0;
}
