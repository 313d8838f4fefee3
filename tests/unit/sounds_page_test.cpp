// The settings window's Sounds page on a test form of its own, with a host
// that says whether it is filling and counts the changes it is told of, over
// the real settings object with the sound playing noted instead of heard.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <optional>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/app_ini.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "core/preset_effects.h"
#include "core/preset_system.h"
#include "core/sounds.h"
#include "dialogs/sounds_page.h"
#include "tests/unit/qvlib_test_support.h"
#include "tests/unit/ui_test_support.h"
#include "ui/form.h"

namespace snibbet {
namespace {

namespace fs = std::filesystem;

class FakeHost : public SettingsPageHost {
 public:
  bool Loading() const override { return loading; }
  void OptionsChanged() override { ++changes; }
  bool loading = false;
  int changes = 0;
};

class NotedSounds : public SystemEffects {
 public:
  bool SoundStillPlaying() override { return false; }
  void PlaySoundFile(const std::wstring& file) override { played.push_back(file); }
  std::vector<std::wstring> played;
};

class SoundsPageForm : public ui::Form {
 public:
  explicit SoundsPageForm(FakeHost& host)
      : ui::Form({.className = L"TSoundsPageTestForm", .clientWidth = 445, .clientHeight = 300}), page(*this, host, Preset()) {}
  SoundsPage page;

 protected:
  void OnCreate() override { page.Layout(ClientRect()); }
  void ApplyLanguage() override { page.ApplyLanguage(); }
};

std::vector<HKL> UsLayout() { return {reinterpret_cast<HKL>(0x04090409)}; }

class SoundsPageTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    FinalizeSettingsStore();
    RegDeleteTreeW(HKEY_CURRENT_USER, TAppIni::kKeyPath);
    ReplaceKeyboardLayoutQuery(&UsLayout);
    InitializeSettingsStore();
    InitializePreset(AppIni());
    connection_.emplace(Preset(), SettingEffects{.system = &effects});
    texts_.SetText(6, L"(none)");
    texts_.SetText(570, L"Character");
    texts_.SetText(581, L"Erase");
    texts_.SetText(571, L"Other key");
    texts_.SetText(572, L"%1 action");
    texts_.SetText(578, L"Sound of %1");
    texts_.SetText(579, L"Wave sounds");
    previousTexts_ = ExchangeLanguageTable(&texts_);
    fs::create_directories(GetSoundFolder());
    for (const wchar_t* name : {L"PageChime.wav", L"TypePageClick.wav"}) {
      files_.push_back(GetSoundFolder() + name);
      std::ofstream(fs::path(files_.back()), std::ios::binary) << "RIFF";
    }
  }
  void TearDown() override {
    form_.reset();
    for (const std::wstring& file : files_) fs::remove(file);
    ExchangeLanguageTable(previousTexts_);
    connection_.reset();
    FinalizePreset();
    FinalizeSettingsStore();
    ReplaceKeyboardLayoutQuery(nullptr);
    RegDeleteTreeW(HKEY_CURRENT_USER, TAppIni::kKeyPath);
    UiTest::TearDown();
  }

  SoundsPage& Open() {
    form_ = std::make_unique<SoundsPageForm>(host);
    form_->Create();
    host.loading = true;
    form_->page.Fill();
    host.loading = false;
    form_->Show();
    return form_->page;
  }

  // As the user does it: the control tells its form.
  void Notify(ui::Control& control, WORD code) {
    SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(control.Id(), code), reinterpret_cast<LPARAM>(control.Handle()));
  }
  void Click(ui::Control& control) { control.Send(BM_CLICK); }
  void Choose(SoundsPage& page, int item) {
    page.cbSound.SetItemIndex(item);
    Notify(page.cbSound, CBN_SELCHANGE);
  }
  void Type(SoundsPage& page, const std::wstring& text) {
    page.cbSound.SetText(text);
    Notify(page.cbSound, CBN_EDITCHANGE);
  }
  static int FindItem(const SoundsPage& page, const std::wstring& text) {
    for (int i = 0; i < page.cbSound.Count(); ++i) {
      if (page.cbSound.ItemText(i) == text) return i;
    }
    return -1;
  }
  static ui::TreeView::Node Node(const SoundsPage& page, int index) {
    ui::TreeView::Node node = page.tvSounds.FirstNode();
    while (index-- > 0) node = page.tvSounds.NextSibling(node);
    return node;
  }

  FakeHost host;
  NotedSounds effects;

 private:
  std::optional<SettingEffectsConnection> connection_;
  TQvLang texts_{L""};
  TQvLang* previousTexts_ = nullptr;
  std::vector<std::wstring> files_;
  std::unique_ptr<SoundsPageForm> form_;
};

