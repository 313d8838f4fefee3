// Setters whose change reaches the language, the sounds, the key names and
// the program's parts through the setting effects.
#include <filesystem>
#include <fstream>

#include "core/lang_apply.h"
#include "core/lang_list.h"
#include "core/lang_table.h"
#include "core/sounds.h"
#include "keyboard/key_model.h"
#include "tests/host/keymodel_fakes.h"
#include "tests/unit/setters_fixture.h"

namespace snibbet::test {
namespace {

namespace fs = std::filesystem;

// ---- language ----

class LanguageSetter : public SettersTest {
 protected:
  void SetUp() override {
    SettersTest::SetUp();
    fs::create_directories(GetLanguageFolder());
    Write(L"setters-de.txt", "000009=Fehler\r\n100000=Deutsch (test)\r\n100001=7\r\n");
    Write(L"setters-fr.txt", "000009=Erreur\r\n100000=Francais (test)\r\n100001=12\r\n");
    FinalizeLanguages();
    InitializeLanguages();
    ASSERT_TRUE(EnumerateLanguages());
    effects.dataModuleTexts = [this] { ++applied; };
    effects.pickHelpFile = [this](int language) { helpFor.push_back(language); };
  }
  void TearDown() override {
    FinalizeLanguages();
    for (const auto& file : written) fs::remove(file);
    SettersTest::TearDown();
  }
  void Write(const std::wstring& name, const std::string& text) {
    written.push_back(GetLanguageFolder() + name);
    std::ofstream(fs::path(written.back()), std::ios::binary) << text;
  }
  std::vector<std::wstring> written;
  int applied = 0;
  std::vector<int> helpFor;
};

TEST_F(LanguageSetter, TheRecordOfTheNumberIsLoadedAndAppliedEverywhere) {
  TPreset preset(AppIni(), effects.Ports());
  preset.SetLanguage(12);
  EXPECT_EQ(Lang().Code(), L"setters-fr");
  EXPECT_EQ(LangText(9), L"Erreur");
  EXPECT_EQ(applied, 1);
  preset.SetLanguage(99);  // no such language: English
  EXPECT_EQ(Lang().Code(), L"en");
  EXPECT_EQ(applied, 2);
  EXPECT_EQ(helpFor, (std::vector<int>{12, 99}));
  EXPECT_EQ(preset.Language(), 99);
}

TEST_F(LanguageSetter, TheStoredLanguageIsLoadedWithTheSettings) {
  PutDword(L"Language", 7);
  RunOnce([](TPreset&) { EXPECT_EQ(LangText(9), L"Fehler"); });
}

TEST_F(SettersTest, LanguageBeforeTheTableExistsIsOnlyStored) {
  FinalizeLanguages();
  TPreset preset(AppIni(), effects.Ports());
  preset.SetLanguage(7);  // nothing to switch yet, and no crash
  EXPECT_EQ(preset.Language(), 7);
}

// ---- sounds ----

class SoundSetter : public SettersTest {
 protected:
  void SetUp() override {
    SettersTest::SetUp();
    fs::create_directories(GetSoundFolder());
    file = GetSoundFolder() + L"setters-click.wav";
    std::ofstream(fs::path(file), std::ios::binary) << "RIFF";
    effects.playSoundFile = [this](const std::wstring& f) { played.push_back(f); };
    effects.soundStillPlaying = [this] { return playing; };
  }
  void TearDown() override {
    fs::remove(file);
    SettersTest::TearDown();
  }
  std::wstring file;
  std::vector<std::wstring> played;
  bool playing = false;
};

TEST_F(SoundSetter, EntriesResolveInTheSoundFolderAndAreSavedAsTyped) {
  PutString(L"Sound3", L"setters-click");
  PutString(L"Sound4", L"setters-missing");
  RunOnce([this](TPreset& preset) {
    EXPECT_EQ(preset.GetSound(3), L"setters-click");
    EXPECT_EQ(preset.GetSoundFile(3), file);
    EXPECT_EQ(preset.GetSound(4), L"setters-missing");
    EXPECT_EQ(preset.GetSoundFile(4), L"");
    EXPECT_EQ(preset.GetSoundFile(9), L"");
    EXPECT_EQ(preset.GetSound(-1), L"");
  });
  EXPECT_EQ(GetString(L"Sound3"), L"setters-click");
}

TEST_F(SoundSetter, PlaysWhenOnOrForcedUnlessASoundStillPlays) {
  TPreset preset(AppIni(), effects.Ports());
  preset.SetSound(kSoundCharTyped, file);
  preset.PlaySound(kSoundCharTyped, false);  // sounds are off
  EXPECT_TRUE(played.empty());
  preset.PlaySound(kSoundCharTyped, true);   // the settings window's play button
  EXPECT_EQ(played, (std::vector<std::wstring>{file}));
  preset.SetSoundEnabled(true);
  preset.PlaySound(kSoundEraseTyped, false);  // no file in that slot
  playing = true;
  preset.PlaySound(kSoundCharTyped, false);  // the first sound finishes
  playing = false;
  preset.PlaySound(kSoundCharTyped, false);
  preset.PlaySound(42, true);
  EXPECT_EQ(played.size(), 2u);
}

TEST_F(SoundSetter, TheSystemSaysNothingPlaysWhenNothingWasStarted) {
  EXPECT_FALSE(SoundStillPlaying());
  PlaySoundFileAsync(GetSoundFolder() + L"setters-none.wav");  // a missing file plays nothing, not even a beep
}

// ---- key names of the chosen layout ----

TEST_F(SettersTest, KeyNamesAreBuiltAtEveryLoad) {
  RunOnce([](TPreset& preset) {
    EXPECT_EQ(preset.KeyboardLang(), Layout(0x04090409));
    EXPECT_EQ(preset.KeyNames()[65], L"A");
    EXPECT_EQ(preset.KeyNames()[32], L"Space");
    EXPECT_EQ(preset.KeyNames()[91], L"Win");
    EXPECT_EQ(preset.KeyNames()[20], L"Caps");
  });
}

TEST_F(SettersTest, KeyNamesFollowTheStoredLayoutAndItsLanguage) {
  static testing::FakeLayouts layouts;
  effects.keyboardLayouts = &layouts;
  ReplaceKeyboardLayoutQuery([] { return std::vector<HKL>{Layout(testing::kUs), Layout(testing::kSwapped)}; });
  PutDword(L"KeyboardLang", static_cast<DWORD>(testing::kSwapped));
  RunOnce([](TPreset& preset) {
    EXPECT_EQ(preset.KeyboardLang(), Layout(testing::kSwapped));
    EXPECT_EQ(preset.KeyNames()[81], L"A");  // the key typing "a" sits where US English has Q
    EXPECT_EQ(preset.KeyNames()[27], L"Echap");
    preset.SetKeyboardLang(Layout(0x04070407));  // not installed: the first one, with German names
    EXPECT_EQ(preset.KeyboardLang(), Layout(testing::kUs));
    EXPECT_EQ(preset.KeyNames()[81], L"Q");
    EXPECT_EQ(preset.KeyNames()[162], L"Strg");
    EXPECT_EQ(preset.KeyNames()[27], L"Esc");
  });
}

// ---- the program's parts ----

class WindowEffects : public SettersTest {
 protected:
  void SetUp() override {
    SettersTest::SetUp();
    RecordedEffects& e = effects;
    e.dataModuleActive = [this] { return moduleActive; };
    e.applyAppearance = [this] { Note("appearance"); };
    e.repaintKeyboardBackground = [this] { Note("background"); };
    e.setKeyboardCaptionButtonImage = [this](int image) { Note("caption image " + std::to_string(image)); };
    e.showAutoHideInOpenDialogs = [this](bool on) { Note(on ? "dialogs on" : "dialogs off"); };
    e.showKeyboardWindowAndKeep = [this] { Note("keyboard shown"); };
    e.startKeyboardHideDelay = [this] { Note("keyboard hides"); };
    e.refreshBindings = [this] { Note("bindings"); };
    e.loadKeyboardLayout = [this](const std::wstring& name) {
      Note("layout " + std::string(name.begin(), name.end()));
    };
    model.ApplyLayout(testing::BuiltInLayout(), L"Standard");
    model.SetView(&view);
    model.SetPainting(true);
    effects.UseKeyModel(&model);
    view.redraws = 0;
  }
  void TearDown() override {
    effects.UseKeyModel(nullptr);
    SettersTest::TearDown();
  }
  void Note(std::string what) { notes.push_back(std::move(what)); }

