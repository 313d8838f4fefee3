// What a template paste leaves behind: in the target's text, on the
// clipboard, in the clipboard monitor and in the keys. The target is a
// one-field editor that takes the keys and Ctrl+V; text templates and the
// caret marker go through the real tag expander, as on the real system.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include "tests/host/tags_fake_target.h"
#include "templates/template_paste.h"

namespace snibbet {
namespace {

using testing::FakeTagTarget;

// The desktop around one paste: the window the pop-up opened over, another
// window that may have come to the front, the clipboard (the target editor's,
// with the RTF and picture formats beside its text) and the monitor that
// keeps the user's clipboard.
class PasteWorld : public PasteSystem, public ClipboardPasteSteps {
 public:
  FakeTagTarget target;
  FakeTagTarget other;
  bool targetInFront = true;
  bool wizardInFront = false;      // its text box takes a paste only from our loop
  bool clipboardRefuses = false;   // another program holds the clipboard
  bool userClipboardKeepable = true;
  bool pictureLoaded = true;
  bool targetClosesOnPaste = false;
  std::function<void()> duringSave;  // the save's wait lets the world move on
  std::wstring richPreview;          // the pop-up's rich preview as plain text

  // What the user notices afterwards.
  std::string pastedRtf;
  int monitorSawChanges = 0;  // clipboard changes the monitor took for the user's
  bool monitoring = true;
  int ownInputDepth = 0;
  bool typedWordKnown = true;

  PasteWorld() {
    target.clipboard = L"user's words";
    seenSequence_ = target.sequence;
  }

  // The paste's beeps and the tag expander's.
  int Beeps() const {
    return beeps_ + static_cast<int>(target.LogOf(L"beep").size() + other.LogOf(L"beep").size());
  }
  // Keys that went down and did not come up, in either window.
  int KeysLeftDown() const { return Unreleased(target) + Unreleased(other); }
  void FinishMonitorLook() { Look(); }

  // ClipboardPasteSteps
  bool MonitorPresent() override { return true; }
  bool HoldsAnything() override { return !target.clipboard.empty() || HoldsFormat(rtfSequence_) || HoldsPicture(); }
  bool SaveBeforePaste() override {
    kept_ = userClipboardKeepable ? std::optional<std::wstring>(target.clipboard) : std::nullopt;
    if (duringSave) duringSave();
    return userClipboardKeepable;
  }
  bool UserClipboardKept() override { return kept_.has_value(); }
  void RestoreAfterPaste() override {
    if (!kept_) return;
    Write(*kept_);
    kept_.reset();
  }
  void SetMonitoring(bool on) override {
    Look();
    monitoring = on;
  }
  std::wstring Text() override { return target.clipboard; }
  bool PutText(std::wstring_view text) override {
    if (clipboardRefuses) return false;
    Write(std::wstring(text));
    return true;
  }
  bool Clear() override {
    Write(L"");
    return true;
  }
  void ResetClipboardChanged() override {}
  void WaitForClipboardChange() override {
    if (pendingPaste_) DeliverPaste();
  }
  void SendPasteKeys() override {
    if (targetClosesOnPaste) throw std::runtime_error("target gone");
    if (wizardInFront) {
      pendingPaste_ = true;
    } else {
      DeliverPaste();
    }
  }

  // PasteSystem
  void BeginOwnInput() override { ++ownInputDepth; }
  void EndOwnInput() override { --ownInputDepth; }
  void ResetKeyHistory() override { typedWordKnown = false; }
  bool TargetInFront() override { return targetInFront; }
  void TypeKey(std::uint8_t vk) override {
    Front().SendKey(vk, false, false);
    Front().SendKey(vk, true, false);
  }
  void Beep() override { ++beeps_; }
  void ExpandAndPaste(std::string_view templateText) override {
    TagExpander(Front(), *this).ExpandAndPaste(std::wstring(templateText.begin(), templateText.end()));
  }
  bool PutRichText(std::wstring_view plain, std::string_view rtf) override {
    if (clipboardRefuses) return false;
    Write(std::wstring(plain));
    rtf_ = rtf;
    rtfSequence_ = target.sequence;
    return true;
  }
  void PlaceCaretAtMarker(std::wstring_view text, bool isRichText) override {
    TagExpander(Front(), *this).PlaceCaretAtMarker(text, isRichText);
  }
  bool WizardIsForeground() override { return wizardInFront; }
  bool PutPicture() override {
    if (clipboardRefuses || !pictureLoaded) return false;
    Write(L"");
    pictureSequence_ = target.sequence;
    return true;
  }

