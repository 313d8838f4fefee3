#pragma once
// Stand-ins under the clipboard and layout actions: a target window whose
// selection is cut and pasted through a fake clipboard, a layout switcher
// that moves the key model to the other fake layout, the characters of the
// fake layouts, and a Latin-1 case mapping.
#include <stdexcept>
#include <string>
#include <vector>

#include "keyboard/action_layout.h"
#include "keyboard/layout_switch.h"
#include "keyboard/key_model.h"
#include "keymodel_fakes.h"

namespace snibbet::testing {

// Lower and upper case for ASCII and the Latin-1 letters.
inline CaseMapping Latin1CaseMapping() {
  CaseMapping mapping;
  mapping.upper = [](wchar_t c) -> wchar_t {
    if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<wchar_t>(c - 0x20);
    return c;
  };
  mapping.lower = [](wchar_t c) -> wchar_t {
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<wchar_t>(c + 0x20);
    return c;
  };
  return mapping;
}

// The fake layouts' characters, plus key 221 (']' in US English, a dead '^'
// in the swapped layout) and key 192 ('`' in US English, nothing in the other).
class FakeLayoutChars : public LayoutCharService {
 public:
  explicit FakeLayoutChars(FakeLayouts& layouts) : layouts_(layouts) {}

  int KeyScan(wchar_t c, LayoutHandle layout) override {
    for (unsigned code = 1; code < 256; ++code) {
      for (int shift : {0, kScanShift, kScanCtrl | kScanAlt}) {
        const KeyChars typed = KeyCharacters(code, State(shift), layout);
        if (typed.count == 1 && typed.chars == std::wstring(1, c)) return static_cast<int>(code) | (shift << 8);
      }
    }
    return kNoKeyForChar;
  }

  KeyChars KeyCharacters(unsigned code, const KeyStateBytes& state, LayoutHandle layout) override {
    const bool shift = state[kVkShift] & 0x80;
    if (code == 221 && !shift) return layout == kSwapped ? KeyChars{-1, L"^"} : KeyChars{1, L"]"};
    if (code == 192 && !shift) return layout == kSwapped ? KeyChars{0, L""} : KeyChars{1, L"`"};
    const std::wstring text = layouts_.KeyText(code, state, layout);
    return {static_cast<int>(text.size()), text};
  }

 private:
  static KeyStateBytes State(int shift) {
    KeyStateBytes state{};
    if (shift & kScanShift) state[kVkShift] = 0x81;
    if (shift & kScanCtrl) state[kVkControl] = 0x81;
    if (shift & kScanAlt) state[kVkMenu] = 0x81;
    return state;
  }
  FakeLayouts& layouts_;
};

// Steps to the other of the two fake layouts; the model follows at once.
class FakeSwitcher : public LayoutSwitcher {
 public:
  explicit FakeSwitcher(TQvKeyboard& model) : model_(model) {}

  int layouts = 2;
  std::vector<LayoutHandle> switches;
  std::function<void()> duringSwitch;

  int CountLayouts() override { return layouts; }
  void Switch(LayoutHandle layout) override {
    switches.push_back(layout);
    if (duringSwitch) duringSwitch();
    if (layout == kNextLayout) layout = model_.CurrentLayout() == kUs ? kSwapped : kUs;
    model_.SetLayout(layout);
  }

 private:
  TQvKeyboard& model_;
};

// A clipboard and the window in front: its selection is cut into the
// clipboard and a paste replaces the selection. Every step is noted.
class FakeClipboard : public ClipboardPasteSteps, public SelectionCutter {
 public:
  // The clipboard.
  bool available = true;
  std::wstring text = L"the user's text";
  bool holdsNonText = false;
  bool kept = true;       // the monitor's snapshot
  bool clearFails = false;
  int putFailures = 0;           // this many puts fail, from the first
  bool putEmptiesFirst = false;  // a failed put has emptied the clipboard already
  bool monitoring = true;
  std::string throwAt;    // the step that throws
  // The target window.
  std::wstring before = L"say ", selection = L"hello world", after = L"!";
  bool cutTakesNonText = false;

  std::vector<std::string> steps;

  std::wstring Document() const { return before + selection + after; }
  std::string Steps() const {
    std::string all;
    for (const auto& step : steps) all += (all.empty() ? "" : " ") + step;
    return all;
  }

  bool MonitorPresent() override { return available; }
  bool HoldsAnything() override { return !text.empty() || holdsNonText; }
  bool SaveBeforePaste() override {
    Step("save");
    return true;
  }
  bool UserClipboardKept() override { return kept; }
  void RestoreAfterPaste() override { Step("restore"); }
  void SetMonitoring(bool on) override {
    Step(on ? "monitor-on" : "monitor-off");
    monitoring = on;
  }
  bool Clear() override {
    Step("clear");
    if (clearFails) return false;
    text.clear();
    holdsNonText = false;
    return true;
  }
  void ResetClipboardChanged() override {}
  void WaitForClipboardChange() override { Step("wait"); }
  std::wstring Text() override { return text; }
  bool PutText(std::wstring_view put) override {
    Step("put");
    if (putFailures > 0) {
      --putFailures;
      if (putEmptiesFirst) text.clear();
      return false;
    }
    text = put;
    return true;
  }
  void CutSelection() override {
    Step("cut");
    if (cutTakesNonText) {
      holdsNonText = true;
    } else if (!selection.empty()) {
      text = selection;
    }
    selection.clear();
  }
  void SendPasteKeys() override {
    Step("paste");
    selection = holdsNonText && text.empty() ? L"<picture>" : text;
  }

 private:
  void Step(const std::string& name) {
    steps.push_back(name);
    if (name == throwAt) throw std::runtime_error(name);
  }
};

}  // namespace snibbet::testing
