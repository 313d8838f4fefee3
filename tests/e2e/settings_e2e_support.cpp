#include "tests/e2e/settings_e2e_support.h"

#include <commctrl.h>

namespace snibbet_e2e {

using namespace std::chrono_literals;

namespace {

constexpr UINT kTrayCallback = WM_APP + 0x2F10;
constexpr int kSettingsItem = 4;  // Active, Sounds, Templates, Settings
constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Snibbet";
constexpr size_t kTextChars = 256;

}  // namespace

std::vector<ListItem> TreeItems(HWND tree) {
  std::vector<ListItem> items;
  RemoteBuffer remote(tree, sizeof(TVITEMW) + kTextChars * sizeof(wchar_t));
  if (!remote.Address()) return items;
  for (auto node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); node;
       node = reinterpret_cast<HTREEITEM>(
           SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(node)))) {
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_IMAGE;
    item.hItem = node;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.Address()) + sizeof(TVITEMW));
    item.cchTextMax = kTextChars;
    remote.Write(0, &item, sizeof item);
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.Address()));
    remote.Read(0, &item, sizeof item);
    wchar_t text[kTextChars] = {};
    remote.Read(sizeof(TVITEMW), text, sizeof text);
    text[kTextChars - 1] = L'\0';
    items.push_back({text, item.iImage});
  }
  return items;
}

std::vector<std::wstring> TreeTexts(HWND tree) {
  std::vector<std::wstring> texts;
  for (const ListItem& item : TreeItems(tree)) texts.push_back(item.text);
  return texts;
}

std::vector<ListItem> ComboExItems(HWND combo) {
  std::vector<ListItem> items;
  RemoteBuffer remote(combo, sizeof(COMBOBOXEXITEMW) + kTextChars * sizeof(wchar_t));
  if (!remote.Address()) return items;
  const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE;
    item.iItem = index;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.Address()) + sizeof(COMBOBOXEXITEMW));
    item.cchTextMax = kTextChars;
    remote.Write(0, &item, sizeof item);
    SendMessageW(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.Address()));
    remote.Read(0, &item, sizeof item);
    wchar_t text[kTextChars] = {};
    remote.Read(sizeof(COMBOBOXEXITEMW), text, sizeof text);
    text[kTextChars - 1] = L'\0';
    items.push_back({text, item.iImage});
  }
  return items;
}

HWND ChildWithText(HWND parent, const std::wstring& text) {
  for (HWND child : probe::ChildWindows(parent))
    if (probe::WindowText(child) == text) return child;
  return nullptr;
}

HWND ChildOfClass(HWND parent, const std::wstring& className) {
  for (HWND child : probe::ChildWindows(parent))
    if (probe::ClassNameOf(child) == className) return child;
  return nullptr;
}

std::optional<std::wstring> MachineRunValue() {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(buffer);
}

void DeleteMachineRunValue() { RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, kRunValue); }

EnvironmentScope::EnvironmentScope(std::wstring name, const std::wstring& value) : name_(std::move(name)) {
  wchar_t old[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name_.c_str(), old, MAX_PATH);
  if (length > 0 && length < MAX_PATH) previous_ = std::wstring(old, length);
  SetEnvironmentVariableW(name_.c_str(), value.c_str());
}