TEST(SoundListNames, TypingSoundsComeFirstAndNamesLoseTheirExtension) {
  EXPECT_EQ(SoundListNames({L"Bell.wav", L"Type1.wav", L"typeLow.wav", L"TypeZ.WAV", L"x.wav"}),
            (std::vector<std::wstring>{L"Type1", L"TypeZ", L"Bell", L"typeLow", L"x"}));
}

TEST_F(SoundsPageTest, ShowsTheFourEventsAndTheSoundFolderWithTypingSoundsFirst) {
  Preset().SetSound(kSoundEraseTyped, L"PageChime");
  SoundsPage& page = Open();

  ASSERT_EQ(page.tvSounds.Count(), 4);
  const std::vector<std::pair<int, std::wstring>> events = {
      {kSoundCharTyped, L"Character"}, {kSoundEraseTyped, L"Erase"}, {kSoundOtherTyped, L"Other key"},
      {kSoundActionStarts, L"Orvane Paste action"}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(page.tvSounds.NodeData(Node(page, i)), events[i].first);
    EXPECT_EQ(page.tvSounds.NodeText(Node(page, i)), events[i].second);
    const int picture = i == 1 ? SoundsPage::kHasSoundPicture : -1;
    EXPECT_EQ(page.tvSounds.NodeImage(Node(page, i)), picture) << i;
    EXPECT_EQ(page.tvSounds.NodeSelectedImage(Node(page, i)), picture) << i;
  }
  EXPECT_EQ(page.tvSounds.Selected(), Node(page, 0));
  EXPECT_EQ(page.cbSound.Text(), L"(none)");
  EXPECT_FALSE(page.btnPlaySound.IsEnabled());

  // The no-sound item, then every "Type" sound before every other one.
  ASSERT_GE(page.cbSound.Count(), 3);
  EXPECT_EQ(page.cbSound.ItemText(0), L"(none)");
  EXPECT_GE(FindItem(page, L"TypePageClick"), 1);
  EXPECT_GT(FindItem(page, L"PageChime"), 1);
  bool otherSeen = false;
  for (int i = 1; i < page.cbSound.Count(); ++i) {
    const bool typing = page.cbSound.ItemText(i).rfind(L"Type", 0) == 0;
    EXPECT_FALSE(typing && otherSeen) << "a typing sound after another: " << i;
    otherSeen = otherSeen || !typing;
  }

  page.tvSounds.Select(Node(page, 1));
  EXPECT_EQ(page.cbSound.Text(), L"PageChime");
  EXPECT_TRUE(page.btnPlaySound.IsEnabled());
}

TEST_F(SoundsPageTest, ChangesWhileTheHostFillsDoNothing) {
  SoundsPage& page = Open();
  host.loading = true;
  Click(page.chkSoundEnabled);
  Choose(page, FindItem(page, L"PageChime"));
  Type(page, L"TypePageClick");
  EXPECT_FALSE(Preset().SoundEnabled());
  EXPECT_EQ(Preset().GetSound(kSoundCharTyped), L"");
  EXPECT_EQ(page.tvSounds.NodeImage(Node(page, 0)), -1);
  EXPECT_TRUE(effects.played.empty());
  EXPECT_EQ(host.changes, 0);

  // A fill takes the settings as they are now, the event's field and picture too.
  Preset().SetSoundEnabled(true);
  Preset().SetSound(kSoundCharTyped, L"TypePageClick");
  page.Fill();
  EXPECT_TRUE(page.chkSoundEnabled.Checked());
  EXPECT_EQ(page.cbSound.Text(), L"TypePageClick");
  EXPECT_EQ(page.tvSounds.NodeImage(Node(page, 0)), SoundsPage::kHasSoundPicture);
  EXPECT_TRUE(page.btnPlaySound.IsEnabled());
  EXPECT_EQ(host.changes, 0);
  EXPECT_TRUE(effects.played.empty());
}

