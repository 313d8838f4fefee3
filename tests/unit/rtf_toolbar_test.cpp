// The template editor's rich-text toolbar over a rich edit on a small form:
// which text its commands change (the selection, else the word at the
// caret), how the buttons follow the selection, the super/subscript
// exchange, indents, the background menu's check, what it enables on older
// rich edits, which links it opens and the search.
#include <windows.h>
#include <dlgs.h>  // the find dialog's control ids

#include <string>
#include <vector>

#include "dialogs/rtf_toolbar.h"
#include "dialogs/template_editor_logic.h"
#include "tests/unit/ui_test_support.h"
#include "ui/form.h"
#include "ui/rich_edit.h"
#include "ui/rich_edit_objects.h"
#include "ui/timer.h"

namespace {

class FakeSystem : public snibbet::RtfToolbarSystem {
 public:
  void OpenLink(const std::wstring& address) override { opened.push_back(address); }
  void ShowInformation(const std::wstring& text) override { told.push_back(text); }
  std::vector<std::wstring> opened, told;
};

// The toolbar above the rich edit, as the editor's rich-text page holds them.
class ToolbarForm : public ui::Form {
 public:
  explicit ToolbarForm(snibbet::RtfToolbarOptions options)
      : Form({.className = L"TRtfToolbarTestForm", .caption = L"Rich text", .clientWidth = 600, .clientHeight = 360,
              .fontFace = L"Tahoma", .fontPointSize = 8}),
        toolbar(*this, Editor, std::move(options)) {}

  ui::RichEdit Editor{*this, {.name = L"Editor", .width = 100, .height = 100}};
  snibbet::RtfToolbar toolbar;

 protected:
  void OnCreate() override {
    Layout();
    toolbar.Refresh();
  }
  void ApplyLanguage() override { toolbar.ApplyLanguage(); }
  void OnSize(int, int) override { Layout(); }

 private:
  void Layout() {
    if (!Editor.IsCreated()) return;
    const RECT client = ClientRect();
    const int height = toolbar.Layout({0, 0, client.right, 0});
    Editor.SetBounds(0, height + 2, client.right, client.bottom - height - 2);
  }
};

class RtfToolbarTest : public UiTest {
 protected:
  void Open(int richEditVersion = ui::RichEditVersion()) {
    form_ = std::make_unique<ToolbarForm>(
        snibbet::RtfToolbarOptions{.richEditVersion = richEditVersion, .system = &system_});
    form_->Create();
    form_->Show();
    Editor().SetPlainText(L"alpha beta gamma\rsecond paragraph\rthird one");
    Editor().SetSelection({0, -1});
    Editor().SetFontName(L"Arial");
    Editor().SetFontSize(10);
    Editor().SetSelection({0, 0});
  }
  void TearDown() override {
    form_.reset();
    UiTest::TearDown();
  }

  ui::RichEdit& Editor() { return form_->Editor; }
  snibbet::RtfToolbar& Toolbar() { return form_->toolbar; }
  ui::ToolBar& Buttons() { return form_->toolbar.tbrRtf; }

  ui::TextRange Word(const wchar_t* word) {
    const auto found = Editor().Find(word, 0, {.matchCase = true, .wholeWord = true});
    EXPECT_TRUE(found.has_value());
    return found.value_or(ui::TextRange{});
  }
  void Select(const wchar_t* word) { Editor().SetSelection(Word(word)); }
  // The caret `offset` characters into the word.
  void CaretInto(const wchar_t* word, int offset) {
    const int at = Word(word).start + offset;
    Editor().SetSelection({at, at});
  }
  // The attributes of a whole word, read without disturbing the caret for long.
  template <class Read>
  auto Of(const wchar_t* word, Read read) {
    const ui::TextRange before = Editor().Selection();
    Select(word);
    auto value = read(Editor());
    Editor().SetSelection(before);
    return value;
  }
  bool Bold(const wchar_t* word) {
    return Of(word, [](ui::RichEdit& e) { return e.HasStyle(ui::TextStyle::Bold); });
  }
  // A font of the list other than Arial, chosen as the user does.
  std::wstring ChooseListedFont() {
    auto& box = Toolbar().cbFontName;
    EXPECT_GT(box.Count(), 1);
    const std::wstring name = box.ItemText(0) == L"Arial" ? box.ItemText(1) : box.ItemText(0);
    box.SetFontName(name);
    EXPECT_GE(box.ItemIndex(), 0);
    SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(box.Id(), CBN_SELCHANGE), reinterpret_cast<LPARAM>(box.Handle()));
    return name;
  }