 private:
  FakeTagTarget& Front() {
    target.wizardInFront = wizardInFront;
    if (targetInFront) return target;
    other.clipboard = target.clipboard;
    return other;
  }
  bool HoldsFormat(std::uint32_t sequence) const { return sequence == target.sequence; }
  bool HoldsPicture() const { return HoldsFormat(pictureSequence_); }

  void Write(std::wstring text) {
    Look();
    target.clipboard = std::move(text);
    ++target.sequence;
    Look();
  }
  // The monitor is told of every change while it is on.
  void Look() {
    if (monitoring) monitorSawChanges += static_cast<int>(target.sequence - seenSequence_);
    seenSequence_ = target.sequence;
  }

  void DeliverPaste() {
    pendingPaste_ = false;
    FakeTagTarget& front = Front();
    if (HoldsPicture()) {
      front.Type(L"[picture]");
      return;
    }
    if (HoldsFormat(rtfSequence_)) pastedRtf = rtf_;
    front.SendPasteKeys();
  }

  static int Unreleased(const FakeTagTarget& editor) {
    std::map<std::wstring, int> balance;
    for (const std::wstring& entry : editor.log) {
      if (entry.starts_with(L"down ")) ++balance[entry.substr(5)];
      if (entry.starts_with(L"up ")) --balance[entry.substr(3)];
    }
    int down = 0;
    for (const auto& [key, count] : balance) down += count > 0 ? count : 0;
    return down;
  }

