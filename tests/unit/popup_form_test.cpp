// The template pop-up as a window under Wine: it never takes the foreground,
// opens at the caret (else centred, else at the monitor's bottom), narrows on
// typed keys, pastes with Enter, closes with Esc, and captures the wheel
// through the input helper while it shows. Its preview shows the current
// template in the view of its kind; what shows after each key or move is
// what a full repaint would show. The list and the preview share the width
// through a splitter, the grip resizes the pop-up, neither activates it, and
// the list's width is kept in the settings; Edit opens the template editor.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "clipboard/monitor_calls.h"
#include "core/app_ini.h"
#include "core/foreground_state.h"
#include "core/input_helper_link.h"
#include "core/preset.h"
#include "core/wait_form.h"
#include "tests/unit/window_pixels.h"
#include "tests/unit/input_records_support.h"
#include "helper/helper_protocol.h"
#include "templates/template_paste_win.h"
#include "templates/template_text.h"
#include "templates/template_view_form.h"
#include "core/caret.h"
#include "ui/application.h"
#include "ui/monitor.h"

namespace snibbet {
namespace {

// A stand-in for SnibbetCm's hidden window: records the commands it gets.
std::vector<UINT> g_helperMessages;
LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= 1186 && message <= 1215) g_helperMessages.push_back(message);
  return DefWindowProcW(window, message, wParam, lParam);
}

struct Pasted {
  std::string name;
  std::wstring search;
};

// The keys, the typed word and the paste the pop-up is given.
class FakeKeys : public PopupSystem {
 public:
  FakeKeys(const std::wstring& typedWord, std::vector<Pasted>& pasted) : typedWord_(typedWord), pasted_(pasted) {}
  std::vector<int> resent;
  std::wstring KeyText(std::uint8_t vk) override {
    if (vk == VK_SPACE) return L" ";
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::wstring(1, static_cast<wchar_t>(vk));
    return L"";
  }
  bool CtrlShortcutHeld(std::uint8_t) override { return false; }
  void Resend(std::uint8_t vk) override { resent.push_back(vk); }
  void ResendAsTyping(std::uint8_t vk) override { resent.push_back(vk); }
  std::wstring TypedWord() override { return typedWord_; }
  void PasteTemplate(const PopupPaste& paste) override {
    pasted_.push_back({paste.request.record.Name, paste.request.searchText});
  }

 private:
  const std::wstring& typedWord_;
  std::vector<Pasted>& pasted_;
};

// The editor the Edit button opens: what it was asked, and what it saw then.
class FakeEditor : public TemplateEditorPort {
 public:
  explicit FakeEditor(TTemplateViewForm*& popup) : popup_(popup) {}
  struct Opening {
    std::wstring name;
    bool popupShown;
    bool waitShown;
  };
  std::vector<Opening> openings;
  void OpenTemplateEditor(const std::wstring& name) override {
    openings.push_back({name, popup_->IsVisible(), TQvMessageWaitForm::Instance() != nullptr});
    popup_->SetSearch(L"");  // the editor lists every template
  }

 private:
  TTemplateViewForm*& popup_;
};

class PopupFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MSG stale;
    while (PeekMessageW(&stale, nullptr, 0, 0, PM_REMOVE)) {
    }
    ui::Application::Create({.title = L"popup tests"});
    WNDCLASSW helperClass{};
    helperClass.lpfnWndProc = HelperProc;
    helperClass.hInstance = GetModuleHandleW(nullptr);
    helperClass.lpszClassName = kHelperWindowClass;
    RegisterClassW(&helperClass);
    helper_ = CreateWindowW(kHelperWindowClass, kHelperWindowTitle, 0, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(StartInputHelper());
    g_helperMessages.clear();

    keys_ = std::make_shared<FakeKeys>(typedWord_, pasted_);
    // The keyboard hook's bracket around the pop-up's work asks the helper.
    keyboard_.emplace();
    form_ = std::make_unique<TTemplateViewForm>(*keys_, Program(), editor_);
    popup_ = form_.get();
    form_->Create();
    for (const char* name : {"Abc", "Abd", "Bye", "Hello"}) AddTemplate(name, "text of " + std::string(name));
    form_->Templates().SortByName();

    target_ = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 200, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(target_);
    SetFocus(target_);
    Pump(100);
    g_helperMessages.clear();  // the look-up request of StartInputHelper
  }
  void TearDown() override {
    form_->Destroy();
    form_.reset();
    HideWaitMessage();
    FinalizeSettingsStore();
    DestroyWindow(target_);
    keyboard_.reset();
    ForgetInputHelper();
    DestroyWindow(helper_);
    ui::Application::Destroy();
  }

  void AddTemplate(const std::string& name, const std::string& text, std::uint16_t kind = kTemplateText) {
    TemplateTable& table = form_->Templates();
    table.Append();
    table.SetName(name);
    table.SetKind(kind);
    table.SetTemplate(text);
    table.Post();
  }
  // Names "t<letter><letter><number>", up to 65,535 templates in all.
  void AddManyTemplates(int count) {
    TemplateTable& table = form_->Templates();
    table.DisableControls();
    for (int i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "t%c%c%05d", 'a' + i % 26, 'a' + (i / 26) % 26, i);
      table.Append();
      table.SetName(name);
      table.Post();
    }
    table.SortByName();
    table.EnableControls();
  }
  static bool Showing(HWND window) { return IsWindowVisible(window) != FALSE; }
  PopupProgramParts Program() {
    return {.keyboard = &*keyboard_, .foreground = Foreground(), .settings = PresetOrNull(), .store = AppIniOrNull()};
  }
  void Pump(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      ui::Application::Get().ProcessMessages();
    }
  }
  void Keys(std::initializer_list<int> keys) {
    for (int vk : keys) EXPECT_TRUE(form_->QueuePopupKey(static_cast<std::uint8_t>(vk)));
    Pump(80);
  }

  HWND helper_ = nullptr;
  HWND target_ = nullptr;
  std::shared_ptr<FakeKeys> keys_;
  std::optional<testing::ProgramKeyboardRuntime> keyboard_;
  std::wstring typedWord_;
  std::vector<Pasted> pasted_;
  std::unique_ptr<TTemplateViewForm> form_;
  TTemplateViewForm* popup_ = nullptr;
  FakeEditor editor_{popup_};
};

// Mouse input as the user's: the cursor moved to a screen point, the left
// button pressed or released there.
void MouseTo(POINT screen) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
  input.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}