  FakeSystem system_;
  std::unique_ptr<ToolbarForm> form_;
};

TEST_F(RtfToolbarTest, CommandsChangeTheSelectionElseTheWordAtTheCaret) {
  Open();
  Select(L"beta");
  Buttons().Click(L"tbBold");
  EXPECT_TRUE(Bold(L"beta"));
  EXPECT_FALSE(Bold(L"alpha"));
  EXPECT_FALSE(Bold(L"gamma"));

  // Nothing selected, caret inside "gamma": the whole word, and the caret stays.
  CaretInto(L"gamma", 2);
  const ui::TextRange caret = Editor().Selection();
  Buttons().Click(L"tbItalic");
  EXPECT_EQ(Editor().Selection(), caret);
  EXPECT_TRUE(Of(L"gamma", [](ui::RichEdit& e) { return e.HasStyle(ui::TextStyle::Italic); }));
  EXPECT_FALSE(Of(L"beta", [](ui::RichEdit& e) { return e.HasStyle(ui::TextStyle::Italic); }));
  EXPECT_TRUE(Buttons().IsDown(L"tbItalic"));

  // The size box and the font list take the word too.
  CaretInto(L"alpha", 3);
  Toolbar().edtFontSize.SetText(L"14");
  EXPECT_EQ(Of(L"alpha", [](ui::RichEdit& e) { return e.FontSize(); }), 14);
  EXPECT_EQ(Of(L"beta", [](ui::RichEdit& e) { return e.FontSize(); }), 10);
  const std::wstring font = ChooseListedFont();
  EXPECT_EQ(Of(L"alpha", [](ui::RichEdit& e) { return e.FontName(); }), font);
  EXPECT_EQ(Of(L"beta", [](ui::RichEdit& e) { return e.FontName(); }), L"Arial");

  // At a word's edge the caret is in no word: the text keeps its look.
  const int afterAlpha = Word(L"alpha").end;
  Editor().SetSelection({afterAlpha, afterAlpha});
  Buttons().Click(L"tbUnderline");
  EXPECT_FALSE(Of(L"alpha", [](ui::RichEdit& e) { return e.HasStyle(ui::TextStyle::Underline); }));
  EXPECT_FALSE(Of(L"beta", [](ui::RichEdit& e) { return e.HasStyle(ui::TextStyle::Underline); }));

  // A font colour from the list.
  Select(L"second");
  auto& colors = Toolbar().cbFontColor;
  colors.SetColor(RGB(255, 0, 0));
  SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(colors.Id(), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(colors.Handle()));
  EXPECT_EQ(Of(L"second", [](ui::RichEdit& e) { return e.TextColor(); }), RGB(255, 0, 0));
}

