// The template-tag menu on the real system: its captions' samples, the paste
// into the editor's text, and the user's locale formats said in the date
// tag's language.
#include "templates/template_tag_menu.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/clipboard_access.h"
#include "templates/tag_date_locale_win.h"
#include "templates/template_tag_menu_items.h"

namespace snibbet {
namespace {

class FakeEditor : public TagPasteTarget {
 public:
  HWND EditorMemo() const override { return memo; }
  bool EditorIsActiveForm() const override { return active; }
  HWND memo = nullptr;
  bool active = false;
};

class EditWindow {
 public:
  EditWindow()
      : window_(CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr)) {}
  ~EditWindow() { DestroyWindow(window_); }
  HWND Get() const { return window_; }
  std::wstring Text() const {
    wchar_t buffer[256] = {};
    GetWindowTextW(window_, buffer, 256);
    return buffer;
  }

 private:
  HWND window_;
};

std::size_t Count(const std::wstring& text, std::wstring_view part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(TemplateTagMenu, DateAndTimeCaptionsCarryOneSampleAfterTwoLanguageChanges) {
  FakeEditor editor;
  TemplateTagMenu menu(editor);
  menu.ApplyLanguage();
  menu.ApplyLanguage();
  for (auto items : {TagMenuDateItems(), TagMenuTimeItems(), TagMenuDateTimeItems()}) {
    for (const TagMenuItem& item : items) {
      const std::wstring& caption = menu.Menu().Item(item.name).caption;
      EXPECT_EQ(caption.rfind(std::wstring(item.caption) + L" (", 0), 0u) << caption;
      EXPECT_EQ(Count(caption, L" ("), 1u) << caption;
      EXPECT_EQ(caption.back(), L')') << caption;
    }
  }
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_NE(menu.Menu().Item(L"pmid7").caption.find(std::to_wstring(now.wYear) + L")"), std::wstring::npos);
  EXPECT_EQ(menu.Menu().Item(L"pmik7").caption, L"Space");  // key items carry no sample
  EXPECT_EQ(menu.Menu().Item(L"pmiPressKeys").Items().size(), 7u);
}

TEST(TemplateTagMenu, ATagIsPastedIntoTheEditorOnlyWhileItIsTheActiveForm) {
  EditWindow memo;
  FakeEditor editor;
  editor.memo = memo.Get();
  TemplateTagMenu menu(editor);

  menu.Menu().Item(L"pmik7").onClick();  // editor not active: the clipboard only
  EXPECT_EQ(GetClipboardTextW(), L"<KEY $20>");
  EXPECT_EQ(memo.Text(), L"");

  editor.active = true;
  menu.Menu().Item(L"pmidt1").onClick();
  EXPECT_EQ(GetClipboardTextW(), L"<DATETIME >");
  EXPECT_EQ(memo.Text(), L"<DATETIME >");
  menu.Menu().Item(L"pmiClipboardContent").onClick();
  EXPECT_EQ(memo.Text(), L"<DATETIME ><CLIPBOARD>");

  editor.memo = nullptr;  // the editor closed
  menu.Menu().Item(L"pmiSelectionText").onClick();
  EXPECT_EQ(GetClipboardTextW(), L"<SELECTION>");
}

TEST(TemplateTagMenu, NothingIsPastedWhenTheClipboardCannotBeWritten) {
  ASSERT_TRUE(PutClipboardText(L"before"));
  EditWindow memo;
  FakeEditor editor;
  editor.memo = memo.Get();
  editor.active = true;
  TemplateTagMenu menu(editor);

  // Another program holds the clipboard past the writer's wait.
  std::atomic<bool> held{false};
  std::thread holder([&held] {
    if (!OpenClipboard(nullptr)) return;
    held = true;
    Sleep(2500);
    CloseClipboard();
  });
  while (!held) Sleep(5);
  menu.Menu().Item(L"pmit2").onClick();
  holder.join();
  EXPECT_EQ(memo.Text(), L"");
  EXPECT_EQ(GetClipboardTextW(), L"before");
}

TEST(TemplateTagMenu, TheUsersFormatsInTheTagLanguageGiveWhatTheSystemShows) {
  const SystemDateTimePictures pictures = CurrentSystemPictures();
  const SystemTagPatterns patterns = TagPatternsOf(pictures);
  if (GetUserDefaultLCID() == 0x0409) {  // formats the language can say: a translation, not the fallback
    EXPECT_EQ(patterns.longDate, L"dddd, mmmm d, yyyy");
    EXPECT_EQ(patterns.shortDate, L"m/d/yyyy");
    EXPECT_EQ(patterns.longTime, L"h:nn:ss ampm");
  }
  // Morning and afternoon, one- and two-digit days and months, a leap day.
  const SYSTEMTIME moments[] = {
      {2024, 3, 2, 5, 14, 7, 9, 45}, {2009, 11, 0, 29, 0, 5, 3, 0}, {2024, 2, 4, 29, 12, 30, 59, 999},
      {1999, 12, 5, 31, 23, 59, 59, 0}};
  for (const SYSTEMTIME& moment : moments) {
    wchar_t longDate[128], shortDate[128], longTime[128];
    ASSERT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &moment, nullptr, longDate, 128), 0);
    ASSERT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &moment, nullptr, shortDate, 128), 0);
    ASSERT_GT(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &moment, nullptr, longTime, 128), 0);
    const DateTimeContext context = DateTimeContextFor(moment);
    EXPECT_EQ(FormatDateTime(patterns.longDate, context), longDate);
    EXPECT_EQ(FormatDateTime(patterns.shortDate, context), shortDate);
    EXPECT_EQ(FormatDateTime(patterns.longTime, context), longTime);
  }
}

}  // namespace
}  // namespace snibbet
