// The template editor's journeys through its page of rich text and its file
// commands, with the real Snibbet.exe and SnibbetCm.exe and physical input:
//   - a rich-text template made with the toolbar (bold, a colour from the
//     colour list, centred), saved, then pasted by the hotkey into a word
//     processor keeps its formatting;
//   - New, then closing without saving: the stored template file and its
//     templates come back, now and at the next start;
//   - a shipped template set imported twice is merged once;
//   - Save As onto a file that another program holds open fails, leaving
//     that file and the current one as they were;
//   - Mail hands the file on disk to the mail program (a stand-in mail
//     library that writes down what it was given).
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
#include <shlobj.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <set>

#include "testing/probe/probe.h"
#include "testing/report/mapi_journal.h"
#include "tests/e2e/editor_e2e_support.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;

// The rich-text toolbar's buttons by their place in it (a separator or a box
// placeholder counts as a button).
constexpr int kBoldButton = 4;
constexpr int kCentreButton = 11;
// The main toolbar's Save and Mail buttons.
constexpr int kSaveButton = 1, kMailButton = 6;
constexpr int kRichTextPage = 1;
// The menu bar's File menu: New first, Save As fourth, Import fifth (separators are skipped).
constexpr int kFileMenu = 0, kNewItem = 0, kSaveAsItem = 3, kImportItem = 4;
constexpr int kEditorMenu = 1, kAddItem = 0;

void ClickToolButton(HWND toolBar, int index) {
  const auto rect = AskThroughPointer(toolBar, TB_GETITEMRECT, static_cast<WPARAM>(index), RECT{});
  ASSERT_TRUE(rect.has_value()) << "no rectangle of button " << index;
  probe::PhysicalClick(ScreenCentre(toolBar, *rect));
}

bool ToolButtonEnabled(HWND toolBar, int index) {
  const auto button = AskThroughPointer(toolBar, TB_GETBUTTON, static_cast<WPARAM>(index), TBBUTTON{});
  return button && SendMessageW(toolBar, TB_ISBUTTONENABLED, static_cast<WPARAM>(button->idCommand), 0) != 0;
}

// The visible toolbar of `parent` with the most buttons.
HWND LargestToolBar(HWND parent) {
  HWND largest = nullptr;
  LRESULT most = -1;
  for (HWND child : probe::ChildWindows(parent)) {
    if (!IsWindowVisible(child) || probe::ClassNameOf(child) != TOOLBARCLASSNAMEW) continue;
    const LRESULT count = SendMessageW(child, TB_BUTTONCOUNT, 0, 0);
    if (count > most) largest = child, most = count;
  }
  return largest;
}

// The first visible child whose class names a rich edit.
HWND RichEditChild(HWND parent) {
  for (HWND child : probe::ChildWindows(parent)) {
    std::wstring name = probe::ClassNameOf(child);
    std::transform(name.begin(), name.end(), name.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    if (IsWindowVisible(child) && name.find(L"richedit") != std::wstring::npos) return child;
  }
  return nullptr;
}

std::optional<CHARFORMAT2W> SelectionCharFormat(HWND richEdit) {
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_BOLD | CFM_COLOR;
  return AskThroughPointer(richEdit, EM_GETCHARFORMAT, SCF_SELECTION, format);
}

std::optional<PARAFORMAT2> ParagraphFormat(HWND richEdit) {
  PARAFORMAT2 format{};
  format.cbSize = sizeof format;
  format.dwMask = PFM_ALIGNMENT;
  return AskThroughPointer(richEdit, EM_GETPARAFORMAT, 0, format);
}

bool IsBold(HWND richEdit) {
  const auto format = SelectionCharFormat(richEdit);
  return format && (format->dwMask & CFM_BOLD) && (format->dwEffects & CFE_BOLD);
}

bool IsRed(HWND richEdit) {
  const auto format = SelectionCharFormat(richEdit);
  return format && (format->dwMask & CFM_COLOR) && !(format->dwEffects & CFE_AUTOCOLOR) &&
         format->crTextColor == RGB(255, 0, 0);
}

bool IsCentred(HWND richEdit) {
  const auto format = ParagraphFormat(richEdit);
  return format && format->wAlignment == PFA_CENTER;
}

// The visible text without the paragraph marks a rich edit ends with.
std::wstring TextOf(HWND window) {
  std::wstring text = probe::WindowText(window);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
  return text;
}

std::string FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus ? probe::ToUtf8(probe::ClassNameOf(info.hwndFocus)) : "none";
}

