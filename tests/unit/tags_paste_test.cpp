// Pasting templates with tags into real text controls: key presses typed,
// the clipboard and selection filled in, and the caret back at the marker.
#include <gtest/gtest.h>

#include "clipboard/monitor_calls.h"
#include "core/clipboard_access.h"
#include "core/message_pump.h"
#include "core/synthetic_input.h"
#include "templates/template_tags_win.h"
#include "tests/unit/tags_test_window.h"

namespace snibbet {
namespace {

using testing::TagTestWindow;
using Caret = std::pair<DWORD, DWORD>;

bool AnyKeyHeld() {
  for (int vk = 1; vk < 256; ++vk) {
    if (vk == VK_NUMLOCK || vk == VK_CAPITAL || vk == VK_SCROLL) continue;
    if (GetAsyncKeyState(vk) & 0x8000) return true;
  }
  return false;
}

// The test's windows live in this process, like the first-run wizard's text
// box: a paste reaches them only through this thread's message loop, which the
// expansion runs for the wizard before it writes the clipboard again.
class OwnWindowsTagEnvironment : public WindowsTagEnvironment {
 public:
  bool WizardIsForeground() override { return true; }
};

void PasteTemplate(TagTestWindow& window, const wchar_t* text) {
  OwnWindowsTagEnvironment env;
  MonitorPasteSteps clipboard(nullptr);
  window.Activate();
  EXPECT_TRUE(window.InFront()) << "typing would go elsewhere";
  TagExpander(env, clipboard).ExpandAndPaste(text);
  PumpMessagesFor(100);
}

class TagPasteIntoEdit : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { window_ = new TagTestWindow(L"EDIT", ES_AUTOHSCROLL); }
  static void TearDownTestSuite() { delete window_; }
  void SetUp() override { window.Reset(L""); }
  TagTestWindow& window = *window_;

 private:
  static inline TagTestWindow* window_ = nullptr;
};

TEST_F(TagPasteIntoEdit, KeyTagsTypeBetweenPastedPieces) {
  ASSERT_TRUE(PutClipboardText(L"CLIP"));
  PasteTemplate(window, L"ab<KEY Shift+X>cd<key back>e <CLIPBOARD><KEY $20>!");
  EXPECT_EQ(window.Text(), L"abXce CLIP !");
  EXPECT_FALSE(AnyKeyHeld());
}

TEST_F(TagPasteIntoEdit, CaretEndsAtTheMarker) {
  window.Reset(L"Re: ");
  PasteTemplate(window, L"Hello |, friend");
  EXPECT_EQ(window.Text(), L"Re: Hello , friend");
  EXPECT_EQ(window.Selection(), Caret(10, 10));

  window.Reset(L"");
  PasteTemplate(window, L"ab|");
  EXPECT_EQ(window.Text(), L"ab");
  EXPECT_EQ(window.Selection(), Caret(2, 2));
}

TEST_F(TagPasteIntoEdit, TheSelectionIsTakenIntoTheTemplate) {
  window.Reset(L"hello world");
  window.Select(6, 11);
  PasteTemplate(window, L"[<SELECTION>|]");
  EXPECT_EQ(window.Text(), L"hello [world]");
  EXPECT_EQ(window.Selection(), Caret(12, 12));
}

TEST(TagPasteIntoRichEdit, CaretEndsAtTheMarkerInPlainAndRichPastes) {
  TagTestWindow window(L"RichEdit20W", 0);
  ASSERT_TRUE(window.Created());
  window.Reset(L"Re: ");
  PasteTemplate(window, L"Hello |, friend");
  EXPECT_EQ(window.Text(), L"Re: Hello , friend");
  EXPECT_EQ(window.Selection(), Caret(10, 10));

  // A rich-text paste keeps the bar and ends in the probe.
  window.Reset(L"");
  ASSERT_TRUE(PutClipboardText(L"word |, done_"));
  SendCtrlV();
  PumpMessagesFor(100);
  OwnWindowsTagEnvironment env;
  MonitorPasteSteps clipboard(nullptr);
  TagExpander(env, clipboard).PlaceCaretAtMarker(L"word |, done", true);
  PumpMessagesFor(100);
  EXPECT_EQ(window.Text(), L"word , done");
  EXPECT_EQ(window.Selection(), Caret(5, 5));
}

// A password field copies and cuts nothing, so the probe cannot be found;
// the paste must survive the attempt.
TEST(TagPasteIntoPassword, APasteThatCannotBeProbedIsKept) {
  TagTestWindow window(L"EDIT", ES_AUTOHSCROLL | ES_PASSWORD);
  window.Reset(L"pw");
  PasteTemplate(window, L"secret|!");
  EXPECT_EQ(window.Text().substr(0, 9), L"pwsecret!");
}

}  // namespace
}  // namespace snibbet
