// Every language-text number the program asks for must be in the shipped
// English file, so that no window ever shows the "No text" default. The
// numbers are found by the call forms documented in core/lang_table.h.
// Every other shipped language gives each English number a text with the same
// placeholders and line breaks, in the same encoding.
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
#include "core/tray_lookups.h"
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

// The file's bytes: UTF-8 with its byte-order mark, every line ended by CR LF.
void ExpectUtf8WithMarkAndCrLf(const std::string& bytes, const std::string& name) {
  ASSERT_EQ(bytes.substr(0, 3), std::string(kUtf8Bom)) << name;
  for (size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1)) {
    ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << name << ": bare LF at byte " << at;
  }
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << name;
  EXPECT_EQ(Utf8ToWide(bytes).find(L'\uFFFD'), std::wstring::npos) << name << ": invalid UTF-8";
}

// What a translation must keep of a text: its placeholders ("%1", "%2", in
// any order) and its number of line breaks, by which some texts are split
// into list items.
struct TextShape {
  std::multiset<std::wstring> placeholders;
  size_t lineBreaks = 0;
  bool operator==(const TextShape&) const = default;
};

TextShape ShapeOf(const std::wstring& text) {
  static const std::wregex placeholder(L"%[0-9]+");
  TextShape shape;
  for (std::wsregex_iterator it(text.begin(), text.end(), placeholder), end; it != end; ++it)
    shape.placeholders.insert(it->str());
  for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at + 2)) ++shape.lineBreaks;
  return shape;
}

std::string Describe(const TextShape& shape) {
  std::string text;
  for (const auto& p : shape.placeholders) text += WideToUtf8(p) + " ";
  return text + std::to_string(shape.lineBreaks) + " line breaks";
}

// The texts of a language file by number; a number written twice fails.
std::map<int, std::wstring> TextsOf(const std::string& bytes, const std::string& name) {
  std::map<int, std::wstring> texts;
  for (const auto& entry : ParseLanguageFile(bytes)) {
    EXPECT_TRUE(texts.emplace(entry.Id, entry.Text).second) << name << ": text " << entry.Id << " is defined twice";
    EXPECT_FALSE(entry.Text.empty()) << name << ": text " << entry.Id << " is empty";
  }
  return texts;
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
  for (const auto& [id, text] : TextsOf(bytes_, "en.txt")) defined.insert(id);
  const auto used = TextNumbersUsedByCode(root_);
  // The scan itself must work: the message-box captions are always asked for.
  for (int id : {9, 10, 11, 12}) ASSERT_TRUE(used.count(id)) << "scan did not find text " << id;
  for (const auto& [id, file] : used) {
    EXPECT_TRUE(defined.count(id)) << "text " << id << " (used in " << file << ") is missing from data/Lang/en.txt";
  }
}

TEST_F(ShippedEnglish, IsUtf8WithMarkAndCrLf) {
  ExpectUtf8WithMarkAndCrLf(bytes_, "en.txt");
  const auto header = ReadLanguageHeader(bytes_);
  EXPECT_EQ(header.DisplayName, L"English");
  EXPECT_EQ(header.LangId, 9);
}

TEST_F(ShippedEnglish, EveryOtherLanguageGivesEachNumberATextOfTheSameShape) {
  const std::map<int, std::wstring> english = TextsOf(bytes_, "en.txt");
  std::map<int32_t, std::string> numbers{{ReadLanguageHeader(bytes_).LangId, "en.txt"}};
  int languages = 0;
  for (const auto& file : fs::directory_iterator(root_ / "data" / "Lang")) {
    const std::string name = file.path().filename().string();
    if (file.path().extension() != ".txt" || name == "en.txt") continue;
    ++languages;
    const std::string bytes = ReadAll(file.path());
    ExpectUtf8WithMarkAndCrLf(bytes, name);
    // The language list shows it under its own name, with a flag, and the
    // setting that chooses it names no other file.
    const LanguageHeader header = ReadLanguageHeader(bytes);
    EXPECT_FALSE(header.DisplayName.empty()) << name;
    EXPECT_NE(LayoutToFlagIndex(static_cast<uint32_t>(header.LangId)), 0) << name << ": no flag for " << header.LangId;
    const auto [other, fresh] = numbers.emplace(header.LangId, name);
    EXPECT_TRUE(fresh) << name << " has the language number of " << other->second;

    const std::map<int, std::wstring> texts = TextsOf(bytes, name);
    for (const auto& [id, text] : english) {
      const auto it = texts.find(id);
      if (it == texts.end()) {
        ADD_FAILURE() << name << " lacks text " << id;
        continue;
      }
      if (id == kLangDisplayNameId || id == kLangNumberId) continue;
      EXPECT_TRUE(ShapeOf(it->second) == ShapeOf(text))
          << name << ", text " << id << ": " << Describe(ShapeOf(it->second)) << " where English has "
          << Describe(ShapeOf(text));
    }
    for (const auto& [id, text] : texts) EXPECT_TRUE(english.count(id)) << name << ": text " << id << " is not in en.txt";
  }
  EXPECT_GT(languages, 0) << "no language besides English in data/Lang";
}

}  // namespace
}  // namespace snibbet
