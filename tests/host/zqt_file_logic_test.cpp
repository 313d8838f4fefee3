// Load, merge, set removal, save and the sample template on the template table.
#include <gtest/gtest.h>

#include "templates/template_file_logic.h"
#include "tests/host/zqt_test_support.h"

namespace snibbet {
namespace {

using namespace zqt_test;

class FileLogic : public ::testing::Test {
 protected:
  FileLogic() : table(NameFolding(), [] { return OleDate::FromValue(50000); }) { table.Open(); }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (std::size_t r = 0; r < table.RowCount(); ++r) names.emplace_back(table.RowAt(r).Name);
    return names;
  }

  void Add(const std::string& name, const std::string& content = "c") {
    table.Append();
    table.SetName(name);
    table.SetTemplate(content);
    table.Post();
  }

  TemplateTable table;
};

TEST_F(FileLogic, LoadingReplacesOrMergesByNameIgnoringCase) {
  Add("Hello", "old");
  Add("keep");
  const std::string file = RawFile(3, {RawRecord("HELLO", 7, kTemplateRichText, "{\\rtf1 new}"),
                                       RawRecord("twice", 1, 0, "first"), RawRecord("TWICE", 2, 0, "second")});
  EXPECT_EQ(LoadTemplatesFromBytes(table, file, true), ZqtReadStatus::Complete);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Hello", "keep", "twice"}));
  EXPECT_EQ(table.RowAt(0).Owned(), (TemplateRecord{"Hello", OleDate::FromValue(7), kTemplateRichText, "{\\rtf1 new}"}));
  EXPECT_EQ(table.RowAt(2).Template, "second");

  EXPECT_EQ(LoadTemplatesFromBytes(table, file, false), ZqtReadStatus::Complete);
  EXPECT_EQ(Names(), (std::vector<std::string>{"HELLO", "twice"}));
}

TEST_F(FileLogic, AnEmptyContentKeepsWhatTheTemplateHad) {
  Add("a", "kept");
  LoadTemplatesFromBytes(table, RawFile(2, {RawRecord("A", 3, 0, ""), RawRecord("b", 3, 0, "")}), true);
  EXPECT_EQ(table.RowAt(0).Template, "kept");
  EXPECT_EQ(table.RowAt(0).Date, OleDate::FromValue(3));
  EXPECT_EQ(table.RowAt(1).Template, "");
}

TEST_F(FileLogic, DamagedFilesKeepWhatWasReadBeforeTheDamage) {
  Add("mine");
  EXPECT_EQ(LoadTemplatesFromBytes(table, "ZQT", true), ZqtReadStatus::BadMagic);
  EXPECT_EQ(Names(), std::vector<std::string>{"mine"});  // merging nothing keeps everything
  EXPECT_EQ(LoadTemplatesFromBytes(table, "ZQT2\x01\x00", false), ZqtReadStatus::BadMagic);
  EXPECT_TRUE(Names().empty());  // a replacing load empties first

  std::string cut = RawFile(2, {RawRecord("read", 1, 0, "x"), RawRecord("cut", 1, 0, "0123456789")});
  cut.resize(cut.size() - 1);
  EXPECT_EQ(LoadTemplatesFromBytes(table, cut, false), ZqtReadStatus::Damaged);
  EXPECT_EQ(Names(), std::vector<std::string>{"read"});
}

TEST_F(FileLogic, LongNamesAreCutBeforeTheyAreCompared) {
  const std::string longName(130, 'n');
  const std::string set = RawFile(1, {RawRecord(longName, 1, 0, "x")});
  LoadTemplatesFromBytes(table, set, true);
  LoadTemplatesFromBytes(table, set, true);
  EXPECT_EQ(Names(), std::vector<std::string>{std::string(100, 'n')});
  EXPECT_EQ(RemoveTemplatesOfBytes(table, set), ZqtReadStatus::Complete);
  EXPECT_TRUE(Names().empty());
}

TEST_F(FileLogic, RemovingASetTakesOutItsNamesOnly) {
  Add("Smile");
  Add("mine");
  Add("wink");
  const std::string set = RawFile(3, {RawRecord("smile", 1, 0, ":-)"), RawRecord("WINK", 1, 0, ";-)"),
                                      RawRecord("grin", 1, 0, ":-D")});
  EXPECT_EQ(RemoveTemplatesOfBytes(table, set), ZqtReadStatus::Complete);
  EXPECT_EQ(Names(), std::vector<std::string>{"mine"});
  EXPECT_EQ(RemoveTemplatesOfBytes(table, "not a template file"), ZqtReadStatus::BadMagic);
  EXPECT_EQ(Names(), std::vector<std::string>{"mine"});
}

TEST_F(FileLogic, AnEmptyTableSavesAsSixBytes) {
  EXPECT_EQ(TemplatesToBytes(table), std::string("ZQT1\0\0", 6));
  Add("x");
  EXPECT_EQ(LoadTemplatesFromBytes(table, std::string("ZQT1\0\0", 6), false), ZqtReadStatus::Complete);
  EXPECT_TRUE(Names().empty());
}

TEST_F(FileLogic, SavingSortsByNameAndKeepsTheCurrentTemplate) {
  Add("beta");
  Add("Alpha");
  table.First();  // beta
  const auto bytes = TemplatesToBytes(table);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Alpha", "beta"}));
  EXPECT_EQ(table.Current()->Name, "beta");
  const ZqtReadResult file = ReadZqt(*bytes);
  ASSERT_EQ(file.Records.size(), 2u);
  EXPECT_EQ(file.Records[0].Name, "Alpha");
}

TEST_F(FileLogic, SavingSettlesTheRowInEditAndIgnoresTheFilter) {
  Add("apple");
  Add("banana");
  table.SetFilterText("b");
  table.SetFiltered(true);
  table.Append();  // nobody types into it
  auto file = ReadZqt(*TemplatesToBytes(table));
  EXPECT_EQ(file.Records.size(), 2u);
  EXPECT_TRUE(table.Filtered());
  EXPECT_EQ(table.VisibleCount(), 1u);

  table.Edit();
  table.SetTemplate("yellow");
  const std::string bytes = *TemplatesToBytes(table);
  file = ReadZqt(bytes);
  EXPECT_EQ(file.Records[1].Template, "yellow");
  EXPECT_EQ(table.State(), TableState::Browse);
}

TEST_F(FileLogic, MoreTemplatesThanAFileHoldsAreRefusedNotCut) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i <= kZqtMaxRecords; ++i) names.push_back(std::string(1, 't').append(std::to_string(kZqtMaxRecords - i)));
  std::vector<TemplateRecordView> views;
  for (const auto& n : names) views.push_back({n, OleDate(), 0, ""});
  table.MergeRecords(views);
  EXPECT_FALSE(TemplatesToBytes(table).has_value());
  EXPECT_EQ(table.RowAt(0).Name, names[0]);  // not sorted either
  table.Last();
  table.Delete();
  EXPECT_TRUE(TemplatesToBytes(table).has_value());
}