void LeftButton(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof input);
}
// The centre of an area of the window's client area, on the screen.
POINT CentreOnScreen(HWND window, const RECT& area) {
  POINT centre{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
  ClientToScreen(window, &centre);
  return centre;
}

TEST_F(PopupFormTest, OpensUnderTheCaretWithoutTakingTheForegroundAndCapturesTheWheel) {
  ASSERT_EQ(GetForegroundWindow(), target_);
  POINT caret{};
  int height = 0;
  ASSERT_TRUE(GetCaretScreenPos(caret, height, false));
  form_->ShowTemplateView();
  Pump(50);
  EXPECT_TRUE(form_->IsVisible());
  EXPECT_TRUE(TemplateViewActive());
  EXPECT_EQ(GetForegroundWindow(), target_);
  EXPECT_EQ(GetFocus(), target_);
  EXPECT_EQ(form_->Left(), caret.x);
  EXPECT_EQ(form_->Top(), caret.y + height);
  EXPECT_NE(GetWindowLongW(form_->Handle(), GWL_EXSTYLE) & WS_EX_NOACTIVATE, 0);
  EXPECT_NE(GetWindowLongW(form_->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(form_->Grid().Count(), 4);

  Keys({VK_ESCAPE});
  EXPECT_FALSE(form_->IsVisible());
  EXPECT_FALSE(TemplateViewActive());
  EXPECT_FALSE(form_->QueuePopupKey('A'));  // a closed pop-up takes no keys
  EXPECT_EQ(g_helperMessages, (std::vector<UINT>{1190, 1208, 1191, 1209}));
  EXPECT_TRUE(keys_->resent.empty());
}

// The first frame the user sees holds the rows, the selection and the
// preview: nothing is left for the message loop to paint.
TEST_F(PopupFormTest, ItsFirstFrameIsCompleteBeforeTheMessageLoopRuns) {
  // Two matches each: a single one would be pasted without the pop-up.
  for (const char* name : {"Rich", "Ritz"})
    AddTemplate(name, "{\\rtf1\\ansi rich {\\b words}\\par}", kTemplateRichText);
  form_->Templates().SortByName();
  for (const std::wstring word : {L"ab", L"ri"}) {
    typedWord_ = word;
    form_->ShowTemplateView();
    HWND window = form_->Handle();
    ASSERT_TRUE(Showing(window));
    bool waiting = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (Showing(child) && GetUpdateRect(child, nullptr, FALSE)) waiting = true;
    EXPECT_FALSE(waiting);
    EXPECT_EQ(form_->Grid().Count(), 2);
    const std::vector<std::uint32_t> first = WindowPixels(window);
    EXPECT_EQ(DifferentPixels(first, FullyRepaintedPixels(window)), 0u);
    form_->HideView();
  }
}

TEST_F(PopupFormTest, WithoutACaretItIsCentredOrEndsAtTheBottomWhenTaller) {
  HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(plain);
  Pump(50);
  form_->ShowTemplateView();
  const RECT monitor = ui::MonitorBounds(form_->Handle());
  EXPECT_EQ(form_->Left(), monitor.left + (monitor.right - monitor.left - form_->Width()) / 2);
  EXPECT_EQ(form_->Top(), monitor.top + (monitor.bottom - monitor.top - form_->Height()) / 2);
  form_->HideView();

  const int tall = monitor.bottom - monitor.top + 100;
  SetWindowPos(form_->Handle(), nullptr, 0, 0, form_->Width(), tall, SWP_NOZORDER | SWP_NOACTIVATE);
  if (form_->Height() == tall) {  // the window system may refuse a window taller than the screen
    form_->ShowTemplateView();
    EXPECT_EQ(form_->Top() + form_->Height(), monitor.bottom);
    form_->HideView();
  }
  DestroyWindow(plain);
}

TEST_F(PopupFormTest, TypedKeysNarrowTheListAndEnterPastesTheSelectedTemplate) {
  form_->ShowTemplateView();
  Keys({'A', 'B'});
  EXPECT_EQ(form_->Search(), L"ab");
  EXPECT_EQ(form_->Grid().Count(), 2);
  Keys({VK_DOWN});
  Keys({VK_RETURN});
  EXPECT_FALSE(form_->IsVisible());
  ASSERT_EQ(pasted_.size(), 1u);
  EXPECT_EQ(pasted_[0].name, "Abd");
  EXPECT_EQ(pasted_[0].search, L"ab");
  EXPECT_EQ(keys_->resent, (std::vector<int>{'A', 'B'}));
}

TEST_F(PopupFormTest, QueuedKeysRunInOrderAndThoseAfterAClosingKeyAreResent) {
  form_->ShowTemplateView();
  // All handed over before the timer runs once.
  for (int vk : std::initializer_list<int>{'H', VK_BACK, 'B', VK_TAB, 'X', VK_RETURN})
    EXPECT_TRUE(form_->QueuePopupKey(static_cast<std::uint8_t>(vk)));
  Pump(100);
  EXPECT_FALSE(form_->IsVisible());
  EXPECT_EQ(form_->Search(), L"b");
  EXPECT_EQ(keys_->resent, (std::vector<int>{'H', VK_BACK, 'B', VK_TAB, 'X', VK_RETURN}));
  EXPECT_TRUE(pasted_.empty());
  // One block for the whole batch, ended once.
  EXPECT_EQ(std::count(g_helperMessages.begin(), g_helperMessages.end(), 1208u), 1);
  EXPECT_EQ(std::count(g_helperMessages.begin(), g_helperMessages.end(), 1209u), 1);
}

TEST_F(PopupFormTest, TheTypedWordPrefillsTheSearchAndASingleMatchIsPastedUnseen) {
  typedWord_ = L"AB";
  form_->ShowTemplateView();
  EXPECT_EQ(form_->Search(), L"ab");
  EXPECT_EQ(form_->Grid().Count(), 2);
  EXPECT_TRUE(pasted_.empty());
  form_->HideView();

  typedWord_ = L"by";
  form_->ShowTemplateView();
  ASSERT_EQ(pasted_.size(), 1u);
  EXPECT_EQ(pasted_[0].name, "Bye");
  EXPECT_FALSE(form_->IsVisible());
  EXPECT_FALSE(TemplateViewActive());
  EXPECT_EQ(GetForegroundWindow(), target_);
}

TEST_F(PopupFormTest, NoMatchOpensAnEmptyListWhereEnterOnlyHides) {
  typedWord_ = L"zz";
  form_->ShowTemplateView();
  EXPECT_TRUE(form_->IsVisible());
  EXPECT_EQ(form_->Grid().Count(), 0);
  Keys({VK_RETURN});
  EXPECT_FALSE(form_->IsVisible());
  EXPECT_TRUE(pasted_.empty());
}

TEST_F(PopupFormTest, SixtyFiveThousandTemplatesFilterAndRepaintQuickly) {
  AddManyTemplates(65535 - 4);
  form_->ShowTemplateView();
  ASSERT_EQ(form_->Grid().Count(), 65535);

  std::vector<double> ms;
  const std::wstring typed = L"tbc0";
  std::wstring search;
  for (wchar_t ch : typed) {
    search += ch;
    const auto start = std::chrono::steady_clock::now();
    form_->SetSearch(search);
    UpdateWindow(form_->Grid().Handle());
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  for (std::size_t i = typed.size(); i > 0; --i) {
    search.pop_back();
    const auto start = std::chrono::steady_clock::now();
    form_->SetSearch(search);
    UpdateWindow(form_->Grid().Handle());
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  EXPECT_EQ(form_->Grid().Count(), 65535);
  std::sort(ms.begin(), ms.end());
  const double median = ms[ms.size() / 2];
  std::printf("per-character refilter and repaint of 65535 templates: median %.3f ms, max %.3f ms\n", median,
              ms.back());
  RecordProperty("refilter_median_us", static_cast<int>(median * 1000));
  EXPECT_LT(median, 50.0);  // the goal is under 2 ms; the bound leaves room for a loaded machine
}

TEST_F(PopupFormTest, MovingThroughSixtyFiveThousandTemplatesIsQuick) {
  AddManyTemplates(65535 - 4);
  form_->ShowTemplateView();
  UpdateWindow(form_->Handle());
  std::vector<double> ms;
  for (int i = 0; i < 40; ++i) {
    const auto start = std::chrono::steady_clock::now();
    form_->Templates().Next();
    RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  EXPECT_EQ(form_->Grid().SelectedIndex(), 40);
  std::sort(ms.begin(), ms.end());
  // Moving the list's selection used to clear all 65,535 rows one by one.
  EXPECT_LT(ms[ms.size() / 2], 20.0);
}

TEST_F(PopupFormTest, ThePreviewShowsTheCurrentTemplateInTheViewOfItsKind) {
  AddTemplate("Rich", "{\\rtf1\\ansi rich {\\b words}\\par}", kTemplateRichText);
  form_->Templates().SortByName();
  HWND memo = form_->TextPreview().Handle(), editor = form_->RichPreview().Handle();
  form_->ShowTemplateView();
  EXPECT_TRUE(Showing(memo));
  EXPECT_FALSE(Showing(editor));
  EXPECT_EQ(form_->TextPreview().Text(), L"text of Abc");

  Keys({'R'});
  EXPECT_TRUE(Showing(editor));
  EXPECT_FALSE(Showing(memo));
  EXPECT_NE(form_->RichPreview().PlainText().find(L"rich words"), std::wstring::npos);

  Keys({VK_BACK, 'H'});
  EXPECT_TRUE(Showing(memo));
  EXPECT_FALSE(Showing(editor));
  EXPECT_EQ(form_->TextPreview().Text(), L"text of Hello");

  Keys({'X'});  // nothing matches: the text view is emptied
  EXPECT_EQ(form_->Grid().Count(), 0);
  EXPECT_EQ(form_->TextPreview().Text(), L"");
}

// A 3 x 2 picture file of 24-bit pixels.
std::wstring WriteSmallBitmap() {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"popup_test_" + std::to_wstring(GetCurrentProcessId()) + L".bmp";
  BITMAPINFOHEADER info{sizeof info, 3, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD pixelBytes = 12 * 2;  // rows padded to 4 bytes
  BITMAPFILEHEADER file{0x4D42, sizeof file + sizeof info + pixelBytes, 0, 0, sizeof file + sizeof info};
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  bytes.append(pixelBytes, '\x40');
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(handle);
  return path;
}

TEST_F(PopupFormTest, APictureTemplateGoesOnTheClipboardAsABitmapOfItsSize) {
  const std::wstring picture = WriteSmallBitmap();
  AddTemplate("Pic", WideToTemplateText(picture), kTemplatePicture);
  AddTemplate("Pmissing", "C:\\no such picture.bmp", kTemplatePicture);
  // Shorter than any picture's header.
  const std::wstring damaged = picture.substr(0, picture.size() - 4) + L".png";
  HANDLE file = CreateFileW(damaged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, "\x89PNG", 4, &written, nullptr);
  CloseHandle(file);
  AddTemplate("Pshort", WideToTemplateText(damaged), kTemplatePicture);
  form_->Templates().SortByName();
  form_->ShowTemplateView();
  Keys({'P', 'I'});
  MonitorPasteSteps clipboard(nullptr);
  NoWizardWindow noWizard;
  WindowsPasteSystem system(clipboard, form_->Picture(), noWizard, Program());
  ASSERT_TRUE(system.PutPicture());
  ASSERT_TRUE(OpenClipboard(nullptr));
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(GetClipboardData(CF_DIB)));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->biWidth, 3);
  EXPECT_EQ(header->biHeight, 2);
  GlobalUnlock(GetClipboardData(CF_DIB));
  CloseClipboard();

  Keys({VK_BACK, 'M'});
  EXPECT_FALSE(system.PutPicture()) << "a picture that did not load must not be pasted";
  Keys({VK_BACK, 'S'});
  EXPECT_TRUE(form_->Picture().Empty());
  EXPECT_FALSE(system.PutPicture()) << "a damaged picture must not be pasted";
  DeleteFileW(picture.c_str());
  DeleteFileW(damaged.c_str());
}

TEST_F(PopupFormTest, TheSameTemplateIsLoadedAgainOnlyWhenItsViewWasMoved) {
  std::string lines;
  for (int line = 0; line < 80; ++line) lines += "line " + std::to_string(line) + "\r\n";
  AddTemplate("Long", lines);
  form_->Templates().SortByName();
  HWND memo = form_->TextPreview().Handle();
  // Loading a text clears the view's modified mark; the mark tells loads apart.
  const auto loadedSinceMarked = [&] { return SendMessageW(memo, EM_GETMODIFY, 0, 0) == 0; };
  form_->ShowTemplateView();
  Keys({'L'});
  ASSERT_EQ(form_->Templates().Current()->Name, "Long");
  SendMessageW(memo, EM_SETMODIFY, TRUE, 0);

  Keys({'O'});  // still the same template, its view untouched
  EXPECT_FALSE(loadedSinceMarked());

  SendMessageW(memo, EM_LINESCROLL, 0, 10);
  ASSERT_EQ(SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0), 10);
  Keys({'N'});  // the same template again: shown from its start, as loaded
  EXPECT_TRUE(loadedSinceMarked());
  EXPECT_EQ(SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(PopupFormTest, EveryKeyAndMoveShowsWhatAFullRepaintShows) {
  TemplateTable& table = form_->Templates();
  table.DisableControls();
  const char* syllables[] = {"ab", "ca", "de", "so", "ne", "ka"};
  std::string lines;
  for (int line = 0; line < 40; ++line) lines += "line " + std::to_string(line) + " of a long template\r\n";
  for (int i = 0; i < 400; ++i) {
    const std::string name = std::string(syllables[i % 6]) + syllables[(i / 6) % 6] + syllables[(i / 36) % 6] +
                             std::to_string(i);
    std::uint16_t kind = kTemplateText;
    std::string content = "text of " + name;
    if (i % 9 == 0) {
      kind = kTemplateRichText;
      content = i % 2 ? "{\\rtf1\\ansi {\\b " + name + "}\\par}" : "{\\rtf1\\ansi " + lines + "}";
    } else if (i % 7 == 0) {
      content = lines;
    } else if (i % 11 == 0) {
      content = std::string(300, 'w');
    }
    table.Append();
    table.SetName(name);
    table.SetKind(kind);
    table.SetTemplate(content);
    table.Post();
  }
  table.SortByName();
  table.EnableControls();
  form_->ShowTemplateView();
  HWND window = form_->Handle();
  const auto expectSameAsFullRepaint = [&](const std::string& step) {
    const std::vector<std::uint32_t> shown = PaintedPixels(window);
    EXPECT_EQ(DifferentPixels(shown, FullyRepaintedPixels(window)), 0u) << step;
  };
  expectSameAsFullRepaint("shown");
  for (const wchar_t* search : {L"s", L"so", L"soca", L"socax", L"soca", L"so", L"", L"a", L"ab", L"abca",
                                L"abcaab", L"", L"n", L"ne", L"k", L""}) {
    form_->SetSearch(search);
    expectSameAsFullRepaint("search \"" + std::string(search, search + wcslen(search)) + "\"");
  }
  for (int i = 0; i < 30; ++i) {
    table.Next();
    expectSameAsFullRepaint("next " + std::to_string(i));
  }
  for (int i = 0; i < 12; ++i) {
    table.Prior();
    expectSameAsFullRepaint("prior " + std::to_string(i));
  }
  for (std::size_t position : {399u, 0u, 200u, 217u, 35u, 36u}) {
    table.MoveTo(position);
    expectSameAsFullRepaint("move to " + std::to_string(position));
  }
  Keys({'D', 'E', VK_DOWN, VK_DOWN, VK_BACK});
  expectSameAsFullRepaint("keys");
}

}  // namespace
}  // namespace snibbet

namespace snibbet {
namespace {

// The mouse at a point of the pop-up's client area, as the pop-up hears of it.
void MouseMessage(HWND popup, UINT message, int x, int y) {
  SendMessageW(popup, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
               MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

TEST_F(PopupFormTest, TheSplitterLeavesListAndPreviewFiftyPixelsEachAndTheListWidthIsKept) {
  RegDeleteTreeW(HKEY_CURRENT_USER, TAppIni::kKeyPath);
  InitializeSettingsStore();
  InitializePreset(AppIni());
  Preset().Load();  // only a run that read the settings writes them back
  form_->Destroy();
  form_ = std::make_unique<TTemplateViewForm>(*keys_, Program(), editor_);
  popup_ = form_.get();
  form_->Create();
  form_->ShowTemplateView();
  HWND popup = form_->Handle();
  const auto bar = [&] { return form_->ListSplitter().Bounds(); };
  const auto previewWidth = [&] { return form_->TextPreview().Width(); };
  const auto barAtListEdge = [&] { return bar().left == form_->Grid().Left() + form_->Grid().Width(); };
  EXPECT_EQ(form_->Grid().Width(), 148);
  MouseMessage(popup, WM_LBUTTONDOWN, bar().left + 1, 10);
  MouseMessage(popup, WM_MOUSEMOVE, -500, 10);
  EXPECT_EQ(form_->Grid().Width(), 50);
  EXPECT_TRUE(barAtListEdge());
  MouseMessage(popup, WM_MOUSEMOVE, 5000, 10);
  EXPECT_EQ(previewWidth(), 50);
  EXPECT_TRUE(barAtListEdge());
  EXPECT_EQ(form_->TextPreview().Left(), bar().right) << "the preview follows the bar";
  MouseMessage(popup, WM_MOUSEMOVE, 202, 10);  // pressed at 150 with the list 148 wide
  MouseMessage(popup, WM_LBUTTONUP, 202, 10);
  const int kept = form_->Grid().Width();
  EXPECT_EQ(kept, 200);

  // A narrower pop-up narrows the list only as far as the preview needs.
  form_->SetBounds(form_->Left(), form_->Top(), 330, form_->Height());
  EXPECT_EQ(previewWidth(), 330 - 200 - 5);

  form_->Destroy();  // writes the width
  EXPECT_EQ(AppIni().ReadIntegerDef(L"TemplateViewFormpnlLeftWidth", 0), kept);
  AppIni().WriteInteger(L"TemplateViewFormpnlLeftWidth", 120);
  form_ = std::make_unique<TTemplateViewForm>(*keys_, Program(), editor_);
  popup_ = form_.get();
  form_->Create();  // reads it
  EXPECT_EQ(form_->Grid().Width(), 120);
}

TEST_F(PopupFormTest, SplitterAndGripDragWithTheMouseWithoutTakingTheForeground) {
  form_->ShowTemplateView();
  Pump(50);
  const int listWidth = form_->Grid().Width();
  HWND popup = form_->Handle();
  const POINT bar = CentreOnScreen(popup, form_->ListSplitter().Bounds());
  MouseTo(bar);
  LeftButton(true);
  Pump(30);
  EXPECT_TRUE(form_->ListSplitter().IsDragging());
  MouseTo({bar.x + 40, bar.y + 7});
  Pump(30);
  LeftButton(false);
  Pump(30);
  EXPECT_EQ(form_->Grid().Width(), listWidth + 40);

  const int width = form_->Width(), height = form_->Height(), left = form_->Left(), top = form_->Top();
  const POINT grip = CentreOnScreen(popup, form_->Grip().Bounds());
  MouseTo(grip);
  LeftButton(true);
  Pump(30);
  MouseTo({grip.x + 30, grip.y + 20});
  Pump(30);
  MouseTo({grip.x + 60, grip.y + 45});
  Pump(30);
  LeftButton(false);
  Pump(30);
  EXPECT_FALSE(form_->Grip().IsDragging());
  EXPECT_EQ(form_->Width(), width + 60);
  EXPECT_EQ(form_->Height(), height + 45);
  EXPECT_EQ(form_->Left(), left);
  EXPECT_EQ(form_->Top(), top);
  const RECT corner = form_->Grip().Bounds();
  EXPECT_EQ(corner.right, form_->ClientWidth() - 1);  // inside the black frame
  EXPECT_EQ(corner.bottom, form_->ClientHeight() - 1);

  // Shrunk far past its minimum: held there.
  MouseTo(CentreOnScreen(popup, form_->Grip().Bounds()));
  LeftButton(true);
  Pump(30);
  MouseTo({left + 5, top + 5});
  Pump(30);
  LeftButton(false);
  Pump(30);
  EXPECT_EQ(form_->Width(), 330);
  EXPECT_EQ(form_->Height(), 50);

  EXPECT_TRUE(form_->IsVisible());
  EXPECT_EQ(GetForegroundWindow(), target_);
  EXPECT_EQ(GetFocus(), target_);
}

TEST_F(PopupFormTest, EditHidesThePopupAndOpensTheEditorOnTheCurrentTemplate) {
  form_->ShowTemplateView();
  Keys({'A', 'B', VK_DOWN});
  ASSERT_EQ(form_->Templates().Current()->Name, "Abd");
  form_->btnEditClick();
  ASSERT_EQ(editor_.openings.size(), 1u);
  EXPECT_EQ(editor_.openings[0].name, L"Abd");
  EXPECT_FALSE(editor_.openings[0].popupShown);
  EXPECT_TRUE(editor_.openings[0].waitShown);
  EXPECT_EQ(TQvMessageWaitForm::Instance(), nullptr) << "the wait message closes";
  EXPECT_FALSE(form_->IsVisible());
  EXPECT_FALSE(TemplateViewActive());
  // The editor lists every template, standing on the one the pop-up stood on.
  EXPECT_EQ(form_->Templates().VisibleCount(), 4u);
  EXPECT_EQ(form_->Templates().Current()->Name, "Abd");
  EXPECT_TRUE(pasted_.empty());

  // An empty list: the editor opens on no template.
  form_->ShowTemplateView();
  Keys({'Z'});
  ASSERT_EQ(form_->Grid().Count(), 0);
  form_->btnEditClick();
  ASSERT_EQ(editor_.openings.size(), 2u);
  EXPECT_EQ(editor_.openings[1].name, L"");
}

}  // namespace
}  // namespace snibbet
