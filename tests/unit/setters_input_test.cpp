// Num Lock switched by the setting, on the real system: the test's window is
// in front so that the thread's key state follows the keys. Types keys: one
// test program at a time (see CMakeLists).
#include <gtest/gtest.h>

#include "core/message_pump.h"
#include "core/preset_effects.h"
#include "core/synthetic_input.h"
#include "input_test_window.h"
#include "tests/unit/setters_fixture.h"

namespace snibbet::test {
namespace {

class NumLockOnTheSystem : public SettersTest {
 protected:
  void SetUp() override {
    SettersTest::SetUp();
    window.Activate();
    initial = NumLockIsOn();
  }
  void TearDown() override {
    if (GetAsyncKeyState(VK_NUMLOCK) & 0x8000) SendKey(VK_NUMLOCK, true, true);
    testing::Settle();
    if (NumLockIsOn() != initial) PressNumLock();
    testing::Settle();
    SettersTest::TearDown();
  }
  void SwitchTo(bool on) {
    if (NumLockIsOn() != on) PressNumLock();
    testing::Settle();
    ASSERT_EQ(NumLockIsOn(), on);
  }

  testing::EditWindow window;
  bool initial = false;
};

TEST_F(NumLockOnTheSystem, ModesOneAndTwoSwitchItAndZeroLeavesIt) {
  SwitchTo(false);
  TPreset preset(AppIni(), effects.Ports());
  preset.SetNumLockMode(1);
  testing::Settle();
  EXPECT_TRUE(NumLockIsOn());
  preset.SetNumLockMode(0);
  testing::Settle();
  EXPECT_TRUE(NumLockIsOn());
  preset.SetNumLockMode(2);
  testing::Settle();
  EXPECT_FALSE(NumLockIsOn());
  preset.SetNumLockMode(2);
  testing::Settle();
  EXPECT_FALSE(NumLockIsOn());
}

TEST_F(NumLockOnTheSystem, AHeldNumLockThatSwitchedItOffIsNotTakenForOn) {
  SwitchTo(true);
  SendKey(VK_NUMLOCK, false, true);  // held down: toggled off, the state is not 0
  testing::Settle();
  ASSERT_NE(GetKeyState(VK_NUMLOCK), 0);
  EXPECT_FALSE(NumLockIsOn());
  std::vector<bool> pressed;
  effects.pressNumLock = [&] { pressed.push_back(true); };
  TPreset preset(AppIni(), effects.Ports());
  preset.SetNumLockMode(1);  // off, so it must be switched on
  EXPECT_EQ(pressed.size(), 1u);
}

}  // namespace
}  // namespace snibbet::test
