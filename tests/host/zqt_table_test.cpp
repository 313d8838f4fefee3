// The template table: current row, edit and post, the name filter, sorting,
// merging and links.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>

#include "templates/template_table.h"
#include "tests/host/zqt_test_support.h"

namespace snibbet {
namespace {

using namespace zqt_test;

const OleDate kNow = OleDate::FromValue(50000.5);

class Table : public ::testing::Test {
 protected:
  Table() : table(NameFolding(), [] { return kNow; }) { table.Open(); }

  void Fill(const std::vector<std::string>& names) {
    std::vector<TemplateRecordView> views;
    for (const auto& n : names) {
      contents_.push_back("content of " + n);
      views.push_back(TemplateRecordView{n, OleDate::FromValue(1), 0, contents_.back()});
    }
    table.MergeRecords(views);
  }

  std::vector<std::string> Visible() const {
    std::vector<std::string> names;
    for (std::size_t p = 0; p < table.VisibleCount(); ++p) names.emplace_back(table.VisibleAt(p).Name);
    return names;
  }

  std::string CurrentName() const { return table.Current() ? std::string(table.Current()->Name) : "<none>"; }

  TemplateTable table;

 private:
  std::deque<std::string> contents_;
};

struct RecordingLink : TemplateTableLink {
  void TableChanged() override { events += "T"; }
  void CurrentRowChanged() override { events += "C"; }
  void StateChanged() override { events += "S"; }
  void FieldChanged(TemplateField) override { events += "F"; }
  std::string events;
};

TEST_F(Table, MovesOverTheRowsWithBeginningAndEndMarks) {
  const std::vector<std::string> names = {"a", "b", "c"};
  Fill(names);
  table.First();
  EXPECT_TRUE(table.Bof());
  EXPECT_EQ(CurrentName(), "a");
  table.Next();
  table.Next();
  EXPECT_FALSE(table.Eof());
  table.Next();  // past the last row: no move
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(CurrentName(), "c");
  table.Prior();
  EXPECT_EQ(CurrentName(), "b");
  table.MoveTo(99);
  EXPECT_EQ(CurrentName(), "c");
  EXPECT_TRUE(table.LocateName("B"));
  EXPECT_EQ(table.CurrentPosition(), 1u);
  EXPECT_FALSE(table.LocateName("bb"));
  EXPECT_EQ(CurrentName(), "b");
}

TEST_F(Table, EditDatesTheRowAndOnlyAChangeIsPosted) {
  const std::vector<std::string> names = {"a"};
  Fill(names);
  table.Edit();
  EXPECT_EQ(table.State(), TableState::Edit);
  EXPECT_EQ(table.Current()->Date, kNow);
  table.Settle();  // nothing typed: the edit is cancelled and the old date stays
  EXPECT_EQ(table.RowAt(0).Date, OleDate::FromValue(1));

  table.Edit();
  table.SetTemplate("new");
  EXPECT_EQ(table.RowAt(0).Template, "content of a");  // not before the post
  table.Next();  // moving posts
  EXPECT_EQ(table.State(), TableState::Browse);
  EXPECT_EQ(table.RowAt(0).Template, "new");
  EXPECT_EQ(table.RowAt(0).Date, kNow);

  table.Edit();
  table.SetKind(kTemplatePicture);
  table.Cancel();
  EXPECT_EQ(table.RowAt(0).Kind, kTemplateText);
  EXPECT_THROW(table.SetName("x"), TemplateTableError);
  EXPECT_THROW(table.Post(), TemplateTableError);
}

TEST_F(Table, AnAppendedRowNobodyTouchedDisappears) {
  const std::vector<std::string> names = {"a", "b"};
  Fill(names);
  table.First();
  table.Append();
  EXPECT_EQ(table.State(), TableState::Insert);
  EXPECT_EQ(table.VisibleCount(), 3u);
  EXPECT_EQ(table.Current()->Kind, kTemplateText);
  EXPECT_EQ(table.Current()->Date, kNow);
  table.SetFiltered(true);  // settles
  EXPECT_EQ(table.RowCount(), 2u);

  table.Append();
  table.SetName(std::string(150, 'z'));
  table.Post();
  EXPECT_EQ(table.RowCount(), 3u);
  EXPECT_EQ(table.RowAt(2).Name, std::string(100, 'z'));
  EXPECT_EQ(CurrentName(), std::string(100, 'z'));
}

TEST_F(Table, EditOnAnEmptyListAppendsAndDeleteKeepsAPlace) {
  table.Edit();
  EXPECT_EQ(table.State(), TableState::Insert);
  table.Delete();  // in insert: cancels
  EXPECT_EQ(table.RowCount(), 0u);
  EXPECT_THROW(table.Delete(), TemplateTableError);

  const std::vector<std::string> names = {"a", "b", "c"};
  Fill(names);
  table.MoveTo(1);
  table.Delete();
  EXPECT_EQ(CurrentName(), "c");
  table.Delete();
  EXPECT_EQ(CurrentName(), "a");
  table.Close();
  EXPECT_EQ(table.RowCount(), 0u);
  EXPECT_FALSE(table.Current());
  EXPECT_THROW(table.Edit(), TemplateTableError);
}

TEST_F(Table, FilterShowsNamesStartingWithTheTextIgnoringCase) {
  const std::vector<std::string> names = {"Abc", "abd", "ABX", "b", "ab"};
  Fill(names);
  table.SetFilterText("ab");
  EXPECT_EQ(Visible().size(), 5u);  // not on yet
  table.SetFiltered(true);
  EXPECT_EQ(Visible(), (std::vector<std::string>{"Abc", "abd", "ABX", "ab"}));  // table order
  table.SetFilterText("aBc");
  EXPECT_EQ(Visible(), std::vector<std::string>{"Abc"});
  table.SetFilterText("abcd");  // longer than every name
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_FALSE(table.Current());
  table.SetFilterText("");
  EXPECT_EQ(Visible().size(), 5u);
}

TEST_F(Table, AFilterStartsAtItsFirstMatchAndSingleMatchesShowAsEof) {
  const std::vector<std::string> names = {"abc", "abd", "x"};
  Fill(names);
  table.Last();
  table.SetFilterText("ab");
  table.SetFiltered(true);
  EXPECT_EQ(CurrentName(), "abc");
  table.Next();
  EXPECT_FALSE(table.Eof());  // two match
  table.SetFilterText("abd");
  table.Next();
  EXPECT_TRUE(table.Eof());  // one match
  EXPECT_EQ(CurrentName(), "abd");
}

TEST_F(Table, SortedAndUnsortedTablesFilterAlike) {
  std::mt19937 random(7);
  std::vector<std::string> names;
  for (int i = 0; i < 400; ++i) {
    std::string name;
    for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n) name += "aAbB_c"[random() % 6];
    names.push_back(name + std::to_string(i));
  }
  TemplateTable sorted(NameFolding(), [] { return kNow; });
  std::vector<TemplateRecordView> views;
  for (const auto& n : names) views.push_back(TemplateRecordView{n, OleDate(), 0, ""});
  table.MergeRecords(views);
  sorted.MergeRecords(views);
  sorted.SortByName();
  ASSERT_FALSE(table.SortedByName());
  ASSERT_TRUE(sorted.SortedByName());
  table.SetFiltered(true);
  sorted.SetFiltered(true);
  for (const std::string prefix : {"", "a", "A", "ab", "b_", "c", "_", "zz", "aab", "a1"}) {
    table.SetFilterText(prefix);
    sorted.SetFilterText(prefix);
    std::vector<std::string> a = Visible();
    std::vector<std::string> b;
    for (std::size_t p = 0; p < sorted.VisibleCount(); ++p) b.emplace_back(sorted.VisibleAt(p).Name);
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    EXPECT_EQ(a, b) << prefix;
    for (const auto& name : b) EXPECT_TRUE(NameFolding().StartsWith(name, prefix));
  }
}

TEST_F(Table, SortingIgnoresCaseAndKeepsTheCurrentRow) {
  const std::vector<std::string> names = {"beta", "Alpha", "gamma", "alpha2"};
  Fill(names);
  table.Append();
  table.SetName("ALPHA");  // differs from a name only in case
  table.Post();
  table.MoveTo(2);  // gamma
  table.SortByName();
  std::vector<std::string> order;
  for (std::size_t r = 0; r < table.RowCount(); ++r) order.emplace_back(table.RowAt(r).Name);
  EXPECT_EQ(order, (std::vector<std::string>{"Alpha", "ALPHA", "alpha2", "beta", "gamma"}));
  EXPECT_EQ(CurrentName(), "gamma");
  EXPECT_TRUE(table.SortedByName());
  table.Append();
  table.SetName("zeta");
  table.Post();
  EXPECT_TRUE(table.SortedByName());  // posted in its place
  table.First();
  table.Edit();
  table.SetName("omega");
  table.Post();
  EXPECT_FALSE(table.SortedByName());
}

TEST_F(Table, MergingUpdatesTheFirstRowOfANameAndAppendsTheRest) {
  const std::vector<std::string> names = {"Hello", "other"};
  Fill(names);
  const std::string longName(120, 'L');
  const std::vector<TemplateRecordView> file = {
      {"HELLO", OleDate::FromValue(7), kTemplateRichText, "{\\rtf1}"},
      {"other", OleDate::FromValue(8), kTemplatePicture, ""},  // empty content keeps the old one
      {longName, OleDate::FromValue(9), 0, "long"},
      {"new", OleDate::FromValue(10), 0, "first"},
      {"NEW", OleDate::FromValue(11), 0, "second"},
  };
  table.MergeRecords(file);
  table.MergeRecords(file);  // twice: nothing more
  ASSERT_EQ(table.RowCount(), 4u);
  EXPECT_EQ(table.RowAt(0).Owned(), (TemplateRecord{"Hello", OleDate::FromValue(7), kTemplateRichText, "{\\rtf1}"}));
  EXPECT_EQ(table.RowAt(1).Owned(), (TemplateRecord{"other", OleDate::FromValue(8), kTemplatePicture, "content of other"}));
  EXPECT_EQ(table.RowAt(2).Name, std::string(100, 'L'));
  EXPECT_EQ(table.RowAt(3).Owned(), (TemplateRecord{"new", OleDate::FromValue(11), 0, "second"}));
}

TEST_F(Table, RemovingTakesOneRowPerNameInTableOrder) {
  const std::vector<std::string> names = {"a", "b", "c"};
  Fill(names);
  table.Append();
  table.SetName("A");  // a second row of the same name, as an editor may make
  table.Post();
  table.MoveTo(2);  // c
  const std::vector<TemplateRecordView> set = {{"A", {}, 0, ""}, {"c", {}, 0, ""}, {"missing", {}, 0, ""}};
  EXPECT_EQ(table.RemoveNamed(set), 2u);
  std::vector<std::string> left;
  for (std::size_t r = 0; r < table.RowCount(); ++r) left.emplace_back(table.RowAt(r).Name);
  EXPECT_EQ(left, (std::vector<std::string>{"b", "A"}));
  EXPECT_EQ(CurrentName(), "A");  // the row after the removed current one
}

// The rows one merge brings in share their bytes, which outlive the file's:
// changing, deleting and removing some of them leaves the others whole.
TEST_F(Table, RowsKeepTheirTextWhileTheRowsLoadedWithThemChange) {
  const auto merge = [&](std::vector<std::pair<std::string, std::string>> records) {
    std::vector<TemplateRecordView> file;
    for (const auto& [name, content] : records) file.push_back({name, OleDate::FromValue(2), 0, content});
    table.MergeRecords(file);
    for (auto& [name, content] : records) name = content = std::string(40, '?');
  };
  const auto rows = [&] {
    std::vector<std::string> all;
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
      all.push_back(std::string(table.RowAt(r).Name) + "=" + std::string(table.RowAt(r).Template));
    }
    return all;
  };
  merge({{"a", "first a"}, {"b", "first b"}, {"c", "first c"}, {"d", "first d"}});
  table.MoveTo(1);
  table.Edit();
  table.SetTemplate("edited b");
  table.Post();
  table.MoveTo(2);
  table.Delete();
  EXPECT_EQ(rows(), (std::vector<std::string>{"a=first a", "b=edited b", "d=first d"}));