  int beeps_ = 0;
  std::optional<std::wstring> kept_;
  std::string rtf_;
  std::uint32_t rtfSequence_ = 0;
  std::uint32_t pictureSequence_ = 0;
  std::uint32_t seenSequence_ = 0;
  bool pendingPaste_ = false;
};

TemplateRecord Record(std::uint16_t kind, std::string content) {
  TemplateRecord record;
  record.Name = "x";
  record.Kind = kind;
  record.Template = std::move(content);
  return record;
}

// The user typed `before` into the target, the last word of it being the
// pop-up's search, and chose the template.
void Paste(PasteWorld& world, std::wstring_view before, std::wstring_view searchWord, const TemplateRecord& record) {
  world.target.Type(before);
  world.target.log.clear();
  const PasteRequest request{record, std::wstring(searchWord), world.richPreview};
  PasteTemplate(request, world, world);
  world.FinishMonitorLook();
}

// Left as the user had it: the clipboard, the monitor's history and the keys.
void ExpectUsersStateBack(const PasteWorld& world, const std::wstring& clipboard = L"user's words") {
  EXPECT_EQ(world.target.clipboard, clipboard);
  EXPECT_EQ(world.monitorSawChanges, 0) << "the program's own clipboard writes reached the history";
  EXPECT_TRUE(world.monitoring);
  EXPECT_EQ(world.ownInputDepth, 0) << "the key-state model stays in the program's own input";
  EXPECT_EQ(world.KeysLeftDown(), 0);
}

const std::string kMarkedRtf = "{\\rtf1\\ansi Hello, |world\\par\r\n}\r\n";
const std::uint16_t kAllKinds[] = {kTemplateText, kTemplateRichText, kTemplatePicture};

TEST(TemplatePasteOutcome, TextReplacesTheTypedWordAndTheUsersClipboardComesBack) {
  PasteWorld world;
  Paste(world, L"Say he\xD83D\xDE00", L"he\xD83D\xDE00", Record(kTemplateText, "Hello"));
  EXPECT_EQ(world.target.Shown(), L"Say Hello^");  // one Backspace for the character of two units
  EXPECT_EQ(world.Beeps(), 0);
  EXPECT_FALSE(world.typedWordKnown) << "the next pop-up would open filtered by a word already replaced";
  ExpectUsersStateBack(world);
}

TEST(TemplatePasteOutcome, TextTakesTheUsersClipboardAndLeavesTheCaretAtItsMarker) {
  PasteWorld world;
  Paste(world, L"Re he", L"he", Record(kTemplateText, "<CLIPBOARD>: |done"));
  EXPECT_EQ(world.target.Shown(), L"Re user's words: ^done");
  ExpectUsersStateBack(world);
}

TEST(TemplatePasteOutcome, AnEmptyClipboardIsLeftHoldingTheTemplate) {
  PasteWorld world;
  world.target.clipboard.clear();
  Paste(world, L"he", L"he", Record(kTemplateText, "Hello"));
  EXPECT_EQ(world.target.Shown(), L"Hello^");
  EXPECT_EQ(world.target.clipboard, L"Hello");
}

TEST(TemplatePasteOutcome, RichTextArrivesWithoutAnAddedLineBreakAndTheCaretAtItsMarker) {
  PasteWorld marked;
  marked.richPreview = L"Hello, |world";
  Paste(marked, L"Say he", L"he", Record(kTemplateRichText, kMarkedRtf));
  EXPECT_EQ(marked.target.Shown(), L"Say Hello, ^world");
  EXPECT_EQ(marked.pastedRtf.find("\\par"), std::string::npos);
  ExpectUsersStateBack(marked);

  PasteWorld plain;
  plain.richPreview = L"Hello";
  Paste(plain, L"Say he", L"he", Record(kTemplateRichText, "{\\rtf1 Hello\\par\r\n}  \r\n"));
  EXPECT_EQ(plain.target.Shown(), L"Say Hello^");
  EXPECT_EQ(plain.pastedRtf, "{\\rtf1 Hello}");  // no probe where no caret moves
  ExpectUsersStateBack(plain);

  EXPECT_EQ(PasteRtf("{\\rtf1 Hello}", true), "{\\rtf1 Hello}");  // no final paragraph: unchanged
  EXPECT_EQ(PasteRtf(" \r\n", false), "");
}

TEST(TemplatePasteOutcome, APictureIsPastedAndTheUsersClipboardComesBack) {
  PasteWorld world;
  Paste(world, L"Say he", L"he", Record(kTemplatePicture, "C:\\logo.png"));
  EXPECT_EQ(world.target.Shown(), L"Say [picture]^");
  ExpectUsersStateBack(world);
}

// The wizard's own text box takes Ctrl+V only once our loop runs: the caret
// walk must wait for it, or it walks through the text typed before.
TEST(TemplatePasteOutcome, IntoTheWizardTheCaretStillEndsAtTheMarker) {
  PasteWorld rich;
  rich.wizardInFront = true;
  rich.richPreview = L"Hello, |world";
  Paste(rich, L"Say he", L"he", Record(kTemplateRichText, kMarkedRtf));
  EXPECT_EQ(rich.target.Shown(), L"Say Hello, ^world");
  ExpectUsersStateBack(rich);

  PasteWorld text;
  text.wizardInFront = true;
  Paste(text, L"Say he", L"he", Record(kTemplateText, "Hello, |world"));
  EXPECT_EQ(text.target.Shown(), L"Say Hello, ^world");
  ExpectUsersStateBack(text);
}

// Ctrl+V after a refused write would paste whatever the clipboard holds: the
// user's own data, into the target.
TEST(TemplatePasteOutcome, WhatTheClipboardRefusedIsNeverPasted) {
  for (const std::uint16_t kind : kAllKinds) {
    PasteWorld world;
    world.clipboardRefuses = true;
    world.richPreview = L"Hello, |world";
    Paste(world, L"Say he", L"he", Record(kind, kMarkedRtf));
    EXPECT_EQ(world.target.Shown(), L"Say ^") << kind;  // the typed word went, nothing came
    EXPECT_EQ(world.Beeps(), 1) << kind;
    ExpectUsersStateBack(world);
  }
  PasteWorld missing;
  missing.pictureLoaded = false;
  Paste(missing, L"Say he", L"he", Record(kTemplatePicture, "C:\\gone.png"));
  EXPECT_EQ(missing.target.Shown(), L"Say ^");
  EXPECT_EQ(missing.Beeps(), 1);
  ExpectUsersStateBack(missing);
}

// Writing the template would cost the user their clipboard for good.
TEST(TemplatePasteOutcome, AUserClipboardThatCannotBeKeptLeavesTargetAndClipboardAlone) {
  for (const std::uint16_t kind : kAllKinds) {
    PasteWorld world;
    world.userClipboardKeepable = false;
    world.richPreview = L"Hello, |world";
    Paste(world, L"Say he", L"he", Record(kind, kMarkedRtf));
    EXPECT_EQ(world.target.Shown(), L"Say he^") << kind;
    EXPECT_EQ(world.Beeps(), 1) << kind;
    ExpectUsersStateBack(world);
  }
}

// The error goes on to the error report; the clipboard, the monitor and the
// key-state model are back first, and the typed word stays known.
TEST(TemplatePasteOutcome, ATargetClosingDuringThePasteStillGetsTheUsersClipboardBack) {
  for (const std::uint16_t kind : kAllKinds) {
    PasteWorld world;
    world.targetClosesOnPaste = true;
    world.richPreview = L"Hello";
    world.target.Type(L"Say he");
    EXPECT_THROW(PasteTemplate(PasteRequest{Record(kind, "{\\rtf1 Hello}"), L"he", world.richPreview}, world, world),
                 std::runtime_error)
        << kind;
    world.FinishMonitorLook();
    EXPECT_TRUE(world.typedWordKnown) << kind;
    ExpectUsersStateBack(world);
  }
}

// The pop-up's target closed and another window came to the front: its text
// must neither lose the typed word's length nor get the template.
TEST(TemplatePasteOutcome, AWindowThatTookTheFrontGetsNothing) {
  for (const std::uint16_t kind : kAllKinds) {
    PasteWorld goneBefore;
    goneBefore.targetInFront = false;
    goneBefore.other.Type(L"Someone else's text");
    Paste(goneBefore, L"Say hell", L"hell", Record(kind, kMarkedRtf));
    EXPECT_EQ(goneBefore.other.Shown(), L"Someone else's text^") << kind;
    EXPECT_FALSE(goneBefore.typedWordKnown) << kind;
    ExpectUsersStateBack(goneBefore);

    PasteWorld goneDuringSave;
    goneDuringSave.richPreview = L"Hello, |world";
    goneDuringSave.other.Type(L"Someone else's text");
    goneDuringSave.duringSave = [&] { goneDuringSave.targetInFront = false; };
    Paste(goneDuringSave, L"Say hell", L"hell", Record(kind, kMarkedRtf));
    EXPECT_EQ(goneDuringSave.other.Shown(), L"Someone else's text^") << kind;
    EXPECT_EQ(goneDuringSave.target.Shown(), L"Say hell^") << kind;
    ExpectUsersStateBack(goneDuringSave);
  }
}

TEST(TemplatePasteOutcome, AnEmptyTemplateOrAnUnknownKindChangesNothing) {
  PasteWorld empty;
  Paste(empty, L"Say he", L"he", Record(kTemplateText, ""));
  EXPECT_EQ(empty.target.Shown(), L"Say he^");
  EXPECT_TRUE(empty.typedWordKnown);
  ExpectUsersStateBack(empty);

  PasteWorld unknown;
  Paste(unknown, L"Say he", L"he", Record(7, "Hello"));
  EXPECT_EQ(unknown.target.Shown(), L"Say ^");
  ExpectUsersStateBack(unknown);
}

}  // namespace
}  // namespace snibbet