EnvironmentScope::~EnvironmentScope() {
  SetEnvironmentVariableW(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
}

void SettingsE2eTest::SetUp() {
  EditorE2eTest::SetUp();
  // The tests answer the window's questions themselves.
  Boxes().LeaveOpen();
  DeleteMachineRunValue();
}

void SettingsE2eTest::TearDown() {
  EditorE2eTest::TearDown();
  DeleteMachineRunValue();
}

void SettingsE2eTest::StartRunning() {
  snibbet_ = &StartSnibbet({L"/debug"}, probe::AtEnd::MustRun);
  main_ = WaitForMainWindow(snibbet_->Pid());
  ASSERT_NE(main_, nullptr);
  tray_ = probe::WaitForWindow({.className = L"TSnibbetTrayIcon", .pid = snibbet_->Pid()}, 5s);
  ASSERT_NE(tray_, nullptr);
  ASSERT_TRUE(probe::WaitUntil([&] { return Log().find("Keyboard hook installed") != std::string::npos; }, 10s));
  ASSERT_TRUE(probe::WaitUntil([&] { return Log().find("Run") != std::string::npos; }, 10s));
}

void SettingsE2eTest::PickSettings() {
  const DWORD pid = snibbet_->Pid();
  PostMessageW(tray_, kTrayCallback, 1, WM_RBUTTONUP);
  HWND menu = probe::WaitForWindow({.className = L"#32768", .pid = pid, .visibleOnly = true}, 5s);
  ASSERT_NE(menu, nullptr) << "no menu";
  for (int i = 0; i < kSettingsItem; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  if (!probe::WaitForNoWindow({.className = L"#32768", .pid = pid, .visibleOnly = true}, 1s)) {
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(probe::WaitForNoWindow({.className = L"#32768", .pid = pid, .visibleOnly = true}, 5s));
  }
}

HWND SettingsE2eTest::OpenSettings() {
  PickSettings();
  settings_ = probe::WaitForWindow({.className = L"TMainForm", .pid = snibbet_->Pid(), .visibleOnly = true}, 10s);
  if (!settings_) {
    ADD_FAILURE() << "the settings window did not open; the log:\n" << Log();
    return nullptr;
  }
  EXPECT_TRUE(probe::WaitUntil([&] { return GetForegroundWindow() == settings_; }, 5s)) << "not in front";
  Sync();
  return settings_;
}

void SettingsE2eTest::ShowPage(const std::wstring& nodeText) {
  HWND tree = ChildOfClass(settings_, WC_TREEVIEWW);
  ASSERT_NE(tree, nullptr);
  const std::vector<std::wstring> texts = TreeTexts(tree);
  auto node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  for (size_t i = 0; node && i < texts.size() && texts[i] != nodeText; ++i)
    node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(node)));
  ASSERT_NE(node, nullptr) << "no node " << probe::ToUtf8(nodeText);
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
}

HWND SettingsE2eTest::Control(const std::wstring& text, const std::wstring& className) const {
  for (HWND child : probe::ChildWindows(settings_))
    if (IsWindowVisible(child) && probe::WindowText(child) == text &&
        (className.empty() || probe::ClassNameOf(child) == className))
      return child;
  return nullptr;
}

void SettingsE2eTest::Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

std::optional<probe::MessageBoxInfo> SettingsE2eTest::WaitForBox() const {
  std::optional<probe::MessageBoxInfo> box;
  // The box is read again until its buttons are there.
  probe::WaitUntil(
      [&] {
        box = probe::FindMessageBox(snibbet_->Pid());
        return box && !box->buttons.empty();
      },
      5s);
  if (box && box->buttons.empty()) box.reset();
  return box;
}

void SettingsE2eTest::Answer(const std::wstring& part, int button) {
  const std::optional<probe::MessageBoxInfo> box = WaitForBox();
  ASSERT_TRUE(box.has_value()) << "no box asking \"" << probe::ToUtf8(part) << "\"";
  EXPECT_NE(box->text.find(part), std::wstring::npos) << probe::ToUtf8(box->text);
  ASSERT_TRUE(probe::PressButton(*box, button)) << probe::ToUtf8(box->text);
  ASSERT_TRUE(probe::WaitUntil([&] { return !IsWindow(box->hwnd); }, 5s));
  Sync();
}

void SettingsE2eTest::Sync() const {
  DWORD_PTR ignored = 0;
  EXPECT_NE(SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored), 0) << "the program hangs";
}

std::string SettingsE2eTest::TrayMenuTexts() {
  const DWORD pid = snibbet_->Pid();
  const size_t before = Log().rfind("TrayMenu ");
  PostMessageW(tray_, kTrayCallback, 1, WM_RBUTTONUP);
  HWND menu = probe::WaitForWindow({.className = L"#32768", .pid = pid, .visibleOnly = true}, 5s);
  EXPECT_NE(menu, nullptr) << "no menu";
  EXPECT_TRUE(probe::WaitUntil([&] { return Log().rfind("TrayMenu ") != before; }, 5s));
  if (menu) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(probe::WaitForNoWindow({.className = L"#32768", .pid = pid, .visibleOnly = true}, 5s));
  return LogLine("TrayMenu ");
}

std::string SettingsE2eTest::Log() const { return ReadBytes(folder_.File(L"Log.txt")); }

std::string SettingsE2eTest::LogLine(const std::string& prefix) const {
  const std::string log = Log();
  size_t at = log.rfind("\n" + prefix);
  if (at == std::string::npos) {
    if (log.rfind(prefix, 0) != 0) return {};
    at = 0;
  } else {
    ++at;
  }
  const size_t end = log.find_first_of("\r\n", at);
  return log.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

}  // namespace snibbet_e2e
