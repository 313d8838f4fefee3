#include "core/message_boxes.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/lang_table.h"
#include "tests/unit/qvlib_test_support.h"

namespace snibbet {
namespace {

class MessageBoxes : public ::testing::Test {
 protected:
  void TearDown() override { FinalizeLanguages(); }
};

TEST_F(MessageBoxes, CaptionsFallBackToEnglishWordsWithoutTexts) {
  FinalizeLanguages();  // no table at all yet, as early in start-up
  {
    test::BoxWatcher watcher(IDOK);
    ShowErrorMessage(L"boom");
    const auto box = watcher.Result();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.caption, L"Error");
    EXPECT_EQ(box.text, L"boom");
  }
  {
    test::BoxWatcher watcher(IDOK);
    ShowWarningMessage(L"careful");
    EXPECT_EQ(watcher.Result().caption, L"zqlWarning");
  }
  {
    test::BoxWatcher watcher(IDOK);
    ShowInfoMessage(L"note");
    EXPECT_EQ(watcher.Result().caption, L"Information");
  }
  {
    test::BoxWatcher watcher(IDYES);
    EXPECT_TRUE(AskYesNo(L"sure?"));
    EXPECT_EQ(watcher.Result().caption, L"Confirm");
  }
}

TEST_F(MessageBoxes, CaptionsAndQuestionsComeFromTheLanguageTable) {
  InitializeLanguages();
  Lang().SetText(9, L"Fehler");
  Lang().SetText(10, L"Warnung");
  Lang().SetText(11, L"Hinweis");
  Lang().SetText(12, L"Frage");
  Lang().SetText(14, L"L\u00F6schen?");
  Lang().SetText(15, L"Speichern?");
  Lang().SetText(16, L"Vor dem Schlie\u00DFen speichern?");
  struct Case {
    int button;
    std::function<void()> show;
    std::wstring caption, text;
  };
  const Case cases[] = {
      {IDOK, [] { ShowErrorMessage(L"e"); }, L"Fehler", L"e"},
      {IDOK, [] { ShowWarningMessage(L"w"); }, L"Warnung", L"w"},
      {IDOK, [] { ShowInfoMessage(L"i"); }, L"Hinweis", L"i"},
      {IDYES, [] { EXPECT_TRUE(AskConfirmDelete()); }, L"Frage", L"L\u00F6schen?"},
      {IDNO, [] { EXPECT_EQ(AskSaveChanges(), Answer::No); }, L"Frage", L"Speichern?"},
      {IDCANCEL, [] { EXPECT_EQ(AskSaveChangesOnClose(), Answer::Cancel); }, L"Frage",
       L"Vor dem Schlie\u00DFen speichern?"},
  };
  for (const auto& c : cases) {
    test::BoxWatcher watcher(c.button);
    c.show();
    const auto box = watcher.Result();
    ASSERT_TRUE(box.found) << c.caption;
    EXPECT_EQ(box.caption, c.caption);
    EXPECT_EQ(box.text, c.text);
  }
}

TEST_F(MessageBoxes, AnswersMapToTheButtonPressed) {
  InitializeLanguages();
  {
    test::BoxWatcher watcher(IDNO);
    EXPECT_FALSE(AskYesNo(L"q"));
  }
  {
    test::BoxWatcher watcher(IDYES);
    EXPECT_EQ(AskYesNoCancel(L"q"), Answer::Yes);
  }
  {
    test::BoxWatcher watcher(IDNO);
    EXPECT_EQ(AskYesNoCancel(L"q"), Answer::No);
  }
  {
    test::BoxWatcher watcher(IDCANCEL);
    EXPECT_EQ(AskYesNoCancel(L"q"), Answer::Cancel);
  }
}

}  // namespace
}  // namespace snibbet
