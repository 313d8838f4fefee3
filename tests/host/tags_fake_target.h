#pragma once
// A stand-in for the system during tag expansion: a one-field text editor
// that takes the synthetic keys, a clipboard, a clock that only moves when
// the expansion waits or types, files, scripted random choices and a fixed
// moment. It records what the expansion did in `log`.
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "templates/template_tags.h"

namespace snibbet::testing {

// Tuesday, 5 March 2024, 14:07:09.045, English names, "-" and "." as the
// separators so that their use shows.
inline DateTimeContext SampleMoment() {
  DateTimeContext c;
  c.now = {2024, 3, 5, 2, 14, 7, 9, 45};
  c.shortMonthNames = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                       L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
  c.longMonthNames = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                      L"July",    L"August",   L"September", L"October", L"November", L"December"};
  c.shortDayNames = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
  c.longDayNames = {L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"};
  c.shortDate = L"3-5-2024";
  c.longDate = L"Tuesday, March 5, 2024";
  c.shortTime = L"2.07 PM";
  c.longTime = L"2.07.09 PM";
  c.dateSeparator = L"-";
  c.timeSeparator = L".";
  c.amText = L"AM";
  c.pmText = L"PM";
  return c;
}

class FakeTagTarget : public TagEnvironment, public ClipboardPasteSteps {
 public:
  // The editor.
  std::wstring text;
  std::size_t caret = 0;
  std::size_t anchor = 0;  // the other end of the selection
  // Behaviour of the target.
  bool refusesCopyAndCut = false;  // like a password box
  bool clipboardRefuses = false;   // another program holds the clipboard
  std::wstring addedAfterPaste;    // a target that adds text behind each paste
  unsigned msPerKey = 0;           // a slow target
  bool onlyCtrlAndAlt = false;
  bool wizardInFront = false;
  // The rest of the system.
  std::wstring clipboard;
  std::uint32_t sequence = 1;
  std::uint32_t tick = 1000;
  std::map<std::wstring, std::wstring> files;
  int fileReads = 0;
  std::vector<int> picks;  // scripted random choices, used in turn
  std::size_t nextPick = 0;
  DateTimeContext moment = SampleMoment();
  std::vector<std::wstring> log;

  // The editor's text with "^" at the caret (and "[" "]" around a selection).
  std::wstring Shown() const {
    std::wstring shown = text;
    if (anchor == caret) return shown.insert(caret, L"^");
    shown.insert(std::max(anchor, caret), L"]");
    return shown.insert(std::min(anchor, caret), L"[");
  }

  std::vector<std::wstring> LogOf(std::wstring_view prefix) const {
    std::vector<std::wstring> picked;
    for (const std::wstring& entry : log) {
      if (entry.starts_with(prefix)) picked.push_back(entry);
    }
    return picked;
  }

  void Type(std::wstring_view typed) {
    for (const wchar_t c : typed) InsertText(std::wstring(1, c));
  }

  // TagEnvironment
  int RandomBelow(int count) override {
    const int pick = nextPick < picks.size() ? picks[nextPick++] : 0;
    log.push_back(L"random " + std::to_wstring(pick) + L"/" + std::to_wstring(count));
    return pick;
  }
  std::optional<std::wstring> ReadTagFile(std::wstring_view path, std::size_t maxChars) override {
    ++fileReads;
    const auto found = files.find(std::wstring(path));
    if (found == files.end() || found->second.size() > maxChars) return std::nullopt;
    return found->second;
  }
  // ClipboardPasteSteps: no monitor keeps the user's clipboard here.
  bool MonitorPresent() override { return false; }
  bool HoldsAnything() override { return !clipboard.empty(); }
  bool SaveBeforePaste() override { return true; }
  bool UserClipboardKept() override { return false; }
  void RestoreAfterPaste() override {}
  void SetMonitoring(bool) override {}
  std::wstring Text() override { return clipboard; }
  bool PutText(std::wstring_view t) override {
    if (clipboardRefuses) {
      log.push_back(L"clipboard refused");
      return false;
    }
    SetClipboard(std::wstring(t));
    log.push_back(L"clipboard " + clipboard);
    return true;
  }
  bool Clear() override {
    SetClipboard(L"");
    return true;
  }
  std::uint32_t ClipboardSequence() override { return sequence; }
  void ResetClipboardChanged() override {}
  void WaitForClipboardChange() override { tick += 1; }
  void SendKey(std::uint8_t vk, bool keyUp, bool extended) override {
    tick += msPerKey;
    log.push_back(std::wstring(keyUp ? L"up " : L"down ") + std::to_wstring(vk) + (extended ? L"e" : L""));
    if (vk == 16) shift_ = !keyUp;
    if (vk == 17) ctrl_ = !keyUp;
    if (!keyUp) KeyDown(vk);
  }
  void SendCtrlChord(char letter) override {
    tick += 40;
    log.push_back(L"ctrl " + std::wstring(1, static_cast<wchar_t>(letter)));
    Chord(letter);
  }
  void SendPasteKeys() override {
    log.push_back(L"paste " + clipboard);
    Chord('V');
  }
  bool OnlyCtrlAndAltHeld() override { return onlyCtrlAndAlt; }
  bool WizardIsForeground() override { return wizardInFront; }
  void Sleep(unsigned ms) override { tick += ms; }
  void ProcessMessagesFor(unsigned ms) override { tick += ms; }
  std::uint32_t TickCount() override { return tick; }
  void Beep() override { log.push_back(L"beep"); }
  DateTimeContext CurrentDateTime() override { return moment; }