TEST_F(SoundsPageTest, UserChangesGoToTheSettingsAtOnceAndTellTheHost) {
  SoundsPage& page = Open();
  page.tvSounds.Select(Node(page, 3));  // the action's sound

  // Chosen from the list: stored, pictured, played although sounds are off.
  Choose(page, FindItem(page, L"PageChime"));
  EXPECT_EQ(Preset().GetSound(kSoundActionStarts), L"PageChime");
  EXPECT_EQ(Preset().GetSoundFile(kSoundActionStarts), GetSoundFolder() + L"PageChime.wav");
  EXPECT_EQ(page.tvSounds.NodeImage(Node(page, 3)), SoundsPage::kHasSoundPicture);
  EXPECT_EQ(page.tvSounds.NodeSelectedImage(Node(page, 3)), SoundsPage::kHasSoundPicture);
  EXPECT_TRUE(page.btnPlaySound.IsEnabled());
  EXPECT_EQ(effects.played, (std::vector<std::wstring>{GetSoundFolder() + L"PageChime.wav"}));
  EXPECT_EQ(host.changes, 1);

  // Typed: each keystroke's text is stored; it plays once it names a file.
  Type(page, L"TypeP");
  EXPECT_EQ(Preset().GetSound(kSoundActionStarts), L"TypeP");
  EXPECT_EQ(Preset().GetSoundFile(kSoundActionStarts), L"");
  EXPECT_EQ(page.tvSounds.NodeImage(Node(page, 3)), SoundsPage::kHasSoundPicture);
  EXPECT_FALSE(page.btnPlaySound.IsEnabled());
  EXPECT_EQ(effects.played.size(), 1u);
  Type(page, L"TypePageClick");
  EXPECT_EQ(Preset().GetSoundFile(kSoundActionStarts), GetSoundFolder() + L"TypePageClick.wav");
  EXPECT_EQ(effects.played.size(), 2u);
  EXPECT_EQ(host.changes, 3);

  Click(page.btnPlaySound);
  EXPECT_EQ(effects.played.size(), 3u);

  // The no-sound item, or an emptied field, clears the slot.
  Choose(page, 0);
  EXPECT_EQ(Preset().GetSound(kSoundActionStarts), L"");
  EXPECT_EQ(page.tvSounds.NodeImage(Node(page, 3)), -1);
  EXPECT_FALSE(page.btnPlaySound.IsEnabled());
  page.tvSounds.Select(Node(page, 2));
  Type(page, L"Gone");
  Type(page, L"");
  EXPECT_EQ(Preset().GetSound(kSoundOtherTyped), L"");
  EXPECT_EQ(page.tvSounds.NodeImage(Node(page, 2)), -1);
  EXPECT_EQ(host.changes, 6);
  EXPECT_EQ(effects.played.size(), 3u);

  // The switch only switches: the events stay open to choose and try while sounds are off.
  Click(page.chkSoundEnabled);
  EXPECT_TRUE(Preset().SoundEnabled());
  EXPECT_EQ(host.changes, 7);
  Click(page.chkSoundEnabled);
  EXPECT_FALSE(Preset().SoundEnabled());
  EXPECT_EQ(host.changes, 8);
  for (ui::Control* control : {static_cast<ui::Control*>(&page.tvSounds), static_cast<ui::Control*>(&page.cbSound),
                               static_cast<ui::Control*>(&page.btnSoundFile)}) {
    EXPECT_TRUE(control->IsEnabled());
  }
}

