#include "tests/e2e/editor_e2e_support.h"

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "hub/tray_icon.h"
#include "templates/popup_layout.h"
#include "testing/probe/probe.h"

namespace snibbet_e2e {

using namespace std::chrono_literals;

std::string ReadBytes(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

POINT CentreOf(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

POINT CentreOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return CentreOf(r);
}

HWND VisibleChild(HWND parent, const wchar_t* className, DWORD style, const std::wstring& text) {
  for (HWND child : probe::ChildWindows(parent)) {
    if (!IsWindowVisible(child) || _wcsicmp(probe::ClassNameOf(child).c_str(), className) != 0) continue;
    if ((static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)) & style) != style) continue;
    if (!text.empty() && probe::WindowText(child) != text) continue;
    return child;
  }
  return nullptr;
}

RemoteBuffer::RemoteBuffer(HWND window, size_t size) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
  if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  if (process_) CloseHandle(process_);
}

bool RemoteBuffer::Write(size_t offset, const void* bytes, size_t size) {
  return address_ && WriteProcessMemory(process_, static_cast<char*>(address_) + offset, bytes, size, nullptr);
}

bool RemoteBuffer::Read(size_t offset, void* bytes, size_t size) const {
  return address_ && ReadProcessMemory(process_, static_cast<char*>(address_) + offset, bytes, size, nullptr);
}

POINT ScreenCentre(HWND window, RECT r) {
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return CentreOf(r);
}

std::wstring ListRowText(HWND list, int row) {
  constexpr int kMaxText = 260;
  RemoteBuffer buffer(list, sizeof(LVITEMW) + kMaxText * sizeof(wchar_t));
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer.Address()) + sizeof(LVITEMW));
  item.cchTextMax = kMaxText;
  DWORD_PTR length = 0;
  if (!buffer.Write(0, &item, sizeof item) ||
      !SendMessageTimeoutW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.Address()),
                           SMTO_ABORTIFHUNG, 2000, &length))
    return {};
  std::wstring text(std::min<size_t>(length, kMaxText - 1), L'\0');
  if (!text.empty() && !buffer.Read(sizeof(LVITEMW), text.data(), text.size() * sizeof(wchar_t))) return {};
  return text;
}

int ListRowOf(HWND list, std::wstring_view text) {
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &count)) return -1;
  for (int row = 0; row < static_cast<int>(count); ++row)
    if (ListRowText(list, row) == text) return row;
  return -1;
}

snibbet::TemplateRecord TextTemplate(std::string name, std::string content) {
  snibbet::TemplateRecord record;
  record.Name = std::move(name);
  record.Template = std::move(content);
  return record;
}

void EditorE2eTest::SetUp() {
  SnibbetTest::SetUp();
  if (!probe::XdotoolAvailable()) GTEST_SKIP() << "needs Wine and xdotool";
  for (DWORD pid : probe::ProcessesNamed(L"SnibbetCm.exe")) probe::Process::Attach(pid).Kill();
}

void EditorE2eTest::UseTemplateFile(const std::wstring& fileName, const std::vector<snibbet::TemplateRecord>& templates) {
  templateFile_ = folder_.File(fileName);
  std::ofstream(std::filesystem::path(templateFile_), std::ios::binary) << snibbet::WriteZqt(templates);
  probe::WriteRegString(kSettingsKey, L"TemplatesFileName", templateFile_);
}

void EditorE2eTest::StartProgram() {
  snibbet_ = &StartSnibbet({L"/debug"});
  main_ = WaitForMainWindow(snibbet_->Pid());
  ASSERT_NE(main_, nullptr);
  ASSERT_TRUE(probe::WaitUntil([&] { return ReadBytes(folder_.File(L"Log.txt")).find("Keyboard hook installed") !=
                                            std::string::npos; }, 10s));
}

HWND EditorE2eTest::StartTarget(const wchar_t* mode) {
  static int serial = 0;
  const std::wstring title =
      L"Editor target " + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
  Start(TestDir() + L"ProbeTarget.exe", {mode, title}, probe::AtEnd::MustRun);
  HWND target = probe::WaitForWindow({.className = L"ProbeTargetWindow", .title = title, .visibleOnly = true}, 10s);
  if (!target) {
    ADD_FAILURE() << "ProbeTarget did not show";
    return nullptr;
  }
  probe::PhysicalFocus(GetWindow(target, GW_CHILD));
  return target;
}

HWND EditorE2eTest::Find(const wchar_t* className) const {
  return probe::FindTopWindow({.className = className, .pid = snibbet_->Pid(), .visibleOnly = true});
}

