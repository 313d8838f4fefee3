// The rich editor: formatting that survives a trip through RTF, plain text in
// UTF-16, search, the modified flag and notifications, pasting a picture.
#include <string>

#include "tests/unit/ui_test_support.h"
#include "ui/form.h"
#include "ui/gdi.h"
#include "ui/rich_edit.h"

namespace {

class RichForm : public ui::Form {
 public:
  RichForm() : Form({.className = L"TRichTestForm", .clientWidth = 420, .clientHeight = 320}) {}
  ui::RichEdit editor{*this, {.name = L"editor", .width = 400, .height = 150}};
  ui::RichEdit copy{*this, {.name = L"copy", .top = 160, .width = 400, .height = 150}};
};

using RichEditTest = UiTest;

constexpr wchar_t kText[] = L"alpha beta gamma delta\rsecond line\rthird\rfourth";

ui::TextRange RangeOf(ui::RichEdit& edit, const wchar_t* word) {
  const auto found = edit.Find(word, 0, {.matchCase = true, .wholeWord = true});
  EXPECT_TRUE(found.has_value()) << "missing " << testing::PrintToString(std::wstring(word));
  return found.value_or(ui::TextRange{});
}

void Select(ui::RichEdit& edit, const wchar_t* word) { edit.SetSelection(RangeOf(edit, word)); }

TEST_F(RichEditTest, CharacterAndParagraphFormatsSurviveTheTripThroughRtf) {
  RichForm form;
  form.Create();
  ASSERT_GE(ui::RichEditVersion(), 2);
  auto& e = form.editor;
  e.SetPlainText(kText);
  e.SetSelection({0, -1});
  e.SetFontName(L"Arial");
  e.SetFontSize(10);
  Select(e, L"alpha");
  e.SetStyle(ui::TextStyle::Bold, true);
  Select(e, L"beta");
  e.SetStyle(ui::TextStyle::Italic, true);
  e.SetStyle(ui::TextStyle::Underline, true);
  Select(e, L"gamma");
  e.SetFontName(L"Courier New");
  e.SetFontSize(14);
  Select(e, L"delta");
  e.SetTextColor(RGB(0, 128, 0));
  e.SetBackColor(RGB(255, 255, 0));
  Select(e, L"second");
  e.SetPosition(ui::VerticalPosition::Superscript);
  e.SetAlignment(ui::ParagraphAlignment::Center);
  Select(e, L"line");
  e.SetPosition(ui::VerticalPosition::Subscript);
  Select(e, L"third");
  e.SetAlignment(ui::ParagraphAlignment::Right);
  e.SetBullets(true);
  Select(e, L"fourth");
  e.SetAlignment(ui::ParagraphAlignment::Justify);
  e.SetLeftIndent(20);

  EXPECT_EQ(e.Alignment(), ui::ParagraphAlignment::Justify);

  const std::string rtf = e.Rtf();
  // Some rich-edit versions write justification but do not read it back.
  EXPECT_NE(rtf.find("\\qj"), std::string::npos);
  ASSERT_EQ(rtf.rfind("{\\rtf", 0), 0u) << rtf;
  auto& c = form.copy;
  c.SetRtf(rtf);
  EXPECT_EQ(c.PlainText(), e.PlainText());

  Select(c, L"alpha");
  EXPECT_TRUE(c.HasStyle(ui::TextStyle::Bold));
  EXPECT_FALSE(c.HasStyle(ui::TextStyle::Italic));
  EXPECT_EQ(c.FontName(), L"Arial");
  EXPECT_EQ(c.FontSize(), 10);
  EXPECT_EQ(c.Alignment(), ui::ParagraphAlignment::Left);
  Select(c, L"beta");
  EXPECT_FALSE(c.HasStyle(ui::TextStyle::Bold));
  EXPECT_TRUE(c.HasStyle(ui::TextStyle::Italic));
  EXPECT_TRUE(c.HasStyle(ui::TextStyle::Underline));
  Select(c, L"gamma");
  EXPECT_EQ(c.FontName(), L"Courier New");
  EXPECT_EQ(c.FontSize(), 14);
  EXPECT_FALSE(c.HasStyle(ui::TextStyle::Underline));
  Select(c, L"delta");
  EXPECT_EQ(c.TextColor(), RGB(0, 128, 0));
  EXPECT_EQ(c.BackColor(), RGB(255, 255, 0));
  EXPECT_EQ(c.Position(), ui::VerticalPosition::Normal);
  Select(c, L"second");
  EXPECT_EQ(c.Position(), ui::VerticalPosition::Superscript);
  EXPECT_EQ(c.Alignment(), ui::ParagraphAlignment::Center);
  EXPECT_FALSE(c.Bullets());
  Select(c, L"line");
  EXPECT_EQ(c.Position(), ui::VerticalPosition::Subscript);  // the other one is cleared
  EXPECT_EQ(c.TextColor(), GetSysColor(COLOR_WINDOWTEXT));
  Select(c, L"third");
  EXPECT_EQ(c.Alignment(), ui::ParagraphAlignment::Right);
  EXPECT_TRUE(c.Bullets());
  EXPECT_EQ(c.LeftIndent(), 0);
  Select(c, L"fourth");
  EXPECT_EQ(c.LeftIndent(), 20);
  EXPECT_FALSE(c.Bullets());

  // Taking a style off again.
  Select(c, L"beta");
  c.SetStyle(ui::TextStyle::Italic, false);
  EXPECT_FALSE(c.HasStyle(ui::TextStyle::Italic));
  EXPECT_TRUE(c.HasStyle(ui::TextStyle::Underline));
}

TEST_F(RichEditTest, PlainTextIsUtf16AndSearchHonoursCaseAndWholeWords) {
  RichForm form;
  form.Create();
  auto& e = form.editor;
  const std::wstring text = L"Grüße – 日本 Beta alphabet alpha";
  e.SetPlainText(text);
  EXPECT_EQ(e.PlainText(), text);

  const auto beta = e.Find(L"beta", 0);
  ASSERT_TRUE(beta.has_value());
  EXPECT_EQ(beta->start, static_cast<int>(text.find(L"Beta")));
  EXPECT_EQ(beta->end, beta->start + 4);
  EXPECT_FALSE(e.Find(L"beta", 0, {.matchCase = true}).has_value());
  EXPECT_EQ(e.Find(L"alpha", 0)->start, static_cast<int>(text.find(L"alphabet")));
  EXPECT_EQ(e.Find(L"alpha", 0, {.wholeWord = true})->start, static_cast<int>(text.rfind(L"alpha")));
  EXPECT_FALSE(e.Find(L"alpha", static_cast<int>(text.rfind(L"alpha")) + 1).has_value());

  e.SetSelection(*beta);
  EXPECT_EQ(e.Selection(), *beta);
  EXPECT_EQ(e.SelectedText(), L"Beta");
}

TEST_F(RichEditTest, OwnTextChangesAreNotReportedAsTheUsersAndClearTheModifiedFlag) {
  RichForm form;
  int changes = 0, selectionMoves = 0;
  form.editor.onChange = [&] { ++changes; };
  form.editor.onSelectionChange = [&] { ++selectionMoves; };
  form.Create();
  auto& e = form.editor;
  e.SetPlainText(L"one two");
  e.SetRtf("{\\rtf1\\ansi {\\b bold} text}");
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(e.Modified());
  EXPECT_EQ(e.PlainText(), L"bold text");

  e.SetSelection({0, 4});
  EXPECT_GE(selectionMoves, 1);
  e.ReplaceSelection(L"typed");  // as the user's typing does
  EXPECT_GE(changes, 1);
  EXPECT_TRUE(e.Modified());
  EXPECT_EQ(e.PlainText(), L"typed text");
  e.SetModified(false);
  EXPECT_FALSE(e.Modified());
}

// What the user types where no text brings a format: the editor's own font,
// in no style, even after a styled document or a form font change.
TEST_F(RichEditTest, TextTypedFromScratchTakesTheOwnFontInNoStyle) {
  RichForm form;
  form.editor.SetDefaultFont({.face = L"Times New Roman", .pixelHeight = 16, .charset = GB2312_CHARSET});
  form.Create();
  auto& e = form.editor;
  auto typeAndRead = [&](const wchar_t* text) {
    for (const wchar_t* c = text; *c; ++c) SendMessageW(e.Handle(), WM_CHAR, *c, 0);
    e.SetSelection({0, -1});
    const CHARFORMAT2W format = e.CharFormat();
    EXPECT_STREQ(format.szFaceName, L"Times New Roman") << testing::PrintToString(std::wstring(text));
    EXPECT_EQ(format.bCharSet, GB2312_CHARSET);
    EXPECT_EQ(e.FontSize(), 12);
    for (auto style : {ui::TextStyle::Bold, ui::TextStyle::Italic, ui::TextStyle::Underline})
      EXPECT_FALSE(e.HasStyle(style)) << testing::PrintToString(std::wstring(text)) << " style " << static_cast<int>(style);
  };
  typeAndRead(L"fresh");

  // A bold one can be made of it, as the toolbar does.
  e.SetStyle(ui::TextStyle::Bold, true);
  EXPECT_TRUE(e.HasStyle(ui::TextStyle::Bold));

  e.SetRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs40\\b\\i\\ul Old\\par}");
  e.SetPlainText(L"");
  typeAndRead(L"after");

