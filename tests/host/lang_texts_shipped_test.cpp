// Every language-text number the program asks for must be in the shipped
// English file, so that no window ever shows the "No text" default. The
// numbers are found by the call forms documented in core/lang_table.h.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "core/lang_file.h"
#include "core/utf8.h"

namespace snibbet {
namespace {

namespace fs = std::filesystem;

fs::path SourceDir() {
  const char* dir = std::getenv("SNIBBET_SOURCE_DIR");
  return dir ? fs::path(dir) : fs::path();
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Program code only: tests use made-up numbers on purpose.
bool IsProgramFolder(const std::string& name) {
  static const std::set<std::string> skipped = {"tests", "testing", "build", "data", "cmake", "tools"};
  return !name.empty() && name[0] != '.' && !skipped.count(name);
}

std::map<int, std::string> TextNumbersUsedByCode(const fs::path& root) {
  static const std::regex call(R"(\b(LangText|LangId|GetText|SetControlText|SetMenuItemCaption)\s*\(\s*(\d+)\s*[,)])");
  std::map<int, std::string> used;  // number -> first file that uses it
  for (const auto& top : fs::directory_iterator(root)) {
    if (!top.is_directory() || !IsProgramFolder(top.path().filename().string())) continue;
    for (const auto& entry : fs::recursive_directory_iterator(top.path())) {
      const auto ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
      const std::string text = ReadAll(entry.path());
      for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it) {
        used.emplace(std::stoi((*it)[2].str()), fs::relative(entry.path(), root).generic_string());
      }
    }
  }
  return used;
}

class ShippedEnglish : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = SourceDir();
    ASSERT_FALSE(root_.empty()) << "SNIBBET_SOURCE_DIR is not set";
    bytes_ = ReadAll(root_ / "data" / "Lang" / "en.txt");
    ASSERT_FALSE(bytes_.empty()) << "data/Lang/en.txt is missing";
  }
  fs::path root_;
  std::string bytes_;
};

TEST_F(ShippedEnglish, HasEveryTextTheCodeAsksFor) {
  std::set<int> defined;
  for (const auto& entry : ParseLanguageFile(bytes_)) {
    // A number written twice leaves one of its texts unread.
    EXPECT_TRUE(defined.insert(entry.Id).second) << "text " << entry.Id << " is defined twice";
    EXPECT_FALSE(entry.Text.empty()) << "text " << entry.Id << " is empty";
  }
  const auto used = TextNumbersUsedByCode(root_);
  // The scan itself must work: the message-box captions are always asked for.
  for (int id : {9, 10, 11, 12}) ASSERT_TRUE(used.count(id)) << "scan did not find text " << id;
  for (const auto& [id, file] : used) {
    EXPECT_TRUE(defined.count(id)) << "text " << id << " (used in " << file << ") is missing from data/Lang/en.txt";
  }
}

TEST_F(ShippedEnglish, IsUtf8WithMarkAndCrLf) {
  ASSERT_EQ(bytes_.substr(0, 3), std::string(kUtf8Bom));
  for (size_t at = bytes_.find('\n'); at != std::string::npos; at = bytes_.find('\n', at + 1)) {
    ASSERT_TRUE(at > 0 && bytes_[at - 1] == '\r') << "bare LF at byte " << at;
  }
  EXPECT_EQ(bytes_.substr(bytes_.size() - 2), "\r\n");
  EXPECT_EQ(Utf8ToWide(bytes_).find(L'\uFFFD'), std::wstring::npos) << "invalid UTF-8";
  const auto header = ReadLanguageHeader(bytes_);
  EXPECT_EQ(header.DisplayName, L"English");
  EXPECT_EQ(header.LangId, 9);
}

}  // namespace
}  // namespace snibbet
