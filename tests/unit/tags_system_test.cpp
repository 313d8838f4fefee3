// The tags' system side without typing: the user's locale for dates and
// reading tag files from disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "templates/tag_date_locale_win.h"
#include "templates/template_tags_win.h"

namespace snibbet {
namespace {

SYSTEMTIME Moment(WORD year, WORD month, WORD day, WORD dayOfWeek, WORD hour) {
  SYSTEMTIME t{};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wDayOfWeek = dayOfWeek;
  t.wHour = hour;
  t.wMinute = 7;
  t.wSecond = 9;
  t.wMilliseconds = 45;
  return t;
}

bool EnglishUs() { return GetUserDefaultLCID() == 0x0409; }

TEST(TagDateLocale, NamesAndFormatsOfTheUsersLocale) {
  if (!EnglishUs()) GTEST_SKIP() << "needs the en-US locale";
  const DateTimeContext tuesday = DateTimeContextFor(Moment(2024, 3, 5, 2, 14));
  EXPECT_EQ(FormatDateTime(L"dddd d mmmm yyyy, ddd mmm", tuesday), L"Tuesday 5 March 2024, Tue Mar");
  EXPECT_EQ(FormatDateTime(L"mm/dd/yy hh:nn am/pm", tuesday), L"03/05/24 02:07 pm");
  EXPECT_EQ(FormatDateTime(L"ddddd", tuesday), L"3/5/2024");
  EXPECT_EQ(FormatDateTime(L"ampm", tuesday), L"PM");
  const DateTimeContext sunday = DateTimeContextFor(Moment(2023, 12, 31, 0, 9));
  EXPECT_EQ(FormatDateTime(L"dddd ddd mmmm mmm", sunday), L"Sunday Sun December Dec");
  EXPECT_EQ(FormatDateTime(L"ampm", sunday), L"AM");
}

TEST(TagDateLocale, PresentTime) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_EQ(FormatDateTime(L"yyyy", CurrentDateTimeContext()), std::to_wstring(now.wYear));
  EXPECT_FALSE(FormatDateTime(L"", CurrentDateTimeContext()).empty());
}

class TagFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             (L"snibbet_tags_" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::wstring Write(const wchar_t* name, const std::string& bytes) {
    const std::filesystem::path path = folder / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.wstring();
  }
  static std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

  std::wstring Expand(const std::wstring& text) { return ExpandTextTags(text, env); }

  std::filesystem::path folder;
  WindowsTagEnvironment env;
};

TEST_F(TagFiles, ReadsLinesOfSingleByteAndMarkedUnicodeFiles) {
  const std::wstring ansi = Write(L"ansi.txt", "one\ntwo");
  const std::wstring utf8 = Write(L"utf8.txt", "\xEF\xBB\xBF\xE2\x82\xAC");
  const std::wstring utf16 = Write(L"utf16.txt", std::string("\xFF\xFE\xAC\x20", 4));
  EXPECT_EQ(Expand(L"<FILE " + ansi + L">|<FILE " + utf8 + L">|<FILE " + utf16 + L">"),
            L"one\r\ntwo\r\n|\u20AC\r\n|\u20AC\r\n");
}

TEST_F(TagFiles, MissingFilesAndFoldersStayAsWritten) {
  const std::wstring text = L"<FILE " + (folder / L"none.txt").wstring() + L"> <FILE " + folder.wstring() + L">";
  EXPECT_EQ(Expand(text), text);
}

TEST_F(TagFiles, AFileIncludingItselfStopsAtTheBound) {
  const std::wstring self = (folder / L"self.txt").wstring();
  Write(L"self.txt", "x<FILE " + Narrow(self) + ">");
  const std::wstring text = Expand(L"<FILE " + self + L">");
  EXPECT_EQ(text.find(L"<FILE "), 32u);
  EXPECT_EQ(text.substr(0, 32), std::wstring(32, L'x'));
}

TEST_F(TagFiles, AFileBeyondTheBoundIsNotRead) {
  const std::wstring big = Write(L"big.txt", std::string(3 * 1024 * 1024, 'b'));
  const std::wstring text = L"<FILE " + big + L">";
  EXPECT_EQ(Expand(text), text);
}

}  // namespace
}  // namespace snibbet
