#pragma once
// Helpers for the Windows unit tests of the language table and utilities.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace snibbet::test {

// A fresh folder under %TEMP%, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            (L"snibbet_test_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder ending in "\".
  std::wstring Path() const { return path_.wstring() + L"\\"; }
  std::wstring File(const std::wstring& name) const { return (path_ / name).wstring(); }
  void Write(const std::wstring& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path path_;
};

// What a watched message box showed.
struct BoxSeen {
  bool found = false;
  std::wstring caption;
  std::wstring text;
};

// Waits on a second thread for a message box of `thread`, notes its caption and
// text and presses `button` (IDOK, IDYES, ...). Result() waits for the watcher.
class BoxWatcher {
 public:
  explicit BoxWatcher(int button, DWORD thread = GetCurrentThreadId())
      : worker_([this, button, thread] { Watch(button, thread); }) {}
  ~BoxWatcher() { if (worker_.joinable()) worker_.join(); }
  BoxWatcher(const BoxWatcher&) = delete;
  BoxWatcher& operator=(const BoxWatcher&) = delete;

  BoxSeen Result() {
    if (worker_.joinable()) worker_.join();
    return seen_;
  }

 private:
  static BOOL CALLBACK FindBox(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
      *reinterpret_cast<HWND*>(found) = window;
      return FALSE;
    }
    return TRUE;
  }

  static BOOL CALLBACK FindStaticText(HWND child, LPARAM text) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    wchar_t buffer[1024] = {};
    if (_wcsicmp(name, L"Static") == 0 && GetWindowTextW(child, buffer, 1024) > 0) {
      *reinterpret_cast<std::wstring*>(text) = buffer;
      return FALSE;
    }
    return TRUE;
  }

  void Watch(int button, DWORD thread) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    HWND box = nullptr;
    while (!box && std::chrono::steady_clock::now() < deadline) {
      EnumThreadWindows(thread, &FindBox, reinterpret_cast<LPARAM>(&box));
      if (!box) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!box) return;
    seen_.found = true;
    wchar_t caption[256] = {};
    GetWindowTextW(box, caption, 256);
    seen_.caption = caption;
    wchar_t text[1024] = {};
    if (GetDlgItemTextW(box, 0xFFFF, text, 1024) > 0) {
      seen_.text = text;
    } else {
      EnumChildWindows(box, &FindStaticText, reinterpret_cast<LPARAM>(&seen_.text));
    }
    // Press the button; close harder if the box is still there.
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    for (int i = 0; i < 100 && IsWindow(box); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (IsWindow(box)) PostMessageW(box, WM_CLOSE, 0, 0);
  }

  BoxSeen seen_;
  std::thread worker_;
};

// The program folder of the build as a Windows path (SNIBBET_PROGRAM_DIR is a
// Unix path under Wine: the Z: drive maps the Unix root).
inline std::wstring ProgramDirFromEnvironment() {
  const char* dir = std::getenv("SNIBBET_PROGRAM_DIR");
  if (!dir) return {};
  std::wstring path(dir, dir + strlen(dir));
  for (auto& c : path) if (c == L'/') c = L'\\';
  if (!path.empty() && path[0] == L'\\') path = L"Z:" + path;
  if (path.back() != L'\\') path += L'\\';
  return path;
}

}  // namespace snibbet::test