 private:
  struct Snapshot {
    std::wstring text;
    std::size_t caret, anchor;
  };

  std::size_t SelStart() const { return std::min(caret, anchor); }
  std::size_t SelEnd() const { return std::max(caret, anchor); }
  std::wstring Selected() const { return text.substr(SelStart(), SelEnd() - SelStart()); }

  void SetClipboard(std::wstring t) {
    clipboard = std::move(t);
    ++sequence;
  }
  void Remember() {
    if (undo_.size() == kUndoDepth) undo_.erase(undo_.begin());
    undo_.push_back({text, caret, anchor});
  }
  void InsertText(const std::wstring& t) {
    Remember();
    text.replace(SelStart(), SelEnd() - SelStart(), t);
    caret = anchor = SelStart() + t.size();
  }
  void DeleteSelection() {
    Remember();
    text.erase(SelStart(), SelEnd() - SelStart());
    caret = anchor = SelStart();
  }
  void Move(std::size_t to) {
    caret = std::min(to, text.size());
    if (!shift_) anchor = caret;
  }

  // Like an edit control, the caret moves over a line break in one step.
  std::size_t StepBefore(std::size_t at) const {
    if (at >= 2 && text.compare(at - 2, 2, L"\r\n") == 0) return 2;
    return at > 0 ? 1 : 0;
  }
  // Backspace takes a character written as a surrogate pair whole.
  std::size_t CharacterBefore(std::size_t at) const {
    const auto isLow = [](wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
    const auto isHigh = [](wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; };
    return at >= 2 && isLow(text[at - 1]) && isHigh(text[at - 2]) ? 2 : 1;
  }
  std::size_t StepAfter(std::size_t at) const {
    if (text.compare(at, 2, L"\r\n") == 0) return 2;
    return at < text.size() ? 1 : 0;
  }

  void KeyDown(std::uint8_t vk) {
    if (ctrl_ && vk >= 'A' && vk <= 'Z') return Chord(static_cast<char>(vk));
    switch (vk) {
      case 37: return Move(caret - StepBefore(caret));
      case 39: return Move(caret + StepAfter(caret));
      case 8:
        if (caret == anchor && caret > 0) anchor = caret - CharacterBefore(caret);
        return DeleteSelection();
      case 46:
        if (caret == anchor && caret < text.size()) anchor = caret + 1;
        return DeleteSelection();
      case 13: return InsertText(L"\r\n");
      case 32: return InsertText(L" ");
      default: break;
    }
    if (vk >= 'A' && vk <= 'Z') InsertText(std::wstring(1, static_cast<wchar_t>(shift_ ? vk : vk + 32)));
    if (vk >= '0' && vk <= '9') InsertText(std::wstring(1, static_cast<wchar_t>(vk)));
  }

  void Chord(char letter) {
    switch (letter) {
      case 'A':
        anchor = 0;
        caret = text.size();
        break;
      case 'C':
        if (!refusesCopyAndCut && caret != anchor) SetClipboard(Selected());
        break;
      case 'X':
        if (!refusesCopyAndCut && caret != anchor) {
          SetClipboard(Selected());
          DeleteSelection();
        }
        break;
      case 'V':
        InsertText(clipboard);
        if (!addedAfterPaste.empty()) InsertText(addedAfterPaste);
        break;
      case 'Z':
        if (!undo_.empty()) {
          text = undo_.back().text;
          caret = undo_.back().caret;
          anchor = undo_.back().anchor;
          undo_.pop_back();
        }
        break;
      default: break;
    }
  }

  static constexpr std::size_t kUndoDepth = 16;
  bool shift_ = false;
  bool ctrl_ = false;
  std::vector<Snapshot> undo_;
};

}  // namespace snibbet::testing
