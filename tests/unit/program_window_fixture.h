#pragma once
// The settings window's and the wizard's tests: the English texts and the
// language list from the program folder, the settings loaded through the
// program's effects, an application object, and a fake of the system's side
// (questions, error boxes, the options program and the hotkey capture).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/app_ini.h"
#include "core/lang_list.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "dialogs/settings_form.h"
#include "keyboard/actions.h"
#include "tests/unit/setters_fixture.h"
#include "ui/application.h"
#include "ui/check_box.h"

namespace snibbet::test {

class FakeWindowSystem final : public SettingsFormSystem {
 public:
  void RunElevated(const std::wstring& file, const std::wstring& parameters) override {
    launches.push_back(file + L" " + parameters);
    if (launchError) throw std::system_error(static_cast<int>(launchError), std::system_category(), "RunElevated");
  }
  OptionsStates ReadOptionsStates() override { return states; }
  bool Wait(DWORD) override {
    ++waits;
    if (duringWait) duringWait(waits);
    return true;
  }
  bool AskYesNo(const std::wstring& text) override {
    questions.push_back(text);
    return yes;
  }
  Answer AskSaveChangesOnClose() override {
    ++closeQuestions;
    return closeAnswer;
  }
  void ShowError(const std::wstring& text) override { errors.push_back(text); }
  bool QueryShortcutKey(std::uint8_t& key, ControlSet& set) override {
    if (!capturedKey) return false;
    key = *capturedKey;
    set = capturedSet;
    return true;
  }

  OptionsStates states;
  DWORD launchError = 0;
  std::function<void(int)> duringWait;
  std::vector<std::wstring> launches, questions, errors;
  int waits = 0;
  bool yes = true;
  Answer closeAnswer = Answer::No;
  int closeQuestions = 0;
  std::optional<std::uint8_t> capturedKey;
  ControlSet capturedSet = 0;
};

class ProgramWindowTest : public SettersTest {
 protected:
  void SetUp() override {
    SettersTest::SetUp();
    MSG stale;
    while (PeekMessageW(&stale, nullptr, 0, 0, PM_REMOVE)) {
    }
    ui::Application::Create({.title = L"program window tests"});
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder = folder.substr(0, folder.find_last_of(L'\\') + 1) + L"..\\bin\\Lang\\";
    texts_.emplace(folder);
    texts_->Load(L"en");
    previousTexts_ = ExchangeLanguageTable(&*texts_);
    EnumerateLanguages(folder);
    effects.applyProcessPriority = [](bool) {};
    InitializePreset(AppIni());
    connection_.emplace(Preset(), effects.Ports());
    Preset().Load();
    parts_.emplace(DialogParts{.preset = Preset(), .bindings = QvActions(), .openWindows = openWindows_});
  }
  void TearDown() override {
    ui::Application::Destroy();
    parts_.reset();
    connection_.reset();
    FinalizePreset();
    ClearLanguageList();
    ExchangeLanguageTable(previousTexts_);
    QvActions().Clear();
    SettersTest::TearDown();
  }

  void Pump(int rounds = 5) {
    for (int i = 0; i < rounds; ++i) ui::Application::Get().ProcessMessages();
  }
  static void Click(ui::CheckBox& box) {
    box.SetChecked(!box.Checked());
    box.onClick();
  }

  FakeWindowSystem system_;
  OpenWindows openWindows_;
  std::optional<DialogParts> parts_;  // on the settings object made for each test
  std::optional<TQvLang> texts_;
  TQvLang* previousTexts_ = nullptr;
  std::optional<SettingEffectsConnection> connection_;
};

}  // namespace snibbet::test
