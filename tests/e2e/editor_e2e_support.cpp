#include "tests/e2e/editor_e2e_support.h"

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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
  HWND editButton = VisibleChild(popup, L"Button", 0, L"Editor");
  if (!editButton) {
    ADD_FAILURE() << "the pop-up has no Edit button";
    return nullptr;
  }
  probe::PhysicalClick(CentreOf(editButton));
  HWND editor = nullptr;
  if (!probe::PumpUntil([&] { return (editor = Find(L"TTemplateSetupForm")) != nullptr; }, 5s)) {
    ADD_FAILURE() << "the editor did not open";
    return nullptr;
  }
  probe::PhysicalFocus(editor);
  return editor;
}

void EditorE2eTest::ChooseMenuItem(int menu, int item) {
  probe::PhysicalKeys({"F10"});
  probe::PumpMessages(300ms);
  for (int i = 0; i < menu; ++i) {
    probe::PhysicalKeys({"Right"});
    probe::PumpMessages(300ms);
  }
  for (int i = 0; i <= item; ++i) {
    probe::PhysicalKeys({"Down"});
    probe::PumpMessages(300ms);
  }
  probe::PhysicalKeys({"Return"});
}

void EditorE2eTest::PressAltXOver(HWND editor, HWND survivor) {
  RECT editorRect{}, survivorRect{}, both{};
  GetWindowRect(editor, &editorRect);
  GetWindowRect(survivor, &survivorRect);
  ASSERT_TRUE(IntersectRect(&both, &editorRect, &survivorRect)) << "the editor does not cover the other window";
  probe::PhysicalPointAt(CentreOf(both));
  probe::PhysicalKeys({"alt+x"});
}

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
