// However the user lets the hotkey go, nothing stays down: with the real
// Snibbet.exe and SnibbetCm.exe, " zq" and left Win+Space paste the only "zq"
// template at once, by injected keys (remote-control tools, on-screen
// keyboards) and by physical ones (xdotool), with Win let go at different
// moments around the paste. After every round the target holds the right
// text and the system shows no key held. Keys typed while the program types
// or while the pop-up is busy are delivered after it, none lost.
//
// SNIBBET_HOTKEY_ROUNDS sets the rounds of each case; SNIBBET_HOTKEY_RANDOM_MS,
// when set, lets Win go at a random delay up to that many milliseconds;
// SNIBBET_HOTKEY_NOTEPAD=1 types into Wine's notepad instead.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "helper/helper_protocol.h"
#include "templates/zqt_codec.h"
#include "testing/probe/probe.h"
#include "tests/e2e/app_e2e_support.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;

int EnvNumber(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::atoi(value) : fallback;
}

// Keys a stuck hotkey or paste would leave down.
constexpr int kWatchedKeys[] = {VK_LWIN, VK_RWIN, VK_SPACE, VK_SHIFT, VK_CONTROL, VK_MENU,
                                VK_BACK, VK_ESCAPE, 'Z',     'Q',      'V'};

std::string KeysHeld() {
  std::string held;
  for (int vk : kWatchedKeys)
    if (GetAsyncKeyState(vk) & 0x8000) held += std::to_string(vk) + " ";
  return held;
}

class HotkeyReleaseTest : public SnibbetTest {
 protected:
  void SetUp() override {
    SnibbetTest::SetUp();
    if (!probe::XdotoolAvailable()) GTEST_SKIP() << "needs Wine and xdotool";
    for (DWORD pid : probe::ProcessesNamed(L"SnibbetCm.exe")) probe::Process::Attach(pid).Kill();
    snibbet::TemplateRecord only;
    only.Name = "zq";
    only.Template = "ok";
    std::vector<snibbet::TemplateRecord> templates{only};
    // Only all six letters tell these apart.
    for (const char* name : {"typeah", "typeax", "another"}) {
      snibbet::TemplateRecord record;
      record.Name = name;
      record.Template = "no";
      templates.push_back(record);
    }
    const std::wstring file = folder_.File(L"release.zqt");
    std::ofstream(std::filesystem::path(file), std::ios::binary) << snibbet::WriteZqt(templates);
    probe::WriteRegString(kSettingsKey, L"TemplatesFileName", file);

    snibbet_ = &StartSnibbet({L"/debug"});
    main_ = WaitForMainWindow(snibbet_->Pid());
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(probe::WaitUntil([&] { return Logged("Keyboard hook installed") > 0; }, 10s));
    HWND target = nullptr;
    if (EnvNumber("SNIBBET_HOTKEY_NOTEPAD", 0)) {
      Start(L"C:\\windows\\notepad.exe", std::vector<std::wstring>{}, probe::AtEnd::MayRun);
      target = probe::WaitForWindow({.className = L"Notepad", .visibleOnly = true}, 10s);
      ASSERT_NE(target, nullptr);
      edit_ = FindWindowExW(target, nullptr, L"Edit", nullptr);
    } else {
      const std::wstring title = L"Release target " + std::to_wstring(GetCurrentProcessId());
      Start(TestDir() + L"ProbeTarget.exe", {L"edit", title}, probe::AtEnd::MustRun);
      target = probe::WaitForWindow({.className = L"ProbeTargetWindow", .title = title, .visibleOnly = true}, 10s);
      ASSERT_NE(target, nullptr);
      edit_ = GetWindow(target, GW_CHILD);
    }
    ASSERT_NE(edit_, nullptr);
    probe::PhysicalFocus(edit_);
  }