  testing::FakeLayouts layouts;
  testing::FakeInput input;
  CharTableCache tables;
  TQvKeyboard model{layouts, input, &tables};
  testing::CountingView view;
  bool moduleActive = false;
  std::vector<std::string> notes;
};

TEST_F(WindowEffects, DrawingOptionsRedrawTheViewOnlyWhenTheyChange) {
  TPreset preset(AppIni(), effects.Ports());
  preset.SetShowIconApp(false);  // the default
  preset.SetShowHotkeySquare(false);
  EXPECT_EQ(view.redraws, 0);
  preset.SetShowIconApp(true);
  preset.SetShowKeyboardZone(true);
  preset.SetShowCharCtrl(true);
  EXPECT_EQ(view.redraws, 3);
  preset.SetKeyboardCenterInfo(false);  // redraws whatever the value
  EXPECT_EQ(view.redraws, 4);
}

TEST_F(WindowEffects, AppearanceReachesTheDataModuleTheViewAndTheBackgroundInOrder) {
  TPreset preset(AppIni(), effects.Ports());
  preset.SetThemeFontSize(8);  // unchanged
  EXPECT_TRUE(notes.empty());
  preset.SetThemeFontSize(11);
  EXPECT_EQ(notes, (std::vector<std::string>{"appearance", "background"}));
  EXPECT_EQ(view.redraws, 1);
}

TEST_F(WindowEffects, AutoHideShowsOrHidesTheKeyboardWindowOnlyWhileTheModuleRuns) {
  TPreset preset(AppIni(), effects.Ports());
  preset.SetKeyboardAutoHide(false);
  EXPECT_EQ(notes, (std::vector<std::string>{"caption image 1", "dialogs off"}));
  moduleActive = true;
  notes.clear();
  preset.SetKeyboardAutoHide(false);
  preset.SetKeyboardAutoHide(true);
  EXPECT_EQ(notes, (std::vector<std::string>{"caption image 1", "dialogs off", "keyboard shown", "caption image 2",
                                             "dialogs on", "keyboard hides"}));
}

TEST_F(WindowEffects, TheSettingsLoadReachesTheWindowsThatExist) {
  PutString(L"KeyboardName", L"Compact");
  RunOnce([this](TPreset&) {
    EXPECT_NE(std::find(notes.begin(), notes.end(), "layout Compact"), notes.end());
    EXPECT_NE(std::find(notes.begin(), notes.end(), "bindings"), notes.end());
  });
}

class HeldFile : public HeldPicture {
 public:
  explicit HeldFile(std::wstring name) : name(std::move(name)) {}
  std::wstring name;
};

TEST_F(WindowEffects, BackgroundPictureThatFailsToLoadKeepsThePreviousOne) {
  effects.fileExists = [](const std::wstring& file) { return file != L"gone.png"; };
  effects.loadBackgroundPicture = [](const std::wstring& file) -> std::unique_ptr<HeldPicture> {
    if (file == L"broken.png") return nullptr;
    return std::make_unique<HeldFile>(file);
  };
  TPreset preset(AppIni(), effects.Ports());
  preset.SetBackgroundPicture(L"wood.png");
  ASSERT_NE(preset.BackgroundImage().picture, nullptr);
  preset.SetBackgroundPicture(L"broken.png");
  EXPECT_EQ(static_cast<HeldFile*>(preset.BackgroundImage().picture.get())->name, L"wood.png");
  EXPECT_EQ(preset.BackgroundPicture(), L"broken.png");
  preset.SetBackgroundPicture(L"gone.png");
  EXPECT_EQ(preset.BackgroundImage().picture, nullptr);
  preset.SetBackgroundPicture(L"wood.png");
  preset.SetBackgroundPicture(L"");
  EXPECT_EQ(preset.BackgroundImage().picture, nullptr);
  EXPECT_EQ(std::count(notes.begin(), notes.end(), "appearance"), 5);
}

}  // namespace
}  // namespace snibbet::test