// The rich edit reports no change for formatting: each command tells the owner itself.
TEST_F(RtfToolbarTest, EveryFormatCommandTellsTheOwnerButShowingTheAttributesDoesNot) {
  Open();
  int told = 0;
  Toolbar().onFormatChange = [&] { ++told; };
  Select(L"beta");
  int expected = 0;
  for (const wchar_t* button : {L"tbBold", L"tbItalic", L"tbUnderline", L"tbCenter", L"tbBullets", L"tbRightInd",
                                L"tbLeftInd", L"tbSuperscript", L"tbSubscript"}) {
    Buttons().Click(button);
    EXPECT_EQ(told, ++expected) << "after " << std::string(button, button + wcslen(button));
  }
  Toolbar().edtFontSize.SetText(L"14");
  EXPECT_EQ(told, ++expected);
  ChooseListedFont();
  EXPECT_EQ(told, ++expected);
  auto& colors = Toolbar().cbFontColor;
  colors.SetColor(RGB(255, 0, 0));
  SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(colors.Id(), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(colors.Handle()));
  EXPECT_EQ(told, ++expected);
  Toolbar().BackgroundMenu.Item(L"miBackYellow").onClick();
  EXPECT_EQ(told, ++expected);

  Select(L"alpha");
  Toolbar().Refresh();
  EXPECT_EQ(told, expected);
}

TEST_F(RtfToolbarTest, ButtonsAndBoxesFollowTheSelectionWithoutChangingIt) {
  Open();
  Select(L"beta");
  Editor().SetStyle(ui::TextStyle::Bold, true);
  Editor().SetFontSize(16);
  Editor().SetTextColor(RGB(0, 0, 128));
  Select(L"second");
  Editor().SetBullets(true);
  Editor().SetFontName(L"Courier New");

  Select(L"beta");  // a selection change refreshes the toolbar
  EXPECT_TRUE(Buttons().IsDown(L"tbBold"));
  EXPECT_FALSE(Buttons().IsDown(L"tbItalic"));
  EXPECT_FALSE(Buttons().IsDown(L"tbBullets"));
  EXPECT_EQ(Toolbar().edtFontSize.Text(), L"16");
  EXPECT_EQ(Toolbar().cbFontName.FontName(), L"Arial");
  EXPECT_EQ(Toolbar().cbFontColor.Color(), RGB(0, 0, 128));
  EXPECT_EQ(Toolbar().cbFontColor.ItemText(Toolbar().cbFontColor.ItemIndex()), L"Navy");
  EXPECT_TRUE(Buttons().IsDown(L"tbLeft"));

  CaretInto(L"second", 1);
  EXPECT_FALSE(Buttons().IsDown(L"tbBold"));
  EXPECT_TRUE(Buttons().IsDown(L"tbBullets"));
  EXPECT_EQ(Toolbar().cbFontName.FontName(), L"Courier New");
  EXPECT_EQ(Toolbar().edtFontSize.Text(), L"10");

  // Showing a mixed selection must not apply what the boxes show to it.
  Editor().SetSelection({Word(L"alpha").start, Word(L"gamma").end});
  EXPECT_EQ(Of(L"alpha", [](ui::RichEdit& e) { return e.FontSize(); }), 10);
  EXPECT_EQ(Of(L"beta", [](ui::RichEdit& e) { return e.FontSize(); }), 16);
  EXPECT_TRUE(Bold(L"beta"));
  EXPECT_FALSE(Bold(L"alpha"));
  EXPECT_EQ(Of(L"beta", [](ui::RichEdit& e) { return e.TextColor(); }), RGB(0, 0, 128));
}

