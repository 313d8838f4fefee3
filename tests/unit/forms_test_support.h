#pragma once
// Shared by the form tests: a fresh application object per test, English
// texts for the numbers the forms ask for, and (on request) a settings object
// with a chosen Language setting.
#include <windows.h>

#include <string>
#include <vector>

#include "core/app_ini.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "core/wait_form.h"
#include "tests/unit/ui_test_support.h"
#include "ui/exceptions.h"

namespace snibbet::test {

class FormsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    InitializeLanguages();
    Lang().SetText(67, L"Loading %1");
    Lang().SetText(68, L"Please wait...");
    Lang().SetText(101, L"OK");
    Lang().SetText(102, L"Cancel");
    Lang().SetText(467, L"Do not show this message again");
    App().SetExceptionHandler([this](const std::exception_ptr& e) { reported.push_back(ui::ExceptionMessage(e)); });
  }
  void TearDown() override {
    HideWaitMessage();
    UiTest::TearDown();
    FinalizeSettingsStore();  // also frees the settings object
    FinalizeLanguages();
  }

  // A settings object (never loaded, so nothing is saved) with this language.
  void UseLanguageSetting(int language) {
    InitializeSettingsStore();
    InitializePreset(AppIni());
    Preset().SetLanguage(language);
  }

  static LOGFONTW FontOf(HWND window) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
  }

  std::vector<std::wstring> reported;  // what reached the application's error handling
};

}  // namespace snibbet::test
