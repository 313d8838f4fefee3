// The template sets of the program folder, packed at build time by
// templates/zqt_pack.py: the packer writes what the C++ writer writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "templates/template_file_logic.h"
#include "tests/host/zqt_test_support.h"

namespace snibbet {
namespace {

namespace fs = std::filesystem;
using namespace zqt_test;

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  EXPECT_TRUE(in) << file;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fs::path TemplatesFolder() {
  const char* dir = std::getenv("SNIBBET_PROGRAM_DIR");
  return fs::path(dir ? dir : "") / "Templates";
}

TEST(TemplateSets, PackerWritesTheSameBytesAsTheWriter) {
  const OleDate date = OleDate::FromCivil(2020, 2, 29, 18, 30);
  const std::vector<TemplateRecord> expected = {
      {"Alpha", date, kTemplateRichText, "{\\rtf1 caf\\'e9 caf\xE9\\par\r\n}"},
      {"beta", date, kTemplateText,
       "Line one\r\n  indented line with two trailing blanks  \r\n\r\nLine after a blank line"},
      {"empty", date, kTemplateText, ""},
      {"gamma pic", date, kTemplatePicture, "C:\\Pictures\\cat.png"},
      {"\xDCmlaut", date, kTemplateText, "x"},
  };
  EXPECT_EQ(ReadAll(ZQT_PACKED_GOLDEN), WriteZqt(expected));
}

TEST(TemplateSets, EveryShippedSetLoadsAndSavesUnchanged) {
  for (const char* set : {"Test", "Greetings", "Smiles", "HTML", "SQL", "Pascal"}) {
    const std::string bytes = ReadAll(TemplatesFolder() / (std::string(set) + ".zqt"));
    const ZqtReadResult file = ReadZqt(bytes);
    EXPECT_EQ(file.Status, ZqtReadStatus::Complete) << set;
    EXPECT_GE(file.Records.size(), 8u) << set;

    TemplateTable table;
    LoadTemplatesFromBytes(table, bytes, false);
    EXPECT_EQ(table.RowCount(), file.Records.size()) << set << ": a name occurs twice";
    EXPECT_TRUE(table.SortedByName()) << set;
    EXPECT_EQ(TemplatesToBytes(table), bytes) << set;
    if (std::string(set) == "Test") {
      EXPECT_TRUE(HasSampleTemplate(table));
    }
  }
}

TEST(TemplateSets, TheProgramFolderHoldsNoSources) {
  for (const auto& entry : fs::directory_iterator(TemplatesFolder())) {
    EXPECT_EQ(entry.path().extension(), ".zqt") << entry.path();
  }
}

}  // namespace
}  // namespace snibbet