  // Read while the program may be writing it.
  std::string Log() {
    HANDLE file = CreateFileW(folder_.File(L"Log.txt").c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    CloseHandle(file);
    return text;
  }
  size_t Logged(const std::string& event) {
    const std::string log = Log();
    size_t count = 0;
    for (size_t at = log.find(event); at != std::string::npos; at = log.find(event, at + 1)) ++count;
    return count;
  }

  // One round's end: the text is there, the clipboard is back, nothing is held.
  void ExpectRoundEnd(const std::wstring& expected, const std::string& round) {
    // The first paste into a window waits longer for it to be idle.
    EXPECT_TRUE(probe::WaitUntil([&] { return probe::WindowText(edit_) == expected; }, 5s))
        << round << ": " << probe::ToUtf8(probe::WindowText(edit_)) << "\nthe program's log:\n" << Log();
    // The user's clipboard comes back 300 ms after the target's read; the next paste waits for nothing else.
    probe::PumpMessages(400ms);
    EXPECT_TRUE(probe::WaitUntil([] { return KeysHeld().empty(); }, 1s)) << round << ": held " << KeysHeld();
  }

  int Delay(int usual) {
    const int randomMax = EnvNumber("SNIBBET_HOTKEY_RANDOM_MS", -1);
    if (randomMax < 0) return usual;
    return std::uniform_int_distribution<int>(0, randomMax)(random_);
  }

  std::mt19937 random_{20261209};
  probe::Process* snibbet_ = nullptr;
  HWND main_ = nullptr;
  HWND edit_ = nullptr;
};

TEST_F(HotkeyReleaseTest, InjectedHotkeyLeavesNothingHeldWheneverWinGoesUp) {
  const int rounds = EnvNumber("SNIBBET_HOTKEY_ROUNDS", 20);
  std::wstring expected;
  for (const int usualDelay : {0, 100}) {
    for (int round = 0; round < rounds; ++round) {
      const int delay = Delay(usualDelay);
      const std::string name = "Win up " + std::to_string(delay) + " ms after Space, round " + std::to_string(round);
      for (WORD vk : {WORD{VK_SPACE}, WORD{'Z'}, WORD{'Q'}}) probe::SendKeyTap(vk);
      probe::SendKeyDown(VK_LWIN);
      probe::SendKeyDown(VK_SPACE);
      probe::SendKeyUp(VK_SPACE);
      if (delay > 0) probe::PumpMessages(std::chrono::milliseconds(delay));
      probe::SendKeyUp(VK_LWIN);
      expected += L" ok";
      ExpectRoundEnd(expected, name);
      if (HasFailure()) break;
    }
    if (HasFailure()) break;
  }
  CloseNormally(*snibbet_, main_);
}

TEST_F(HotkeyReleaseTest, PhysicalHotkeyLeavesNothingHeldWithWinLetGoRightAfterSpace) {
  const int rounds = EnvNumber("SNIBBET_HOTKEY_ROUNDS", 30);
  std::wstring expected;
  for (int round = 0; round < rounds; ++round) {
    const int delay = Delay(12);
    probe::PhysicalType(" zq");
    // One xdotool run, so the delay between Space and Win's release is as given.
    std::ostringstream seconds;
    seconds << delay / 1000.0;
    probe::Xdotool({"keydown", "super", "keydown", "space", "sleep", seconds.str(), "keyup", "super", "keyup", "space"});
    expected += L" ok";
    ExpectRoundEnd(expected, "Win up " + std::to_string(delay) + " ms after Space, round " + std::to_string(round));
    if (HasFailure()) break;
  }
  CloseNormally(*snibbet_, main_);
}

TEST_F(HotkeyReleaseTest, KeysTypedAsThePastedTextAppearsFollowIt) {
  std::wstring expected;
  for (const int delayMs : {0, 50, 100, 200}) {
    probe::PhysicalType(" zq");
    probe::PhysicalChord({"super", "space"});
    expected += L" ok";
    ASSERT_TRUE(probe::WaitUntil([&] { return probe::WindowText(edit_).starts_with(expected); }, 3s))
        << probe::ToUtf8(probe::WindowText(edit_));
    if (delayMs > 0) probe::PumpMessages(std::chrono::milliseconds(delayMs));
    probe::PhysicalType("ab");
    expected += L"ab";
    ExpectRoundEnd(expected, "ab typed " + std::to_string(delayMs) + " ms after the text showed");
    if (HasFailure()) break;
  }
  CloseNormally(*snibbet_, main_);
}

TEST_F(HotkeyReleaseTest, KeysTypedAgainDuringThePasteReachTheTargetOnce) {
  // Called first (installed last): sees the physical keys and SnibbetCm's replays.
  probe::KeyboardHookRecorder keys;
  const int rounds = EnvNumber("SNIBBET_HOTKEY_ROUNDS", 8);
  std::wstring expected;
  for (int round = 0; round < rounds; ++round) {
    // The second " zq" and hotkey come at different moments of the first paste.
    std::ostringstream pause;
    pause << (100 + 40 * (round % 8)) / 1000.0;
    probe::Xdotool({"key", "space", "z", "q", "keydown", "super", "keydown", "space", "keyup", "space", "keyup",
                    "super", "sleep", pause.str(), "key", "space", "z", "q", "keydown", "super", "keydown", "space",
                    "keyup", "space", "keyup", "super"});
    for (std::wstring text; text != probe::WindowText(edit_);) {
      text = probe::WindowText(edit_);
      probe::PumpMessages(800ms);
    }
    // Held back, the second hotkey finds the first still running and is
    // dropped; its keys reach the target as typed, once.
    const std::wstring text = probe::WindowText(edit_);
    const bool heldBack = text == expected + L" ok zq";
    EXPECT_TRUE(heldBack || text == expected + L" ok ok") << "round " << round << ": " << probe::ToUtf8(text);
    expected = text;
    std::map<DWORD, int> physical, replayed;
    for (const auto& key : keys.Keys()) {
      if (key.Up()) continue;
      if (!key.Injected()) ++physical[key.vk];
      if (key.extraInfo == snibbet::kHelperReplayMarker) ++replayed[key.vk];
    }
    for (const auto& [vk, count] : replayed)
      EXPECT_LE(count, physical[vk]) << "key " << vk << " typed again more often than typed, round " << round;
    EXPECT_TRUE(probe::WaitUntil([] { return KeysHeld().empty(); }, 1s)) << "round " << round << ": held " << KeysHeld();
    if (HasFailure()) break;
  }
  CloseNormally(*snibbet_, main_);
}

TEST_F(HotkeyReleaseTest, LettersTypedQuicklyIntoTheBusyPopUpAllReachTheFilter) {
  probe::PhysicalType(" ");
  probe::PhysicalChord({"super", "space"});
  HWND popup = nullptr;
  ASSERT_TRUE(probe::PumpUntil(
      [&] {
        popup = probe::FindTopWindow({.className = L"TTemplateViewForm", .pid = snibbet_->Pid(), .visibleOnly = true});
        return popup != nullptr;
      },
      3s));
  // Each key is handled between a block and an unblock; keys typed meanwhile wait.
  probe::Xdotool({"type", "--delay", "10", "typeah"});
  HWND grid = FindWindowExW(popup, nullptr, WC_LISTVIEWW, nullptr);
  ASSERT_NE(grid, nullptr);
  EXPECT_TRUE(probe::WaitUntil([&] { return SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0) == 1; }, 3s))
      << SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0) << " rows";
  // The pop-up hands each letter on to the target, which keeps them after Esc.
  probe::PhysicalKeys({"Escape"});
  EXPECT_TRUE(probe::WaitUntil([&] { return probe::WindowText(edit_) == L" typeah"; }, 3s))
      << probe::ToUtf8(probe::WindowText(edit_));
  EXPECT_TRUE(probe::WaitUntil([] { return KeysHeld().empty(); }, 1s)) << KeysHeld();
  CloseNormally(*snibbet_, main_);
}