std::wstring WordpadPath() {
  wchar_t folder[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, folder))) return {};
  return std::wstring(folder) + L"\\Windows NT\\Accessories\\wordpad.exe";
}

// Case ignored, as the template file does.
std::set<std::string> FoldedNames(const std::vector<snibbet::TemplateRecord>& templates) {
  std::set<std::string> names;
  for (const auto& record : templates) {
    std::string name = record.Name;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    names.insert(name);
  }
  return names;
}

// A text as the mail journal writes it.
std::wstring JournalEscaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) out += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
  return out;
}

class EditorFilesTest : public EditorE2eTest {
 protected:
  void SetUp() override {
    EditorE2eTest::SetUp();
    if (IsSkipped()) return;
    UseTemplateFile(L"files.zqt", {TextTemplate("hello", "Hello"), TextTemplate("sel", "mine")});
  }

  // The editor's main toolbar: the first toolbar, laid at the top.
  HWND MainToolBar(HWND editor) const { return FindWindowExW(editor, nullptr, TOOLBARCLASSNAMEW, nullptr); }

  // The hotkey with nothing typed: the number of templates the pop-up lists; it closes again.
  int PopupRowsOnHotkey(HWND focus) {
    probe::PhysicalFocus(focus);
    probe::PumpMessages(500ms);
    probe::PhysicalChord({"super", "space"});
    if (!probe::PumpUntil([&] { return Find(L"TTemplateViewForm") != nullptr; }, 3s)) return -1;
    probe::PumpMessages(500ms);
    const int rows = PopupRows();
    probe::PhysicalKeys({"Escape"});
    probe::PumpUntil([&] { return Find(L"TTemplateViewForm") == nullptr; }, 3s);
    probe::PumpMessages(300ms);
    return rows;
  }

  // A new template named `name` by Editor > Add.
  void AddTemplate(HWND editor, const std::string& name) {
    ChooseMenuItem(kEditorMenu, kAddItem);
    HWND grid = TemplateList(editor);
    ASSERT_NE(grid, nullptr);
    ASSERT_TRUE(probe::PumpUntil([&] { return VisibleChild(grid, L"Edit") != nullptr; }, 5s)) << "no name to type";
    probe::PhysicalType(name);
    probe::PhysicalKeys({"Return"});
    ASSERT_TRUE(probe::PumpUntil([&] { return VisibleChild(grid, L"Edit") == nullptr; }, 3s));
  }

  // File > Import of `fileName`, typed into the open dialog.
  void ImportByDialog(HWND editor, const std::string& fileName) { FileByDialog(editor, kImportItem, fileName); }

  // The File menu's `item`, then `fileName` typed into its file dialog.
  void FileByDialog(HWND editor, int item, const std::string& fileName) {
    ChooseMenuItem(kFileMenu, item);
    HWND dialog = nullptr;
    ASSERT_TRUE(probe::PumpUntil([&] {
      dialog = probe::FindTopWindow({.className = probe::kDialogClass, .pid = snibbet_->Pid(), .visibleOnly = true});
      return dialog != nullptr;
    }, 5s)) << "no open dialog";
    probe::PumpMessages(500ms);
    probe::PhysicalFocus(dialog);
    probe::PhysicalType(fileName);
    probe::PhysicalKeys({"Return"});
    ASSERT_TRUE(probe::PumpUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 5s))
        << "the dialog took no file";
    probe::PhysicalPointAt(CentreOf(editor));
  }
};