TEST_F(RtfToolbarTest, AlignmentButtonsSetTheParagraphAndOnlyItsButtonStaysDown) {
  Open();
  CaretInto(L"second", 2);
  Buttons().Click(L"tbCenter");
  EXPECT_EQ(Editor().Alignment(), ui::ParagraphAlignment::Center);
  auto downButtons = [&] {
    std::wstring down;
    for (const wchar_t* name : {L"tbLeft", L"tbCenter", L"tbRight", L"tbJustify"}) {
      if (Buttons().IsDown(name)) down += std::wstring(name) + L" ";
    }
    return down;
  };
  EXPECT_EQ(downButtons(), L"tbCenter ");
  Buttons().Click(L"tbRight");
  EXPECT_EQ(Editor().Alignment(), ui::ParagraphAlignment::Right);
  EXPECT_EQ(downButtons(), L"tbRight ");
  Buttons().Click(L"tbRight");  // clicking the button that is down keeps the alignment
  EXPECT_EQ(Editor().Alignment(), ui::ParagraphAlignment::Right);
  EXPECT_EQ(downButtons(), L"tbRight ");
  if (Buttons().IsButtonEnabled(L"tbJustify")) {
    Buttons().Click(L"tbJustify");
    EXPECT_EQ(Editor().Alignment(), ui::ParagraphAlignment::Justify);
    EXPECT_EQ(downButtons(), L"tbJustify ");
  }

  // Only that paragraph: the others stay left, and their caret shows it.
  CaretInto(L"alpha", 1);
  EXPECT_EQ(Editor().Alignment(), ui::ParagraphAlignment::Left);
  EXPECT_EQ(downButtons(), L"tbLeft ");
  CaretInto(L"second", 1);
  EXPECT_NE(downButtons(), L"tbLeft ");
}

TEST_F(RtfToolbarTest, SuperscriptAndSubscriptExchangeAndRelease) {
  Open();
  Select(L"beta");
  Buttons().Click(L"tbSuperscript");
  EXPECT_EQ(Editor().Position(), ui::VerticalPosition::Superscript);
  EXPECT_TRUE(Buttons().IsDown(L"tbSuperscript"));
  EXPECT_FALSE(Buttons().IsDown(L"tbSubscript"));

  Buttons().Click(L"tbSubscript");
  EXPECT_EQ(Editor().Position(), ui::VerticalPosition::Subscript);
  EXPECT_FALSE(Buttons().IsDown(L"tbSuperscript"));
  EXPECT_TRUE(Buttons().IsDown(L"tbSubscript"));

  Buttons().Click(L"tbSuperscript");
  EXPECT_EQ(Editor().Position(), ui::VerticalPosition::Superscript);
  EXPECT_FALSE(Buttons().IsDown(L"tbSubscript"));

  Buttons().Click(L"tbSuperscript");  // released: back to the line
  EXPECT_EQ(Editor().Position(), ui::VerticalPosition::Normal);
  EXPECT_FALSE(Buttons().IsDown(L"tbSuperscript"));
  EXPECT_FALSE(Buttons().IsDown(L"tbSubscript"));
  EXPECT_EQ(Of(L"alpha", [](ui::RichEdit& e) { return e.Position(); }), ui::VerticalPosition::Normal);
}

TEST_F(RtfToolbarTest, IndentsMoveByTwentyPointsAndNotBelowTheMargin) {
  Open();
  CaretInto(L"second", 1);
  Buttons().Click(L"tbLeftInd");
  EXPECT_EQ(Editor().LeftIndent(), 0);
  Buttons().Click(L"tbRightInd");
  Buttons().Click(L"tbRightInd");
  EXPECT_EQ(Editor().LeftIndent(), 40);
  Buttons().Click(L"tbLeftInd");
  EXPECT_EQ(Editor().LeftIndent(), 20);
  Editor().SetLeftIndent(7);
  Buttons().Click(L"tbLeftInd");
  EXPECT_EQ(Editor().LeftIndent(), 0);
  CaretInto(L"alpha", 1);
  EXPECT_EQ(Editor().LeftIndent(), 0);  // the other paragraphs keep theirs
  Buttons().Click(L"tbBullets");
  EXPECT_TRUE(Editor().Bullets());
  Buttons().Click(L"tbBullets");
  EXPECT_FALSE(Editor().Bullets());
}

