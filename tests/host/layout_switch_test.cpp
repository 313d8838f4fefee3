// Switching the foreground application's keyboard layout: past the layouts
// the user switched off, through the hook library when it answers, else
// through the window itself, and the answer flag the message dispatch keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "keyboard/key_model.h"
#include "keyboard/layout_switch.h"
#include "keymodel_fakes.h"

namespace snibbet {
namespace {

using testing::FakeInput;
using testing::FakeLayouts;
using testing::kSwapped;
using testing::kUs;

constexpr LayoutHandle kGerman = 0x04070407, kRussian = 0x04190419;

// A ring of installed layouts for the program's thread; the foreground
// window, the hook library and the model react as configured.
class FakeSwitchPorts : public LayoutSwitchPorts {
 public:
  explicit FakeSwitchPorts(TQvKeyboard& model) : model_(model) {}

  std::vector<LayoutHandle> ring{kUs, kSwapped, kGerman, kRussian};
  LayoutHandle own = kUs;
  std::set<LayoutHandle> disabled;
  bool internetExplorer = false, vista = false;
  bool libraryAnswers = true;     // 1176 arrives while the program waits
  bool windowFollows = true;      // the model hears of the window's new layout
  int nextSteps = 0;
  std::vector<std::string> calls;
  std::vector<bool> acknowledgedWhenPumping;

  void ActivateLayout(LayoutHandle layout) override {
    if (std::find(ring.begin(), ring.end(), layout) != ring.end()) own = layout;
  }
  void ActivateNextLayout() override {
    ++nextSteps;
    const auto at = std::find(ring.begin(), ring.end(), own);
    own = (at == ring.end() || at + 1 == ring.end()) ? ring.front() : *(at + 1);
  }
  LayoutHandle OwnLayout() override { return own; }
  bool IsLayoutDisabled(LayoutHandle layout) override { return disabled.count(layout) != 0; }
  bool ForegroundIsIE() override { return internetExplorer; }
  bool IsVistaOrLater() override { return vista; }
  void PostSetLayoutRequest(LayoutHandle layout) override {
    calls.push_back("post " + Name(layout));
    pendingAnswer_ = libraryAnswers;
  }
  void ApplyForegroundLayout(LayoutHandle layout) override {
    calls.push_back("apply " + Name(layout));
    model_.SetLayout(layout);
  }
  void SendLanguageChangeRequest(LayoutHandle layout) override {
    calls.push_back("request " + Name(layout));
    if (windowFollows) model_.SetLayout(layout);
  }
  bool PumpUntil(std::uint32_t ms, const std::function<bool()>& done) override {
    calls.push_back("pump " + std::to_string(ms));
    acknowledgedWhenPumping.push_back(LayoutSwitchAcknowledged());
    if (pendingAnswer_) LayoutSwitchAnswered();
    pendingAnswer_ = false;
    return done();
  }

  std::string Calls() const {
    std::string all;
    for (const auto& call : calls) all += (all.empty() ? "" : ", ") + call;
    return all;
  }

 private:
  static std::string Name(LayoutHandle layout) {
    switch (layout) {
      case kUs: return "us";
      case kSwapped: return "swapped";
      case kGerman: return "german";
      case kRussian: return "russian";
      default: return std::to_string(layout);
    }
  }
  TQvKeyboard& model_;
  bool pendingAnswer_ = false;
};

class LayoutSwitch : public ::testing::Test {
 protected:
  LayoutSwitch() : model(layouts, input, &tables) { model.ApplyLayout(testing::BuiltInLayout(), L"Standard"); }

  FakeLayouts layouts;
  FakeInput input;
  CharTableCache tables;
  TQvKeyboard model;
  FakeSwitchPorts ports{model};
};

TEST_F(LayoutSwitch, NextStepsPastDisabledLayouts) {
  ports.disabled = {kSwapped, kGerman};
  EXPECT_EQ(SwitchKeyboardLayout(ports, model, kNextLayout), kRussian);
  EXPECT_EQ(ports.nextSteps, 3);
}

TEST_F(LayoutSwitch, NextStartsFromTheModelsLayoutNotTheThreadsOwn) {
  ports.own = kRussian;  // the program's thread lags behind the foreground
  EXPECT_EQ(SwitchKeyboardLayout(ports, model, kNextLayout), kSwapped);
}

TEST_F(LayoutSwitch, WithEveryOtherLayoutDisabledItStopsAfterTenTries) {
  ports.disabled = {kSwapped, kGerman, kRussian, kUs};
  const LayoutHandle reached = SwitchKeyboardLayout(ports, model, kNextLayout);
  EXPECT_EQ(ports.nextSteps, kNextLayoutTries);
  EXPECT_EQ(reached, kGerman);  // ten steps round a ring of four
}

TEST_F(LayoutSwitch, TheLibrarysAnswerEndsTheSwitch) {
  ASSERT_TRUE(LayoutSwitchAcknowledged());
  EXPECT_EQ(SwitchKeyboardLayout(ports, model, kGerman), kGerman);
  EXPECT_EQ(ports.Calls(), "post german, pump 100");
  EXPECT_EQ(ports.acknowledgedWhenPumping, std::vector<bool>{false});
  EXPECT_TRUE(LayoutSwitchAcknowledged());
}

TEST_F(LayoutSwitch, WithoutAnAnswerTheWindowIsAskedAndTheModelAwaited) {
  ports.libraryAnswers = false;
  SwitchKeyboardLayout(ports, model, kNextLayout);
  EXPECT_EQ(ports.Calls(), "post swapped, pump 100, request swapped, pump 200");
  EXPECT_EQ(model.CurrentLayout(), kSwapped);
  // Nothing is outstanding any more: the user's own layout changes count again.
  EXPECT_TRUE(LayoutSwitchAcknowledged());
}

TEST_F(LayoutSwitch, InternetExplorerIsAskedDirectlyWithoutWaiting) {
  ports.internetExplorer = true;
  SwitchKeyboardLayout(ports, model, kNextLayout);
  EXPECT_EQ(ports.Calls(), "request swapped");

  ports.calls.clear();
  ports.vista = true;
  SwitchKeyboardLayout(ports, model, kGerman);
  EXPECT_EQ(ports.Calls(), "apply german, request german");
  EXPECT_TRUE(LayoutSwitchAcknowledged());
}

TEST_F(LayoutSwitch, SinceVistaTheNextLayoutBypassesTheLibrary) {
  ports.vista = true;
  SwitchKeyboardLayout(ports, model, kNextLayout);
  EXPECT_EQ(ports.Calls(), "apply swapped, request swapped, pump 200");

  // A given layout still goes through the library first.
  ports.calls.clear();
  ports.libraryAnswers = false;
  SwitchKeyboardLayout(ports, model, kRussian);
  EXPECT_EQ(ports.Calls(), "post russian, pump 100, apply russian, request russian, pump 200");
}

}  // namespace
}  // namespace snibbet