TEST_F(EditorFilesTest, ARichTemplateMadeWithTheToolbarPastesWithItsFormatting) {
  StartProgram();
  // Into the system's word processor, or a rich edit of our own where it is missing.
  HWND target = nullptr, targetText = nullptr;
  const std::wstring wordpad = WordpadPath();
  if (std::filesystem::exists(wordpad)) {
    const DWORD pid = Start(wordpad, std::vector<std::wstring>{}, probe::AtEnd::MustRun).Pid();
    ASSERT_TRUE(probe::WaitUntil([&] {
      for (const auto& window : probe::VisibleWindowsOf(pid)) {
        if (window.owner) continue;
        target = window.hwnd;
        targetText = RichEditChild(target);
        if (targetText) return true;
      }
      return false;
    }, 15s)) << "wordpad did not show";
    probe::PhysicalFocus(targetText);
  } else {
    target = StartTarget(L"richedit");
    ASSERT_NE(target, nullptr);
    targetText = GetWindow(target, GW_CHILD);
  }
  probe::PumpMessages(500ms);

  HWND editor = OpenEditorFromPopup();
  ASSERT_NE(editor, nullptr);
  ASSERT_NO_FATAL_FAILURE(AddTemplate(editor, "rr"));

  // The rich-text page; the text typed, then all of it formatted.
  HWND pages = VisibleChild(editor, WC_TABCONTROLW);
  ASSERT_NE(pages, nullptr);
  const auto tab = AskThroughPointer(pages, TCM_GETITEMRECT, kRichTextPage, RECT{});
  ASSERT_TRUE(tab.has_value());
  probe::PhysicalClick(ScreenCentre(pages, *tab));
  HWND richEdit = nullptr;
  ASSERT_TRUE(probe::PumpUntil([&] { return (richEdit = RichEditChild(editor)) != nullptr; }, 3s))
      << "the rich-text page did not show";
  probe::PhysicalClick(CentreOf(richEdit));
  probe::PhysicalType("Rich");
  ASSERT_TRUE(probe::WaitUntil([&] { return TextOf(richEdit) == L"Rich"; }, 3s)) << probe::ToUtf8(TextOf(richEdit));
  probe::PhysicalKeys({"ctrl+a"});
  // All of it: the text and, as the control has it, the paragraph mark.
  ASSERT_TRUE(probe::WaitUntil([&] {
    const auto selection = static_cast<DWORD>(SendMessageW(richEdit, EM_GETSEL, 0, 0));
    return LOWORD(selection) == 0 && HIWORD(selection) >= 4;
  }, 3s))
      << std::hex << SendMessageW(richEdit, EM_GETSEL, 0, 0) << " focus " << FocusOf(editor);

  HWND formatBar = LargestToolBar(editor);
  ASSERT_NE(formatBar, nullptr);
  ClickToolButton(formatBar, kBoldButton);
  ASSERT_TRUE(probe::WaitUntil([&] { return IsBold(richEdit); }, 3s)) << "not bold";

  HWND colours = VisibleChild(editor, L"ComboBox", CBS_OWNERDRAWFIXED);
  ASSERT_NE(colours, nullptr);
  probe::PhysicalClick(CentreOf(colours));
  ASSERT_TRUE(probe::WaitUntil([&] { return SendMessageW(colours, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 3s));
  probe::PhysicalType("r");  // the only colour whose name starts so: Red
  probe::PhysicalKeys({"Return"});
  ASSERT_TRUE(probe::WaitUntil([&] { return IsRed(richEdit); }, 3s)) << "not red";

  ClickToolButton(formatBar, kCentreButton);
  ASSERT_TRUE(probe::WaitUntil([&] { return IsCentred(richEdit); }, 3s)) << "not centred";
  EXPECT_TRUE(IsBold(richEdit) && IsRed(richEdit));

  ClickToolButton(MainToolBar(editor), kSaveButton);
  ASSERT_TRUE(probe::WaitUntil([&] { return SavedTemplate("rr").has_value(); }, 5s)) << "not saved";
  for (const auto& record : SavedTemplates()) {
    if (record.Name != "rr") continue;
    EXPECT_EQ(record.Kind, snibbet::kTemplateRichText);
    EXPECT_NE(record.Template.find("\\b"), std::string::npos) << record.Template;
    EXPECT_NE(record.Template.find("\\qc"), std::string::npos) << record.Template;
    EXPECT_NE(record.Template.find("\\red255\\green0\\blue0"), std::string::npos) << record.Template;
  }
  probe::PumpMessages(300ms);
  PressAltXOver(editor, target);
  ASSERT_TRUE(probe::PumpUntil([&] { return Find(L"TTemplateSetupForm") == nullptr; }, 5s)) << "still open, focus " << FocusOf(editor);
  probe::PumpMessages(300ms);

  // Its name and the hotkey: pasted as rich text. A click into the text first
  // starts a new word: the window's return to the front is not always
  // reported here, and the X of Alt+X would count as typed.
  probe::PhysicalFocus(targetText);
  probe::PhysicalClick(CentreOf(targetText));
  probe::PumpMessages(1000ms);
  probe::PhysicalType("rr");
  ASSERT_TRUE(probe::WaitUntil([&] { return TextOf(targetText) == L"rr"; }, 3s)) << probe::ToUtf8(TextOf(targetText));
  probe::PhysicalChord({"super", "space"});
  const bool pasted = probe::WaitUntil([&] { return TextOf(targetText) == L"Rich"; }, 5s);
  ASSERT_TRUE(pasted) << probe::ToUtf8(TextOf(targetText)) << ReadBytes(folder_.File(L"Log.txt"));
  probe::PumpMessages(500ms);  // the user's clipboard put back
  SendMessageW(targetText, EM_SETSEL, 0, 4);
  EXPECT_TRUE(IsBold(targetText)) << "the paste lost the bold";
  EXPECT_TRUE(IsRed(targetText)) << "the paste lost the colour";
  EXPECT_TRUE(IsCentred(targetText)) << "the paste lost the alignment";
  CloseNormally(*snibbet_, main_);
}

TEST_F(EditorFilesTest, NewClosedWithoutSavingBringsBackTheStoredFileNowAndAtTheNextStart) {
  StartProgram();
  HWND target = StartTarget();
  ASSERT_NE(target, nullptr);
  HWND targetEdit = GetWindow(target, GW_CHILD);
  HWND editor = OpenEditorFromPopup();
  ASSERT_NE(editor, nullptr);

  ChooseMenuItem(kFileMenu, kNewItem);
  ASSERT_TRUE(probe::PumpUntil([&] { return ListCount(TemplateList(editor)) == 0; }, 3s)) << ListCount(TemplateList(editor));
  EXPECT_NE(probe::CaptionOf(editor).find(L"[New]"), std::wstring::npos) << probe::ToUtf8(probe::CaptionOf(editor));

  // Closed: asked whether to save, No.
  Boxes().AnswerWith(IDNO);
  probe::PumpMessages(300ms);
  PressAltXOver(editor, target);
  ASSERT_TRUE(probe::PumpUntil([&] { return Find(L"TTemplateSetupForm") == nullptr; }, 5s)) << "still open, focus " << FocusOf(editor);
  ASSERT_EQ(Boxes().Seen().size(), 1u) << "no question before closing";
  EXPECT_EQ(Boxes().Seen()[0].answer, IDNO);
  probe::PumpMessages(300ms);

  EXPECT_EQ(probe::ReadRegString(kSettingsKey, L"TemplatesFileName"), templateFile_);
  EXPECT_EQ(PopupRowsOnHotkey(targetEdit), 2);
  CloseNormally(*snibbet_, main_);
  EXPECT_EQ(probe::ReadRegString(kSettingsKey, L"TemplatesFileName"), templateFile_);
  EXPECT_EQ(SavedTemplates().size(), 2u);

  StartProgram();
  EXPECT_EQ(PopupRowsOnHotkey(targetEdit), 2);
  CloseNormally(*snibbet_, main_);
  EXPECT_EQ(Boxes().Seen().size(), 1u);
}

TEST_F(EditorFilesTest, AShippedSetImportedTwiceIsMergedOnce) {
  const auto set = ReadTemplateFile(folder_.File(L"Templates\\SQL.zqt"));
  const auto setSel = std::find_if(set.begin(), set.end(), [](const auto& record) { return record.Name == "sel"; });
  ASSERT_NE(setSel, set.end()) << "the set shares no name with the file";
  std::vector<snibbet::TemplateRecord> merged = SavedTemplates();
  merged.insert(merged.end(), set.begin(), set.end());
  const int expected = static_cast<int>(FoldedNames(merged).size());

  // Open dialogs stay for the test to fill; nothing else may ask.
  Boxes().SetPolicy([](const probe::MessageBoxInfo& box) {
    return box.Button(L"Open") ? probe::MessageBoxWatcher::kLeaveOpen : probe::MessageBoxWatcher::kClose;
  });
  StartProgram();
  HWND target = StartTarget();
  ASSERT_NE(target, nullptr);
  HWND editor = OpenEditorFromPopup();
  ASSERT_NE(editor, nullptr);
  HWND grid = TemplateList(editor), toolBar = MainToolBar(editor);

  // The dialog starts in the program's template sets.
  ImportByDialog(editor, "SQL.zqt");
  ASSERT_TRUE(probe::PumpUntil([&] { return ListCount(grid) == expected; }, 5s)) << ListCount(grid);
  ASSERT_TRUE(probe::WaitUntil([&] { return ToolButtonEnabled(toolBar, kSaveButton); }, 3s)) << "not marked unsaved";
  EXPECT_EQ(SavedTemplates().size(), 2u) << "saved before Save";
  ClickToolButton(toolBar, kSaveButton);
  ASSERT_TRUE(probe::WaitUntil([&] { return SavedTemplates().size() == static_cast<size_t>(expected); }, 5s));
  EXPECT_EQ(SavedTemplate("sel"), setSel->Template) << "the set's template of that name is not taken";
  ASSERT_TRUE(probe::WaitUntil([&] { return !ToolButtonEnabled(toolBar, kSaveButton); }, 3s));

  ImportByDialog(editor, "SQL.zqt");
  ASSERT_TRUE(probe::WaitUntil([&] { return ToolButtonEnabled(toolBar, kSaveButton); }, 5s)) << "not imported";
  EXPECT_EQ(ListCount(grid), expected);
  ClickToolButton(toolBar, kSaveButton);
  ASSERT_TRUE(probe::WaitUntil([&] { return !ToolButtonEnabled(toolBar, kSaveButton); }, 5s)) << "not saved";
  EXPECT_EQ(SavedTemplates().size(), static_cast<size_t>(expected));

  probe::PumpMessages(300ms);
  PressAltXOver(editor, target);
  ASSERT_TRUE(probe::PumpUntil([&] { return Find(L"TTemplateSetupForm") == nullptr; }, 5s)) << "still open, focus " << FocusOf(editor);
  EXPECT_EQ(PopupRowsOnHotkey(GetWindow(target, GW_CHILD)), expected);
  CloseNormally(*snibbet_, main_);
  for (const auto& box : Boxes().Seen())
    EXPECT_TRUE(box.box.Button(L"Open")) << "asked: " << probe::ToUtf8(box.box.text);
}

TEST_F(EditorFilesTest, SaveAsOntoAFileHeldOpenFailsAndLeavesThatFileAndTheCurrentOneAsTheyWere) {
  const std::wstring other = folder_.File(L"other.zqt");
  std::ofstream(std::filesystem::path(other), std::ios::binary) << snibbet::WriteZqt({TextTemplate("kept", "K")});
  const std::string otherBefore = ReadBytes(other), currentBefore = ReadBytes(templateFile_);
  // The save dialog stays for the test to fill; the error is closed.
  Boxes().SetPolicy([](const probe::MessageBoxInfo& box) {
    return box.Button(L"Save") ? probe::MessageBoxWatcher::kLeaveOpen : probe::MessageBoxWatcher::kClose;
  });
  StartProgram();
  HWND target = StartTarget();
  ASSERT_NE(target, nullptr);
  HWND editor = OpenEditorFromPopup();
  ASSERT_NE(editor, nullptr);
  ASSERT_NO_FATAL_FAILURE(AddTemplate(editor, "zz"));
  HWND toolBar = MainToolBar(editor);
  ASSERT_TRUE(probe::WaitUntil([&] { return ToolButtonEnabled(toolBar, kSaveButton); }, 3s)) << "not marked unsaved";

  // Another program holds the file open, so nothing can replace it.
  HANDLE held = CreateFileW(other.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  FileByDialog(editor, kSaveAsItem, "other.zqt");
  const auto failed = [&]() -> std::optional<probe::SeenMessageBox> {
    for (const auto& box : Boxes().Seen())
      if (!box.box.Button(L"Save")) return box;
    return std::nullopt;
  };
  ASSERT_TRUE(probe::WaitUntil([&] { return failed().has_value(); }, 5s)) << "the failed save said nothing";
  CloseHandle(held);
  EXPECT_EQ(failed()->box.text.rfind(L"Cannot save the templates to \"" + other + L"\".", 0), 0u)
      << probe::ToUtf8(failed()->box.text);
  ASSERT_TRUE(probe::PumpUntil([&] { return IsWindowEnabled(editor) != FALSE; }, 5s));

  EXPECT_EQ(ReadBytes(other), otherBefore);
  EXPECT_EQ(ReadBytes(templateFile_), currentBefore);
  for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
    EXPECT_NE(entry.path().extension(), ".tmp") << "left behind: " << entry.path().string();
  EXPECT_NE(probe::CaptionOf(editor).find(L"[" + templateFile_ + L"]"), std::wstring::npos)
      << probe::ToUtf8(probe::CaptionOf(editor));
  EXPECT_TRUE(ToolButtonEnabled(toolBar, kSaveButton)) << "the changes are taken as saved";

  CloseNormally(*snibbet_, main_);
  EXPECT_EQ(probe::ReadRegString(kSettingsKey, L"TemplatesFileName"), templateFile_);
  EXPECT_EQ(ReadBytes(other), otherBefore);
  EXPECT_EQ(ReadBytes(templateFile_), currentBefore);
}

TEST_F(EditorFilesTest, MailHandsTheFileOnDiskToTheMailProgram) {
  // The stand-in mail library in the program's folder, taken instead of
  // Wine's through the DLL override "mapi32=n" in this test's environment.
  std::filesystem::copy_file(ProgramDir() + L"..\\standins\\mapi\\mapi32.dll", folder_.File(L"mapi32.dll"));
  const std::wstring journal = folder_.File(L"MapiJournal.txt");
  const std::string before = ReadBytes(templateFile_);
  StartProgram();
  HWND target = StartTarget();
  ASSERT_NE(target, nullptr);
  HWND editor = OpenEditorFromPopup();
  ASSERT_NE(editor, nullptr);
  ASSERT_NO_FATAL_FAILURE(AddTemplate(editor, "zz"));  // not saved: the mail takes the file as it is on disk

  ClickToolButton(MainToolBar(editor), kMailButton);
  ASSERT_TRUE(probe::WaitUntil([&] {
    const auto lines = report_test::ReadJournal(journal);
    return !lines.empty() && lines.back().starts_with(L"MAPILogoff");
  }, 10s)) << "nothing reached the stand-in (it needs Wine's DLL override mapi32=n)"
            << (Boxes().Seen().empty() ? "" : ", asked: " + probe::ToUtf8(Boxes().Seen()[0].box.text));
  const std::vector<std::wstring> expected = {
      L"MAPILogon flags=3",
      L"MAPISendMailW flags=9",
      L"recipient class=1 name=templates@orvanesoftware.com address=SMTP:templates@orvanesoftware.com",
      L"subject=Templates Orvane Paste",
      L"body=Here is some useful Templates.",
      L"attachment path=" + JournalEscaped(templateFile_) + L" name=files.zqt",
      L"MAPILogoff session=1"};
  EXPECT_EQ(report_test::ReadJournal(journal), expected);
  EXPECT_EQ(ReadBytes(templateFile_), before) << "saved for the mail";
  EXPECT_TRUE(ToolButtonEnabled(MainToolBar(editor), kSaveButton)) << "the changes are taken as saved";
  EXPECT_TRUE(Boxes().Seen().empty()) << probe::ToUtf8(Boxes().Seen()[0].box.text);
  CloseNormally(*snibbet_, main_);
}

}  // namespace
}  // namespace snibbet_e2e
