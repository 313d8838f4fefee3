// Settings that reach the process and the system: priority, Num Lock, the
// start-with-Windows query.
#include <vector>

#include "tests/unit/setters_fixture.h"

namespace snibbet::test {
namespace {

using ProcessTest = SettersTest;

DWORD PriorityClass() { return GetPriorityClass(GetCurrentProcess()); }

TEST_F(ProcessTest, PriorityFollowsTheSettingBothWaysAndIsNeverRealTime) {
  TPreset preset(AppIni(), effects.Ports());
  preset.SetHighPriority(false);
  EXPECT_EQ(PriorityClass(), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
  preset.SetHighPriority(true);
  EXPECT_EQ(PriorityClass(), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_ABOVE_NORMAL);
  preset.SetHighPriority(false);
  EXPECT_EQ(PriorityClass(), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
}

TEST_F(ProcessTest, TheFirstLoadAppliesTheStoredPriorityEvenWhenItIsTheDefault) {
  ApplyProcessPriority(false);
  RunOnce([](TPreset& preset) {
    EXPECT_TRUE(preset.HighPriority());
    EXPECT_EQ(PriorityClass(), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
  });
  PutDword(L"HighPriority", 0);
  RunOnce([](TPreset&) { EXPECT_EQ(PriorityClass(), static_cast<DWORD>(NORMAL_PRIORITY_CLASS)); });
}

TEST_F(ProcessTest, PriorityIsAppliedOnceWhileItStaysAndAgainAfterAReset) {
  std::vector<bool> applied;
  effects.applyProcessPriority = [&](bool high) { applied.push_back(high); };
  PutDword(L"HighPriority", 0);
  RunOnce([&](TPreset& preset) {
    preset.Load();
    preset.SetHighPriority(false);
    EXPECT_EQ(applied, (std::vector<bool>{false}));
    // Reset puts True into the field without applying it; the next load must.
    preset.Reset();
    preset.Save();
    preset.Load();
    EXPECT_EQ(applied, (std::vector<bool>{false, true}));
  });
}

// Num Lock through fakes: which presses are sent, and the data module's hooks around them.
class NumLockTest : public SettersTest {
 protected:
  void SetUp() override {
    SettersTest::SetUp();
    effects.numLockIsOn = [this] { return on; };
    effects.pressNumLock = [this] {
      events.push_back(active ? "press while hooked" : "press");
      on = !on;
    };
    effects.dataModuleActive = [this] { return active; };
    effects.setDataModuleActive = [this](bool value) {
      events.push_back(value ? "hooks on" : "hooks off");
      active = value;
    };
  }
  bool on = false;
  bool active = true;
  std::vector<std::string> events;
};

TEST_F(NumLockTest, SwitchingOnPressesOnceWithTheHooksOff) {
  TPreset preset(AppIni(), effects.Ports());
  preset.SetNumLockMode(1);
  EXPECT_EQ(events, (std::vector<std::string>{"hooks off", "press", "hooks on"}));
  EXPECT_TRUE(on);
  events.clear();
  preset.SetNumLockMode(1);  // already on
  preset.SetNumLockMode(0);  // leave it
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(preset.NumLockMode(), 0);
}

TEST_F(NumLockTest, SwitchingOffWhileTheModuleIsInactiveLeavesItInactive) {
  on = true;
  active = false;
  TPreset preset(AppIni(), effects.Ports());
  preset.SetNumLockMode(2);
  EXPECT_EQ(events, (std::vector<std::string>{"press"}));
  EXPECT_FALSE(on);
  events.clear();
  preset.SetNumLockMode(2);
  preset.SetNumLockMode(7);  // no such mode: stored, nothing done
  EXPECT_TRUE(events.empty());
}

TEST_F(NumLockTest, EffectsConnectedForAScopeGoBackToTheOnesBeforeAtItsEnd) {
  TPreset preset(AppIni(), effects.Ports());
  RecordedEffects program;
  int programPresses = 0;
  program.numLockIsOn = [] { return false; };
  program.pressNumLock = [&] { ++programPresses; };
  {
    SettingEffectsConnection connected(preset, program.Ports());
    preset.SetNumLockMode(1);
  }
  EXPECT_EQ(programPresses, 1);
  preset.SetNumLockMode(2);  // the test's own effects: Num Lock is off already
  preset.SetNumLockMode(1);
  EXPECT_EQ(programPresses, 1);
  EXPECT_EQ(events, (std::vector<std::string>{"hooks off", "press", "hooks on"}));
}

TEST_F(NumLockTest, AConnectionOfOnePortLeavesTheOthersConnectedBefore) {
  TPreset preset(AppIni(), effects.Ports());
  RecordedEffects system;
  int systemPresses = 0;
  system.numLockIsOn = [] { return false; };
  system.pressNumLock = [&] { ++systemPresses; };
  {
    SettingEffectsConnection connected(preset, {.system = &system});
    preset.SetNumLockMode(1);
  }
  EXPECT_EQ(systemPresses, 1);
  // The module's hooks were still the test's, and still go off around the press.
  EXPECT_EQ(events, (std::vector<std::string>{"hooks off", "hooks on"}));
  preset.SetNumLockMode(2);  // the test's own system again: Num Lock is off already
  EXPECT_EQ(events.size(), 2u);
}

// The machine's Run key, written as the options program would.
class AutoRunTest : public SettersTest {
 protected:
  static constexpr const wchar_t* kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  void SetUp() override {
    SettersTest::SetUp();
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    program = path;
  }
  void TearDown() override {
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRun, L"Snibbet");
    SettersTest::TearDown();
  }
  bool PutRun(const std::wstring& value) {
    HKEY key = nullptr;
    const LONG created = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRun, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (created != ERROR_SUCCESS) return false;
    const LONG status = RegSetValueExW(key, L"Snibbet", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
  }
  std::wstring program;
};

TEST_F(AutoRunTest, OnlyExactlyThisProgramCounts) {
  TPreset preset(AppIni(), effects.Ports());
  EXPECT_FALSE(preset.IsAutoRun());
  if (!PutRun(program)) GTEST_SKIP() << "the machine's Run key cannot be written here";
  EXPECT_EQ(ReadMachineRunValue(), program);
  EXPECT_TRUE(preset.IsAutoRun());
  std::wstring upper = program;
  CharUpperW(upper.data());
  ASSERT_TRUE(PutRun(upper));
  EXPECT_FALSE(preset.IsAutoRun());
  ASSERT_TRUE(PutRun(L"\"" + program + L"\""));
  EXPECT_FALSE(preset.IsAutoRun());
  ASSERT_TRUE(PutRun(L""));
  EXPECT_FALSE(preset.IsAutoRun());
}

}  // namespace
}  // namespace snibbet::test