TEST_F(FileLogic, ASortedFileLoadsAndSavesByteForByte) {
  const std::string file = RawFile(3, {RawRecord("a", 45000.125, 0, "1"), RawRecord("B", -3.5, 2, "C:\\x.png"),
                                       RawRecord("c", 1e300, 9, std::string(300, '\0'))});
  LoadTemplatesFromBytes(table, file, false);
  EXPECT_TRUE(table.SortedByName());
  EXPECT_EQ(TemplatesToBytes(table), file);
}

TEST_F(FileLogic, OperationsLeaveTheControlsEnabledAndTellThemOnce) {
  struct Counter : TemplateTableLink {
    void TableChanged() override { ++changes; }
    int changes = 0;
  } counter;
  table.AddLink(&counter);
  LoadTemplatesFromBytes(table, RawFile(1, {RawRecord("a", 1, 0, "")}), true);
  EXPECT_FALSE(table.ControlsDisabled());
  EXPECT_EQ(counter.changes, 1);
  table.RemoveLink(&counter);
}

TEST_F(FileLogic, TheSampleIsLookedForByItsExactName) {
  Add("Test");
  EXPECT_FALSE(HasSampleTemplate(table));
  AppendBuiltInSampleTemplate(table);
  EXPECT_TRUE(HasSampleTemplate(table));
  const TemplateRecordView sample = table.RowAt(1);
  EXPECT_EQ(sample.Name, "test");
  EXPECT_EQ(sample.Kind, kTemplateText);
  EXPECT_EQ(sample.Template,
            "========================\r\ntext text text text text  ;-)\r\n========================\r\n");
}

}  // namespace
}  // namespace snibbet