HWND EditorE2eTest::OpenEditorFromPopup() {
  probe::PhysicalChord({"super", "space"});
  HWND popup = nullptr;
  if (!probe::PumpUntil([&] { return (popup = Find(L"TTemplateViewForm")) != nullptr; }, 3s)) {
    ADD_FAILURE() << "the pop-up did not open";
    return nullptr;
  }
  probe::PumpMessages(300ms);
  // The pop-up draws its buttons itself: the Edit button is where its layout puts it.
  RECT client{};
  GetClientRect(popup, &client);
  const snibbet::PopupArea edit =
      snibbet::LayOutPopup(client.right, client.bottom, 0, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL))
          .Button(snibbet::PopupButton::Edit);
  POINT centre = CentreOf(RECT{edit.left, edit.top, edit.right, edit.bottom});
  ClientToScreen(popup, &centre);
  probe::PhysicalClick(centre);
  HWND editor = nullptr;
  if (!probe::PumpUntil([&] { return (editor = Find(L"TTemplateSetupForm")) != nullptr; }, 5s)) {
    ADD_FAILURE() << "the editor did not open";
    return nullptr;
  }
  probe::PhysicalFocus(editor);
  return editor;
}

void EditorE2eTest::ChooseMenuItem(int menu, int item) {
  HWND editor = Find(L"TTemplateSetupForm");
  if (!editor) {
    ADD_FAILURE() << "no editor";
    return;
  }
  // F10 as the window takes it (the menu bar's keyboard mode), then the keys
  // the menu reads, all posted in order: on a loaded machine keys sent by time
  // could reach the window before its menu is there to take them.
  PostMessageW(editor, WM_SYSCOMMAND, SC_KEYMENU, 0);
  for (int i = 0; i < menu; ++i) PostMessageW(editor, WM_KEYDOWN, VK_RIGHT, 0);
  PostMessageW(editor, WM_KEYDOWN, VK_DOWN, 0);
  HWND popup = probe::WaitForWindow({.className = L"#32768", .pid = snibbet_->Pid(), .visibleOnly = true}, 5s);
  if (!popup) {
    ADD_FAILURE() << "the menu did not open";
    return;
  }
  for (int i = 0; i < item; ++i) PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(probe::WaitForNoWindow({.className = L"#32768", .pid = snibbet_->Pid(), .visibleOnly = true}, 5s))
      << "the menu stays open";
}

void EditorE2eTest::PressAltXOver(HWND editor, HWND survivor) {
  RECT editorRect{}, survivorRect{}, both{};
  GetWindowRect(editor, &editorRect);
  GetWindowRect(survivor, &survivorRect);
  ASSERT_TRUE(IntersectRect(&both, &editorRect, &survivorRect)) << "the editor does not cover the other window";
  probe::PhysicalPointAt(CentreOf(both));
  probe::PhysicalKeys({"alt+x"});
}

bool EditorE2eTest::StartRenaming(HWND list, int row) {
  RECT bounds{};
  bounds.left = LVIR_LABEL;
  const auto rect = AskThroughPointer(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), bounds);
  if (!rect) return false;
  probe::PhysicalClick(ScreenCentre(list, *rect));
  // A click on the row already selected opens its name by itself after a while.
  probe::PumpMessages(800ms);
  if (!VisibleChild(list, L"Edit")) probe::PhysicalKeys({"F2"});
  return probe::PumpUntil([&] { return VisibleChild(list, L"Edit") != nullptr; }, 3s);
}

void EditorE2eTest::ChooseTrayExit() {
  HWND icon = probe::WaitForWindow({.className = snibbet::kTrayWindowClass, .pid = snibbet_->Pid()}, 5s);
  ASSERT_NE(icon, nullptr) << "no tray icon";
  PostMessageW(icon, snibbet::kTrayCallbackMessage, 1, WM_RBUTTONUP);
  const probe::WindowQuery menuQuery{.className = L"#32768", .pid = snibbet_->Pid(), .visibleOnly = true};
  HWND menu = probe::WaitForWindow(menuQuery, 5s);
  ASSERT_NE(menu, nullptr) << "no tray menu";
  // Up from no item wraps to the last one.
  PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(probe::WaitForNoWindow(menuQuery, 5s)) << "the menu stays";
}

HWND EditorE2eTest::TemplateList(HWND editor) { return FindWindowExW(editor, nullptr, WC_LISTVIEWW, nullptr); }

int EditorE2eTest::ListCount(HWND list) {
  DWORD_PTR count = 0;
  if (!list || !SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &count)) return -1;
  return static_cast<int>(count);
}

int EditorE2eTest::PopupRows() const {
  HWND popup = probe::FindTopWindow({.className = L"TTemplateViewForm", .pid = snibbet_->Pid()});
  return popup ? ListCount(FindWindowExW(popup, nullptr, WC_LISTVIEWW, nullptr)) : -1;
}

std::vector<snibbet::TemplateRecord> ReadTemplateFile(const std::wstring& path) {
  const std::string bytes = ReadBytes(path);
  std::vector<snibbet::TemplateRecord> records;
  for (const auto& view : snibbet::ReadZqt(bytes).Records)
    records.push_back({.Name = std::string(view.Name), .Date = view.Date, .Kind = view.Kind,
                       .Template = std::string(view.Template)});
  return records;
}

std::vector<snibbet::TemplateRecord> EditorE2eTest::SavedTemplates() const { return ReadTemplateFile(templateFile_); }

std::optional<std::string> EditorE2eTest::SavedTemplate(const std::string& name) const {
  for (const auto& record : SavedTemplates())
    if (record.Name == name) return record.Template;
  return std::nullopt;
}

}  // namespace snibbet_e2e