TEST_F(SoundsPageTest, AFileFromTheSoundFolderIsStoredByNameAnyOtherByPath) {
  SoundsPage& page = Open();
  page.tvSounds.Select(Node(page, 1));

  ui::FileDialogOptions options = page.SoundFileDialogOptions();
  EXPECT_EQ(options.initialFolder, GetSoundFolder());
  EXPECT_EQ(options.title, L"Sound of Erase");
  EXPECT_EQ(options.filter, L"Wave sounds|*.wav");

  std::wstring folderOtherCase = GetSoundFolder();
  CharLowerBuffW(folderOtherCase.data(), static_cast<DWORD>(folderOtherCase.size()));
  page.TakeChosenSoundFile(folderOtherCase + L"PageChime.wav");
  EXPECT_EQ(Preset().GetSound(kSoundEraseTyped), L"PageChime");
  EXPECT_EQ(page.cbSound.Text(), L"PageChime");
  EXPECT_EQ(effects.played.size(), 1u);
  EXPECT_EQ(host.changes, 1);

  const std::wstring elsewhere = L"C:\\Sounds.old\\bell.wav";
  page.TakeChosenSoundFile(elsewhere);
  EXPECT_EQ(Preset().GetSound(kSoundEraseTyped), elsewhere);
  EXPECT_EQ(page.cbSound.Text(), elsewhere);
  EXPECT_EQ(page.tvSounds.NodeImage(Node(page, 1)), SoundsPage::kHasSoundPicture);
  EXPECT_FALSE(page.btnPlaySound.IsEnabled());  // no such file

  // The dialog opens where the entry's file lies, and stays there for an event without a path.
  EXPECT_EQ(page.SoundFileDialogOptions().initialFolder, L"C:\\Sounds.old\\");
  page.tvSounds.Select(Node(page, 0));
  EXPECT_EQ(page.SoundFileDialogOptions().initialFolder, L"C:\\Sounds.old\\");
}

TEST_F(SoundsPageTest, ALanguageChangeRebuildsTheEventsWithTheFirstChosen) {
  SoundsPage& page = Open();
  page.tvSounds.Select(Node(page, 2));
  Lang().SetText(570, L"Zeichen");
  page.ApplyLanguage();
  ASSERT_EQ(page.tvSounds.Count(), 4);
  EXPECT_EQ(page.tvSounds.Selected(), Node(page, 0));
  EXPECT_EQ(page.tvSounds.NodeText(Node(page, 0)), L"Zeichen");
  EXPECT_EQ(page.cbSound.Text(), L"(none)");
  EXPECT_EQ(host.changes, 0);
}

// ---- the sounds the build puts into the program folder ----

std::uint32_t Le32(const std::string& b, size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
         static_cast<std::uint8_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}
std::uint16_t Le16(const std::string& b, size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8);
}

TEST(ShippedSounds, TheBuildWritesAShortAudiblePcmWavePerEvent) {
  const std::wstring folder = test::ProgramDirFromEnvironment() + L"Sound\\";
  ASSERT_NE(folder, L"Sound\\") << "SNIBBET_PROGRAM_DIR is not set";
  for (const wchar_t* name : {L"TypeCharacter", L"TypeErase", L"TypeOther", L"Action"}) {
    SCOPED_TRACE(testing::Message() << std::string(name, name + wcslen(name)));
    std::ifstream in(fs::path(folder + name + L".wav"), std::ios::binary);
    ASSERT_TRUE(in);
    const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(b.substr(0, 4), "RIFF");
    EXPECT_EQ(Le32(b, 4), b.size() - 8);
    EXPECT_EQ(b.substr(8, 4), "WAVE");
    ASSERT_EQ(b.substr(12, 4), "fmt ");
    EXPECT_EQ(Le16(b, 20), 1) << "PCM";
    const std::uint16_t channels = Le16(b, 22), bits = Le16(b, 34);
    const std::uint32_t rate = Le32(b, 24);
    EXPECT_EQ(bits, 16);
    EXPECT_EQ(Le32(b, 28), rate * channels * bits / 8) << "bytes per second";
    const size_t data = 20 + Le32(b, 16);
    ASSERT_EQ(b.substr(data, 4), "data");
    const std::uint32_t size = Le32(b, data + 4);
    ASSERT_EQ(data + 8 + size, b.size());
    const double seconds = static_cast<double>(size) / (rate * channels * 2);
    EXPECT_GT(seconds, 0.01);
    EXPECT_LT(seconds, 1.0) << "an event sound must not hold up the next one";
    int peak = 0;
    for (size_t at = data + 8; at + 1 < b.size(); at += 2) peak = std::max(peak, std::abs(static_cast<std::int16_t>(Le16(b, at))));
    EXPECT_GT(peak, 8000) << "silent";
  }
}

}  // namespace
}  // namespace snibbet