TEST_F(RtfToolbarTest, BackgroundMenuHoldsTheColoursAndChecksTheCurrentOneWhenItOpens) {
  Open();
  auto& menu = Toolbar().BackgroundMenu;
  ASSERT_EQ(menu.Items().size(), 17u);
  EXPECT_EQ(menu.Items()[0]->caption, L"Black");
  EXPECT_EQ(menu.Items()[3]->caption, L"Olive");
  EXPECT_EQ(static_cast<COLORREF>(menu.Items()[3]->tag), RGB(128, 128, 0));
  EXPECT_EQ(menu.Items()[15]->caption, L"White");
  EXPECT_EQ(menu.Items()[16]->caption, L"Automatic");
  EXPECT_NE(menu.Painter(), nullptr);
  auto checked = [&] {
    std::wstring names;
    for (const auto& item : menu.Items()) {
      if (item->checked) names += item->caption + L" ";
    }
    return names;
  };

  Select(L"beta");
  Toolbar().CheckCurrentBackground();
  EXPECT_EQ(checked(), L"Automatic ");  // not White, even on a white window

  menu.Item(L"miBackYellow").onClick();
  EXPECT_EQ(Of(L"beta", [](ui::RichEdit& e) { return e.BackColor(); }), RGB(255, 255, 0));
  EXPECT_EQ(checked(), L"Yellow ");

  Select(L"alpha");
  Editor().SetBackColor(RGB(255, 255, 255));
  Toolbar().CheckCurrentBackground();
  EXPECT_EQ(checked(), L"White ");
  Editor().SetBackColor(RGB(1, 2, 3));
  Toolbar().CheckCurrentBackground();
  EXPECT_EQ(checked(), L"");

  Select(L"beta");
  menu.Item(L"miBackAutomatic").onClick();
  EXPECT_TRUE(Of(L"beta", [](ui::RichEdit& e) { return e.HasAutoBackColor(); }));
  Toolbar().CheckCurrentBackground();
  EXPECT_EQ(checked(), L"Automatic ");
}

TEST_F(RtfToolbarTest, OlderRichEditsLoseTheButtonsTheyCannotServe) {
  Open(1);
  for (const wchar_t* name : {L"tbSuperscript", L"tbSubscript", L"tbBackground", L"tbJustify"}) {
    EXPECT_FALSE(Buttons().IsButtonEnabled(name)) << testing::PrintToString(std::wstring(name));
  }
  EXPECT_TRUE(Buttons().IsButtonEnabled(L"tbCenter"));
  form_.reset();
  Open(2);
  EXPECT_TRUE(Buttons().IsButtonEnabled(L"tbSuperscript"));
  EXPECT_TRUE(Buttons().IsButtonEnabled(L"tbBackground"));
  EXPECT_FALSE(Buttons().IsButtonEnabled(L"tbJustify"));
  form_.reset();
  Open(3);
  EXPECT_TRUE(Buttons().IsButtonEnabled(L"tbJustify"));
}

TEST(RtfToolbarLinks, OnlyWebMailAndFtpAddressesAreOpenable) {
  for (const wchar_t* link : {L"http://example.com/", L"HTTPS://example.com/a?b", L"mailto:someone@example.com",
                              L"ftp://files.example.com/x", L"Http://x"}) {
    EXPECT_TRUE(snibbet::IsOpenableLink(link)) << testing::PrintToString(std::wstring(link));
  }
  for (const wchar_t* link : {L"file:///C:/Windows/notepad.exe", L"C:\\Windows\\notepad.exe", L"notepad.exe",
                              L"javascript:alert(1)", L"news:comp.lang", L"telnet://host", L"http:", L"",
                              L" http://example.com", L"\\\\server\\share\\run.exe", L"shell:startup"}) {
    EXPECT_FALSE(snibbet::IsOpenableLink(link)) << testing::PrintToString(std::wstring(link));
  }
}

