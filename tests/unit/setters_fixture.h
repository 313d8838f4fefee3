#pragma once
// The setters' tests: the settings tests' empty key and fixed keyboard setup,
// with the binding list emptied and the effects back to their start between tests.
#include "core/preset_effects.h"
#include "keyboard/actions.h"
#include "tests/unit/settings_fixture.h"

namespace snibbet::test {

class SettersTest : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    ResetPresetEffects();
    QvActions().Clear();
  }
  void TearDown() override {
    QvActions().Clear();
    ResetPresetEffects();
    SettingsTest::TearDown();
  }
};

}  // namespace snibbet::test
