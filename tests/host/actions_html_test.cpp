#include <gtest/gtest.h>

#include "keyboard/action_html.h"
#include "keyboard/action_kinds.h"
#include "tests/host/language_table_scope.h"
#include "keyboard/actions.h"

namespace snibbet {
namespace {

std::size_t Count(const std::wstring& text, const std::wstring& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

ActionListing Listing() {
  ActionListing l;
  l.productAndVersion = L"Orvane Paste 1.2.3";
  l.heading = L"Hotkeys";
  l.keysColumn = L"Keys";
  l.actionColumn = L"Action";
  l.productPage = L"http://example.test/p";
  l.makerPage = L"http://example.test/m";
  return l;
}

TEST(ActionsHtml, HeadDeclaresUtf8AndBothStyles) {
  const std::wstring page = BuildActionsHtml(Listing());
  EXPECT_EQ(page.rfind(L"<HTML><HEAD><TITLE>Orvane Paste 1.2.3</TITLE>", 0), 0u);
  EXPECT_NE(page.find(L"CONTENT=\"text/html; charset=UTF-8\""), std::wstring::npos);
  EXPECT_NE(page.find(L".Style50 { font-family: 'MS Sans Serif'; font-size: 8pt; color: rgb(0,0,0); "
                      L"background-color: rgb(236,233,216); }"),
            std::wstring::npos);
  EXPECT_NE(page.find(L"background-color: rgb(255,255,255); }"), std::wstring::npos);
  EXPECT_NE(page.find(L"</STYLE>\r\n</HEAD><BODY><H2> Orvane Paste 1.2.3 : Hotkeys</H2>"), std::wstring::npos);
  EXPECT_EQ(Count(page, L"<TABLE CELLSPACING=0 BORDER=1>"), 0u);  // no bindings, no tables
  EXPECT_NE(page.find(L"BGCOLOR=\"#6699cc\""), std::wstring::npos);
  EXPECT_NE(page.find(L"http://example.test/p"), std::wstring::npos);
  EXPECT_NE(page.find(L"http://example.test/m"), std::wstring::npos);
}

TEST(ActionsHtml, OneTablePerKindRunAndNumberedPictures) {
  ActionListing l = Listing();
  l.rows = {{6, L"Program", L"Win+Space", L"Templates"},
            {6, L"Program", L"Win+K", L"Keyboard"},
            {11, L"Layout", L"Win+Shift", L"Retype"}};
  const std::wstring page = BuildActionsHtml(l);
  EXPECT_EQ(Count(page, L"\r\n<TABLE CELLSPACING=0 BORDER=1>"), 2u);
  EXPECT_EQ(Count(page, L"</TABLE>\r\n"), 3u);  // two binding tables and the footer
  EXPECT_NE(page.find(L"<H3>Program</H3>\r\n<TABLE CELLSPACING=0 BORDER=1><TR>"
                      L"<TD WIDTH=50 ALIGN=CENTER CLASS=Style50><B>Keys</B></TD>"
                      L"<TD WIDTH=500 ALIGN=CENTER CLASS=Style50><B>Action</B></TD></TR>\r\n"),
            std::wstring::npos);
  EXPECT_NE(page.find(L"<TR CLASS=Style0><TD ALIGN=LEFT>Win+Space</TD><TD ALIGN=LEFT>"
                      L"<IMG src=\"zqkeys/pic0.bmp\">&nbsp;&nbsp;Templates</TD></TR>\r\n"),
            std::wstring::npos);
  EXPECT_NE(page.find(L"zqkeys/pic1.bmp\">&nbsp;&nbsp;Keyboard"), std::wstring::npos);
  EXPECT_NE(page.find(L"</TABLE>\r\n<H3>Layout</H3>"), std::wstring::npos);
  EXPECT_NE(page.find(L"zqkeys/pic2.bmp\">&nbsp;&nbsp;Retype"), std::wstring::npos);
  EXPECT_LT(page.find(L"pic2.bmp"), page.rfind(L"</TABLE>\r\n"));
}

TEST(ActionsHtml, BindingTextsCannotInjectMarkupAndKeepTheirLineBreaks) {
  ActionListing l = Listing();
  l.rows = {{3, L"<i>Text</i>", L"Win+\"", L"a <script>alert(1)</script> & b\r\nline2\nline3\rline4"}};
  const std::wstring page = BuildActionsHtml(l);
  EXPECT_EQ(page.find(L"<script>"), std::wstring::npos);
  EXPECT_EQ(page.find(L"<i>"), std::wstring::npos);
  EXPECT_NE(page.find(L"&lt;i&gt;Text&lt;/i&gt;"), std::wstring::npos);
  EXPECT_NE(page.find(L"<TD ALIGN=LEFT>Win+&quot;</TD>"), std::wstring::npos);
  EXPECT_NE(page.find(L"a &lt;script&gt;alert(1)&lt;/script&gt; &amp; b<BR>line2<BR>line3<BR>line4</TD>"),
            std::wstring::npos);
}

TEST(ActionsHtml, RowsComeFromTheSortedList) {
  {
    const testing::LanguageTableScope texts([](int n) { return L"t" + std::to_wstring(n); });
    KindCatalogue().Rebuild();
    TQvActions list;
    TQvAction* hotkey = list.Add(32, 0x80);
    hotkey->SetKind(8);
    hotkey->SetParam(1);
    TQvAction* text = list.Add(65, 0x20);
    text->SetKind(3);
    text->SetText(L"hi");
    list.BuildSortedList();
    const auto rows = ListingRows(list);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].kindPosition, 3);
    EXPECT_EQ(rows[0].kindName, L"t203");
    EXPECT_EQ(rows[0].shortcut, L"Ctrl+A");
    EXPECT_EQ(rows[0].description, L"hi");
    EXPECT_EQ(rows[1].kindPosition, 6);
    EXPECT_EQ(rows[1].shortcut, L"Win+Space");
    EXPECT_EQ(rows[1].description, L"t204");
  }
  KindCatalogue().Rebuild();
}

}  // namespace
}  // namespace snibbet