TEST_F(RtfToolbarTest, ALeftClickOnALinkOpensOnlyWebAndMailAddresses) {
  Open();
  Editor().SetPlainText(L"see http://example.com/page then file:///c:/run.exe end");
  auto click = [&](const wchar_t* text, UINT message) {
    const auto found = Editor().Find(text, 0);
    ASSERT_TRUE(found.has_value());
    ENLINK link{};
    link.nmhdr = {Editor().Handle(), static_cast<UINT_PTR>(Editor().Id()), EN_LINK};
    link.msg = message;
    link.chrg = {found->start, found->end};
    SendMessageW(form_->Handle(), WM_NOTIFY, static_cast<WPARAM>(Editor().Id()), reinterpret_cast<LPARAM>(&link));
  };
  click(L"http://example.com/page", WM_LBUTTONDOWN);
  click(L"http://example.com/page", WM_RBUTTONUP);
  EXPECT_TRUE(system_.opened.empty());
  click(L"http://example.com/page", WM_LBUTTONUP);
  click(L"file:///c:/run.exe", WM_LBUTTONUP);
  EXPECT_EQ(system_.opened, std::vector<std::wstring>{L"http://example.com/page"});
}

TEST_F(RtfToolbarTest, FindNextSelectsTheNextMatchAndTellsWhenThereIsNone) {
  Open();
  Editor().SetPlainText(L"one two one two");
  Editor().SetSelection({0, 0});
  Toolbar().FindNext({.text = L"two"});
  EXPECT_EQ(Editor().Selection(), (ui::TextRange{4, 7}));
  Toolbar().FindNext({.text = L"two"});
  EXPECT_EQ(Editor().Selection(), (ui::TextRange{12, 15}));
  EXPECT_TRUE(system_.told.empty());
  Toolbar().FindNext({.text = L"two"});
  EXPECT_EQ(Editor().Selection(), (ui::TextRange{12, 15}));  // stays
  ASSERT_EQ(system_.told.size(), 1u);
  EXPECT_NE(system_.told[0].find(L"\"two\""), std::wstring::npos) << testing::PrintToString(system_.told[0]);
  Editor().SetSelection({0, 0});
  Toolbar().FindNext({.text = L"ONE", .matchCase = true});
  EXPECT_EQ(system_.told.size(), 2u);
}

// The find dialog starts with the selection; its Find Next button and the
// Enter key in it (which the program's loop knows nothing of) search on.
TEST_F(RtfToolbarTest, FindDialogStartsWithTheSelectionAndSearchesOn) {
  Open();
  Editor().SetPlainText(L"one two one two");
  Editor().SetSelection({4, 7});
  Buttons().Click(L"tbFindText");
  HWND dialog = GetLastActivePopup(form_->Handle());
  ASSERT_NE(dialog, form_->Handle());
  wchar_t what[64] = {};
  GetDlgItemTextW(dialog, edt1, what, 64);
  EXPECT_STREQ(what, L"two");

  SendMessageW(dialog, WM_COMMAND, IDOK, 0);  // Find Next
  EXPECT_EQ(Editor().Selection(), (ui::TextRange{12, 15}));
  EXPECT_TRUE(system_.told.empty());

  HWND field = GetDlgItem(dialog, edt1);
  SetForegroundWindow(dialog);
  SetFocus(field);
  PostMessageW(field, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageW(field, WM_KEYUP, VK_RETURN, 0xC0000000);
  EXPECT_TRUE(PumpUntil([&] { return !system_.told.empty(); }));
  SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(IsWindow(dialog));
}

// The insert-object dialog opens over the rich edit's OLE interface; it is
// cancelled here as soon as it shows.
TEST_F(RtfToolbarTest, InsertObjectOpensTheSystemsDialog) {
  Open();
  bool shown = false;
  ui::Timer cancel(100, [&] {
    HWND dialog = GetLastActivePopup(form_->Handle());
    if (dialog && dialog != form_->Handle()) {
      shown = true;
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
  });
  cancel.Start();
  const ui::InsertObjectResult result = ui::ShowInsertObjectDialog(Editor(), form_->Handle());
  cancel.Stop();
  EXPECT_EQ(result, ui::InsertObjectResult::Cancelled);
  EXPECT_TRUE(shown);
}

}  // namespace
