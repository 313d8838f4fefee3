// The template editor as a window under Wine, on a table and files of the
// test's own: the page follows the current template's kind, switching kinds
// keeps the content until the template is posted, typing edits the dataset,
// names are typed in place (Esc keeps the old one), a long list opens at
// once, deleting and closing ask first, and the picture page previews.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/foreground_state.h"
#include "core/preset.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/template_setup_form.h"
#include "templates/template_view_form.h"
#include "tests/unit/editor_test_support.h"
#include "tests/unit/settings_fixture.h"
#include "ui/application.h"
#include "ui/monitor.h"

namespace snibbet {
namespace {

using Clock = std::chrono::steady_clock;

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

class EditorFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Pump();
    ui::Application::Create({.title = L"editor tests"});
    files_.files[L"C:\\docs\\main.zqt"] = {Named("note", "plain words"),
                                           {"rich", {}, kTemplateRichText, "{\\rtf1\\ansi rich words\\par}"},
                                           {"shot", {}, kTemplatePicture, "C:\\missing.bmp"}};
    files_.Load(table_, L"", false);
  }
  void TearDown() override {
    if (form_) form_->Destroy();
    form_.reset();
    ui::Application::Destroy();
    Pump();
  }
  TTemplateSetupForm& Open() {
    form_ = std::make_unique<TTemplateSetupForm>(table_, files_);
    form_->Create();
    form_->Show();
    Pump();
    return *form_;
  }
  void Locate(const char* name) {
    ASSERT_TRUE(table_.LocateName(name));
    Pump();
  }
  HWND LabelEdit() { return ListView_GetEditControl(form_->Grid().Handle()); }

  TemplateTable table_;
  FakeFiles files_{table_};
  std::unique_ptr<TTemplateSetupForm> form_;
};

TEST_F(EditorFormTest, ThePageFollowsTheKindAndSwitchingKeepsTheContentUntilPosted) {
  TTemplateSetupForm& form = Open();
  EXPECT_FALSE(form.Document().Modified());
  EXPECT_FALSE(form.MainToolBar().IsButtonEnabled(L"tbSave"));
  EXPECT_NE(form.Text().find(L"[C:\\docs\\main.zqt]"), std::wstring::npos);

  Locate("note");
  EXPECT_EQ(form.Pages().ActivePage(), kTextPage);
  EXPECT_EQ(form.Memo().Text(), L"plain words");
  Locate("rich");
  EXPECT_EQ(form.Pages().ActivePage(), kRtfPage);
  EXPECT_EQ(form.Editor().PlainText().substr(0, 10), L"rich words");
  EXPECT_EQ(form.Memo().Text(), L"");
  Locate("shot");
  EXPECT_EQ(form.Pages().ActivePage(), kPicturePage);
  EXPECT_EQ(form.PictureFileName().Text(), L"C:\\missing.bmp");
  EXPECT_TRUE(form.Picture().Empty());

  Locate("note");
  form.ChoosePage(kRtfPage);
  EXPECT_EQ(table_.Current()->Kind, kTemplateRichText);
  EXPECT_EQ(table_.Current()->Template, "");
  EXPECT_TRUE(form.Document().Modified());
  EXPECT_TRUE(form.MainToolBar().IsButtonEnabled(L"tbSave"));
  table_.SetTemplate("{\\rtf1 for a while}");
  form.ChoosePage(kTextPage);
  EXPECT_EQ(table_.Current()->Kind, kTemplateText);
  EXPECT_EQ(table_.Current()->Template, "plain words");
  EXPECT_EQ(form.Memo().Text(), L"plain words");
  form.ChoosePage(kRtfPage);
  EXPECT_EQ(table_.Current()->Template, "{\\rtf1 for a while}");
  form.ChoosePage(kTextPage);

  table_.Post();
  Pump();
  form.ChoosePage(kRtfPage);
  EXPECT_EQ(table_.Current()->Template, "");  // posted in between: nothing kept
}