  merge({{"A", "second a"}, {"d", ""}, {"e", "new e"}, {"E", "newer e"}});
  EXPECT_EQ(rows(), (std::vector<std::string>{"a=second a", "b=edited b", "d=first d", "e=newer e"}));

  const std::vector<TemplateRecordView> set = {{"a", {}, 0, ""}, {"b", {}, 0, ""}, {"e", {}, 0, ""}};
  EXPECT_EQ(table.RemoveNamed(set), 3u);
  table.Append();
  table.SetName("");  // a row with nothing in it at all
  table.Post();
  table.SortByName();
  EXPECT_EQ(rows(), (std::vector<std::string>{"=", "d=first d"}));
  table.MoveTo(1);
  table.Edit();
  EXPECT_EQ(table.Current()->Template, "first d");
  table.SetTemplate("second d");
  EXPECT_EQ(table.Current()->Template, "second d");
  EXPECT_EQ(table.RowAt(1).Template, "first d");  // until it is posted
  table.Post();
  EXPECT_EQ(rows(), (std::vector<std::string>{"=", "d=second d"}));
}

TEST_F(Table, LinksHearChangesUnlessControlsAreDisabled) {
  RecordingLink link;
  table.AddLink(&link);
  table.Append();
  table.SetName("x");
  table.Post();
  table.First();
  EXPECT_EQ(link.events, "TSFSTC");
  link.events.clear();
  table.DisableControls();
  table.DisableControls();
  table.Edit();
  table.SetName("y");
  table.Post();
  table.EnableControls();
  EXPECT_EQ(link.events, "");
  table.EnableControls();
  EXPECT_EQ(link.events, "T");
  table.RemoveLink(&link);
  table.Close();
  EXPECT_EQ(link.events, "T");
}

}  // namespace
}  // namespace snibbet
