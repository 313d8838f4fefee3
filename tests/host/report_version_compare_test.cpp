// The version file's first line against the program's own version.
#include "core/version_compare.h"

#include <gtest/gtest.h>

namespace snibbet {
namespace {

TEST(ParseVersion, DottedNumbersWithBlanksAround) {
  EXPECT_EQ(ParseVersion(L"2.3.0.1"), (std::vector<uint32_t>{2, 3, 0, 1}));
  EXPECT_EQ(ParseVersion(L"  10.0\t"), (std::vector<uint32_t>{10, 0}));
  EXPECT_EQ(ParseVersion(L"7"), (std::vector<uint32_t>{7}));
  EXPECT_EQ(ParseVersion(L"4294967295.0"), (std::vector<uint32_t>{4294967295u, 0}));
}

TEST(ParseVersion, AnythingElseIsNoVersion) {
  for (const wchar_t* text : {L"", L"   ", L"2..3", L".2.3", L"2.3.", L"v2.3", L"2.3 beta", L"2,3", L"2.-3",
                              L"4294967296.0", L"<html><head><title>404 Not Found</title>", L"2. 3"}) {
    EXPECT_FALSE(ParseVersion(text).has_value()) << "accepted: \"" << std::string(text, text + wcslen(text)) << "\"";
  }
}

struct Case {
  const wchar_t* remote;
  const wchar_t* local;
  bool newer;
};

TEST(IsNewerVersion, NumberByNumberWhateverTheLength) {
  const Case cases[] = {
      {L"2.3.0.1", L"2.3.0.1", false},
      {L"2.3.0.0", L"2.3.0.1", false},
      {L"2.3.0.2", L"2.3.0.1", true},
      {L"2.3.0.10", L"2.3.0.9", true},
      {L"2.3.0.9", L"2.3.0.10", false},  // shorter text, older version
      {L"2.9", L"2.10", false},
      {L"2.10", L"2.9", true},
      {L"3", L"2.99.99.99", true},
      {L"2.3", L"2.3.0.0", false},        // missing numbers count as 0
      {L"2.3.0.0.1", L"2.3", true},
      {L"02.03.00.01", L"2.3.0.1", false},  // leading zeros change nothing
      {L"1.0.0.0", L"2.3.0.1", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsNewerVersion(c.remote, c.local), c.newer)
        << std::string(c.remote, c.remote + wcslen(c.remote)) << " against " << std::string(c.local, c.local + wcslen(c.local));
  }
}

TEST(IsNewerVersion, NothingIsNewerThanAnUnknownVersionAndNoVersionIsNewer) {
  EXPECT_FALSE(IsNewerVersion(L"", L"2.3.0.1"));
  EXPECT_FALSE(IsNewerVersion(L"<!DOCTYPE html>", L"2.3.0.1"));
  EXPECT_FALSE(IsNewerVersion(L"99.0.0.0", L""));  // a program without a version resource
}

TEST(SplitVersionFile, FirstLineIsTheVersionTheRestTheNews) {
  VersionFile file = SplitVersionFile("2.4.0.0\r\nLine one\r\nLine two");
  EXPECT_EQ(file.version, "2.4.0.0");
  EXPECT_EQ(file.news, "Line one\r\nLine two");

  file = SplitVersionFile("2.4.0.0\nUnix line\n");  // a server that writes LF alone
  EXPECT_EQ(file.version, "2.4.0.0");
  EXPECT_EQ(file.news, "Unix line\n");

  file = SplitVersionFile("\xEF\xBB\xBF" "2.4.0.0\r\n");
  EXPECT_EQ(file.version, "2.4.0.0");
  EXPECT_EQ(file.news, "");

  file = SplitVersionFile("2.4.0.0");
  EXPECT_EQ(file.version, "2.4.0.0");
  EXPECT_EQ(file.news, "");

  file = SplitVersionFile("");
  EXPECT_EQ(file.version, "");
}

}  // namespace
}  // namespace snibbet