TEST_F(EditorFormTest, TypingInThePagesEditsTheCurrentTemplate) {
  TTemplateSetupForm& form = Open();
  Locate("note");
  // As typed: a multi-line edit reports no change for a text set as a whole.
  SendMessageW(form.Memo().Handle(), EM_SETSEL, 0, -1);
  SendMessageW(form.Memo().Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"line one\r\nline two"));
  ASSERT_TRUE(table_.Editing());
  EXPECT_EQ(table_.Current()->Template, "line one\r\nline two");
  EXPECT_EQ(form.Memo().Text(), L"line one\r\nline two");  // the edit did not reload the memo
  EXPECT_TRUE(form.Document().Modified());

  Locate("shot");
  EXPECT_EQ(table_.RowAt(0).Template, "line one\r\nline two");  // moving on posted it
  const std::filesystem::path picture = std::filesystem::temp_directory_path() / "editor_form_test.bmp";
  {
    BITMAPFILEHEADER file{0x4D42, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + 4, 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = info.biHeight = info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    std::ofstream out(picture, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write("\x10\x20\x30\x00", 4);
  }
  form.PictureFileName().SetText(picture.wstring());
  EXPECT_EQ(table_.Current()->Template, picture.string());
  EXPECT_FALSE(form.Picture().Empty());
  form.PictureFileName().SetText(L"C:\\nowhere\\none.bmp");
  EXPECT_TRUE(form.Picture().Empty());
  std::filesystem::remove(picture);
}

TEST_F(EditorFormTest, ARichTemplateTypedFromScratchIsStoredInTheEditorsOwnFont) {
  TTemplateSetupForm& form = Open();
  Locate("rich");  // a document of its own before
  Locate("note");
  form.ChoosePage(kRtfPage);
  SendMessageW(form.Editor().Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"typed"));
  const std::string rtf(table_.Current()->Template);
  EXPECT_NE(rtf.find("Times New Roman"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\fcharset134"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\fs24"), std::string::npos) << rtf;
}