TEST_F(HotkeyReleaseTest, APlainSpaceAfterThePopUpClosedWithEscIsTyped) {
  for (WORD vk : {WORD{VK_SPACE}, WORD{'X'}}) probe::SendKeyTap(vk);
  probe::SendKeyChord({VK_LWIN, VK_SPACE});
  ASSERT_TRUE(probe::PumpUntil(
      [&] {
        return probe::FindTopWindow({.className = L"TTemplateViewForm", .pid = snibbet_->Pid(), .visibleOnly = true}) !=
               nullptr;
      },
      3s));
  probe::PumpMessages(200ms);
  probe::SendKeyTap(VK_ESCAPE);
  ASSERT_TRUE(probe::PumpUntil(
      [&] {
        return probe::FindTopWindow({.className = L"TTemplateViewForm", .pid = snibbet_->Pid(), .visibleOnly = true}) ==
               nullptr;
      },
      3s));
  probe::PumpMessages(1s);
  probe::SendKeyTap(VK_SPACE);
  EXPECT_TRUE(probe::WaitUntil([&] { return probe::WindowText(edit_) == L" x "; }, 3s))
      << probe::ToUtf8(probe::WindowText(edit_));
  probe::PumpMessages(300ms);
  EXPECT_EQ(Logged("ShowTemplateView"), 1u) << "the plain Space opened the pop-up again";
  EXPECT_TRUE(KeysHeld().empty()) << KeysHeld();
  CloseNormally(*snibbet_, main_);
}

}  // namespace
}  // namespace snibbet_e2e