  LOGFONTW bold{};
  bold.lfHeight = -20;
  bold.lfWeight = FW_BOLD;
  wcscpy_s(bold.lfFaceName, L"Arial");
  form.SetFont(bold);
  e.SetPlainText(L"");
  typeAndRead(L"refont");
}

TEST(RichEditVersionTest, Riched20FileVersionsMapToTheirRichEditVersions) {
  EXPECT_EQ(ui::RichEdit20VersionOf(5, 0), 2);
  EXPECT_EQ(ui::RichEdit20VersionOf(5, 29), 2);
  EXPECT_EQ(ui::RichEdit20VersionOf(5, 30), 3);
  EXPECT_EQ(ui::RichEdit20VersionOf(5, 31), 3);
  EXPECT_EQ(ui::RichEdit20VersionOf(6, 0), 3);
}

// A small red picture.
ui::Bitmap RedPicture() {
  ui::WindowDC screen;
  ui::Bitmap picture(CreateCompatibleBitmap(screen, 8, 8));
  ui::MemoryDC dc(screen);
  ui::SelectedObject selected(dc, picture.Get());
  RECT all{0, 0, 8, 8};
  ui::Brush red(CreateSolidBrush(RGB(255, 0, 0)));
  FillRect(dc, &all, red.Get());
  return picture;
}

TEST_F(RichEditTest, PastedPictureLandsAtTheCaretAndStaysOnTheClipboard) {
  RichForm form;
  form.Create();
  auto& e = form.editor;
  e.SetPlainText(L"ab");
  e.SetSelection({1, 1});
  const ui::Bitmap picture = RedPicture();
  ASSERT_TRUE(e.PastePicture(picture.Get()));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  // The picture is one object character between the letters.
  const std::wstring text = e.PlainText();
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(text.front(), L'a');
  EXPECT_EQ(text.back(), L'b');
  EXPECT_NE(e.Rtf().find("\\pict"), std::string::npos);
  EXPECT_FALSE(e.PastePicture(nullptr));
}

}  // namespace