TEST_F(EditorFormTest, NamesAreTypedInPlaceAndEscKeepsTheOldName) {
  TTemplateSetupForm& form = Open();
  Locate("note");
  HWND grid = form.Grid().Handle();
  SetFocus(grid);
  ListView_EditLabel(grid, static_cast<int>(table_.CurrentPosition()));
  ASSERT_NE(LabelEdit(), nullptr);
  SetWindowTextW(LabelEdit(), L"kept out");
  SendMessageW(LabelEdit(), WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  EXPECT_EQ(LabelEdit(), nullptr);
  EXPECT_EQ(table_.Current()->Name, "note");

  ListView_EditLabel(grid, static_cast<int>(table_.CurrentPosition()));
  ASSERT_NE(LabelEdit(), nullptr);
  SetWindowTextW(LabelEdit(), L"renamed");
  SendMessageW(LabelEdit(), WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(table_.Current()->Name, "renamed");
  EXPECT_EQ(form.Grid().ItemText(static_cast<int>(table_.CurrentPosition()), 0), L"renamed");

  // Add opens the new template's name for typing; a save takes the name as typed so far.
  form.actAddExecute();
  ASSERT_NE(LabelEdit(), nullptr);
  SetWindowTextW(LabelEdit(), L"zz");
  form.actSaveExecute();
  EXPECT_EQ(LabelEdit(), nullptr);
  const auto& saved = files_.files[L"C:\\docs\\main.zqt"];
  ASSERT_EQ(saved.size(), 4u);
  EXPECT_EQ(saved[3].Name, "zz");
  EXPECT_FALSE(form.Document().Modified());
}

TEST_F(EditorFormTest, DeletingAndClosingAskFirst) {
  TTemplateSetupForm& form = Open();
  Locate("note");
  files_.answers = {Answer::No};
  form.actDelExecute();
  EXPECT_EQ(table_.RowCount(), 3u);
  files_.answers = {Answer::Yes};
  form.actDelExecute();
  EXPECT_EQ(Names(table_), (std::vector<std::string>{"rich", "shot"}));
  EXPECT_TRUE(form.Document().Modified());

  files_.answers = {Answer::Cancel};
  form.Close();
  Pump();
  EXPECT_TRUE(IsWindow(form.Handle()));
  files_.answers = {Answer::No};
  form.Close();
  Pump();
  EXPECT_EQ(Names(table_), (std::vector<std::string>{"note", "rich", "shot"}));  // the file read back
}

// Ctrl held in this thread's key state for the scope.
class CtrlHeld {
 public:
  CtrlHeld() {
    GetKeyboardState(saved_);
    BYTE held[256];
    std::copy(std::begin(saved_), std::end(saved_), held);
    held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
    SetKeyboardState(held);
  }
  ~CtrlHeld() { SetKeyboardState(saved_); }
  CtrlHeld(const CtrlHeld&) = delete;
  CtrlHeld& operator=(const CtrlHeld&) = delete;

 private:
  BYTE saved_[256]{};
};

TEST_F(EditorFormTest, CtrlSSavesWithTheFocusOnTheWindowItselfOrTheColourList) {
  TTemplateSetupForm& form = Open();
  HWND colours = nullptr;
  EnumChildWindows(form.Handle(), [](HWND child, LPARAM found) {
    wchar_t name[32] = L"";
    GetClassNameW(child, name, 32);
    if (_wcsicmp(name, L"ComboBox") == 0 && (GetWindowLongW(child, GWL_STYLE) & CBS_OWNERDRAWFIXED))
      *reinterpret_cast<HWND*>(found) = child;
    return TRUE;
  }, reinterpret_cast<LPARAM>(&colours));
  ASSERT_NE(colours, nullptr);
  const auto& saved = files_.files[L"C:\\docs\\main.zqt"];
  for (HWND focus : {form.Handle(), colours}) {
    form.actAddExecute();
    ASSERT_NE(LabelEdit(), nullptr);
    SetWindowTextW(LabelEdit(), focus == colours ? L"by the list" : L"by the window");
    ASSERT_TRUE(form.Document().Modified());
    const size_t before = saved.size();
    const CtrlHeld ctrl;
    SendMessageW(focus, WM_KEYDOWN, 'S', 0);
    EXPECT_FALSE(form.Document().Modified());
    EXPECT_EQ(saved.size(), before + 1);
  }
}

TEST_F(EditorFormTest, AListOfTheMostTemplatesAFileHoldsOpensAndScrollsAtOnce) {
  std::vector<TemplateRecord> many;
  many.reserve(65535);
  for (int i = 0; i < 65535; ++i) many.push_back(Named(std::string("t").append(std::to_string(100000 + i)), "body"));
  std::vector<TemplateRecordView> views;
  for (const TemplateRecord& r : many) views.push_back({r.Name, r.Date, r.Kind, r.Template});
  table_.Close();
  table_.Open();
  table_.MergeRecords(views);
  table_.First();

  const auto start = Clock::now();
  TTemplateSetupForm& form = Open();
  EXPECT_EQ(form.Grid().Count(), 65535);
  table_.Last();
  Pump();
  EXPECT_EQ(form.Grid().SelectedIndex(), 65534);
  EXPECT_EQ(form.Memo().Text(), L"body");
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_LT(took, 2000) << "opening and scrolling took " << took << " ms";
}

TEST_F(EditorFormTest, TheListsMoveKeysMoveTheCurrentTemplateAndItsPage) {
  TTemplateSetupForm& form = Open();
  Locate("note");
  const HWND list = form.Grid().Handle();
  SetFocus(list);
  const auto press = [&](UINT key) {
    SendMessageW(list, WM_KEYDOWN, key, 0);
    SendMessageW(list, WM_KEYUP, key, 0);
    Pump();
  };
  press(VK_DOWN);
  EXPECT_EQ(table_.Current()->Name, "rich");
  EXPECT_EQ(form.Pages().ActivePage(), kRtfPage);
  EXPECT_EQ(form.Grid().SelectedIndex(), 1);
  press(VK_END);
  EXPECT_EQ(table_.Current()->Name, "shot");
  press(VK_DOWN);  // at the end it stays
  EXPECT_EQ(table_.Current()->Name, "shot");
  press(VK_HOME);
  EXPECT_EQ(table_.Current()->Name, "note");
  EXPECT_EQ(form.Pages().ActivePage(), kTextPage);
  press(VK_NEXT);
  EXPECT_EQ(table_.Current()->Name, "shot");
}

TEST_F(EditorFormTest, ATagFromTheMenuIsPastedIntoTheMemoAndTheRichPageLeavesItsToolbarBand) {
  TTemplateSetupForm& form = Open();
  Locate("note");
  const int end = static_cast<int>(form.Memo().Text().size());
  SendMessageW(form.Memo().Handle(), EM_SETSEL, end, end);
  form.TagMenu().pmiTemplateClick(402);
  Pump();
  EXPECT_EQ(table_.Current()->Template, "plain words<KEY Enter>");

  const RECT band = form.RtfToolbarArea();
  EXPECT_EQ(band.bottom - band.top, ui::ScaleToDpi(TTemplateSetupForm::kRtfToolbarBand));
  RECT editor{};
  GetWindowRect(form.Editor().Handle(), &editor);
  MapWindowPoints(HWND_DESKTOP, form.Handle(), reinterpret_cast<POINT*>(&editor), 2);
  EXPECT_GE(editor.top, band.bottom);
}

// The editor the pop-up's Edit button opens, on the program's settings and store.
class ProgramEditorTest : public test::SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    settings_ = &InitializePreset(AppIni());
    settings_->Load();  // only a run that read the settings writes the window's place back
    // Made before the editor, it goes after it.
    popup_ = &ui::Application::Create({.title = L"editor tests"})
                  .CreateForm<TTemplateViewForm>(PopupProgramParts{.foreground = foreground_});
    for (const char* name : {"Abc", "Abd", "Bye"}) {
      popup_->Templates().Append();
      popup_->Templates().SetName(name);
      popup_->Templates().Post();
    }
  }
  void TearDown() override {
    ui::Application::Destroy();
    FinalizePreset();
    SettingsTest::TearDown();
    Pump();
  }
  TTemplateSetupForm& Open(const std::wstring& name) {
    ShowTemplateEditor({.popup = *popup_, .settings = *settings_, .store = AppIni(), .openWindows = openWindows_},
                       name);
    Pump();
    return *openWindows_.TemplateEditor();
  }
  void Close(TTemplateSetupForm& editor) {
    editor.Close();
    Pump();
    ASSERT_EQ(openWindows_.TemplateEditor(), nullptr);
  }

  TPreset* settings_ = nullptr;
  ForegroundState foreground_;
  OpenWindows openWindows_;
  TTemplateViewForm* popup_ = nullptr;
};

TEST_F(ProgramEditorTest, EditsThePopupsTemplatesListsThemAllAndOpensWhereTheUserLeftIt) {
  popup_->SetSearch(L"ab");
  TTemplateSetupForm& editor = Open(L"bye");
  EXPECT_EQ(editor.Grid().Count(), 3) << "the pop-up's search is let go";
  EXPECT_EQ(popup_->Templates().Current()->Name, "Bye");
  EXPECT_NE(editor.Text().find(settings_->TemplatesFileName()), std::wstring::npos) << editor.Text();
  EXPECT_EQ(&Open(L""), &editor) << "one editor at a time";

  editor.SetBounds(60, 50, 640, 420);
  const RECT left = editor.Bounds();
  Close(editor);
  TTemplateSetupForm& again = Open(L"");
  const RECT reopened = again.Bounds();
  EXPECT_EQ(reopened.left, left.left);
  EXPECT_EQ(reopened.top, left.top);
  EXPECT_EQ(reopened.right - reopened.left, left.right - left.left);
  EXPECT_EQ(reopened.bottom - reopened.top, left.bottom - left.top);
  Close(again);
}

}  // namespace
}  // namespace snibbet
