#pragma once
// Shared by the message-dispatch tests: parts that record what the dispatch
// asked of the keyboard and the pop-up, windows of another process under a
// chosen program name, and a pump through the application's message filter.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "helper/helper_protocol.h"
#include "hub/data_module.h"
#include "testing/probe/process.h"
#include "testing/probe/window_find.h"
#include "tests/unit/datamodule_test_support.h"
#include "ui/application.h"

namespace snibbet::test {

// Parts that note every call of the dispatch; the answers are the public
// fields. Handed to the data module through DataModuleOptions::parts.
class RecordedSteps : public DataModuleParts {
 public:
  bool popupShown = false;
  HWND popupWindow = nullptr;
  RECT popupBounds{};
  bool mouseOverKeyboard = false;
  HWND wizard = nullptr;
  bool answerPending = false;

  int hides = 0;
  int resets = 0;
  int answers = 0;
  int releases = 0;
  std::vector<const TQvIcons*> appIcons;  // every icon set handed to the keyboard view
  std::vector<WPARAM> wheels;
  std::vector<HKL> layouts;

  void ShowTemplateView() override {}
  bool PopupShown() override { return popupShown; }
  HWND PopupWindow() override { return popupWindow; }
  RECT PopupBounds() override { return popupBounds; }
  void HidePopup() override {
    ++hides;
    popupShown = false;
  }
  void PostWheelToGrid(WPARAM wheel) override { wheels.push_back(wheel); }
  bool MouseOverKeyboardWindow() override { return mouseOverKeyboard; }
  HWND WizardWindow() override { return wizard; }
  void ToggleKeyboardWindow() override {}
  void ResetKeyHistory() override { ++resets; }
  void ApplyLayout(HKL layout) override { layouts.push_back(layout); }
  bool LayoutAnswerPending() override { return answerPending; }
  void LayoutAnswered() override {
    ++answers;
    answerPending = false;
  }
  void ReleaseModelKeys() override { ++releases; }
  void SetAppIcons(const TQvIcons* set) override { appIcons.push_back(set); }
};

inline MSG Message(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  MSG msg{};
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  return msg;
}

inline MSG HelperClickAt(int x, int y) { return Message(WM_HELPER_MOUSE_DOWN, 0, PackCursorPos(x, y)); }

// The queued messages, each through the application's filter, for `ms`.
inline void PumpApplication(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  do {
    ui::Application::Get().ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (GetTickCount64() < end);
  ui::Application::Get().ProcessMessages();
}

// A shown top-level window of class `windowClass` in a process of its own
// whose program file is called `programName`.
class ForeignWindow {
 public:
  ForeignWindow(const std::wstring& programName, const std::wstring& windowClass) {
    const std::wstring host = TestFolder() + L"dispatch_window_host.exe";
    const std::wstring copy = folder_.File(programName);
    std::filesystem::copy_file(host, copy);
    process_ = probe::Process::Start(copy, std::vector<std::wstring>{windowClass});
    probe::WindowQuery query;
    query.className = windowClass;
    query.pid = process_.Pid();
    window_ = probe::WaitForWindow(query, std::chrono::milliseconds(10000));
  }
  ~ForeignWindow() {
    process_.Kill();
    process_.WaitExit(std::chrono::milliseconds(5000));
  }
  ForeignWindow(const ForeignWindow&) = delete;
  ForeignWindow& operator=(const ForeignWindow&) = delete;

  HWND Handle() const { return window_; }
  HKL Layout() const { return GetKeyboardLayout(GetWindowThreadProcessId(window_, nullptr)); }

 private:
  TempFolder folder_;  // outlives the process, whose file it holds
  probe::Process process_;
  HWND window_ = nullptr;
};

}  // namespace snibbet::test
