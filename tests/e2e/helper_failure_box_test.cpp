// How the real SnibbetCm.exe tells the user that a hook failed: a box shown
// from a message it posts to itself, so the main program's sent command has
// long returned and further commands are still answered while the box is open.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "helper/helper_protocol.h"
#include "helper/input_helper.h"
#include "helper/win_ports.h"
#include "tests/e2e/helper_e2e_support.h"

namespace snibbet::helper_e2e {
namespace {

HWND FindBoxOf(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND box;
  } search{processId, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t className[32] = {};
        GetClassNameW(window, className, 32);
        if (owner != s->processId || std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
        s->box = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.box;
}

std::vector<std::wstring> ChildTexts(HWND window) {
  std::vector<std::wstring> texts;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM param) -> BOOL {
        wchar_t text[256] = {};
        GetWindowTextW(child, text, 256);
        reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(text);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

std::wstring TitleOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

TEST(HelperFailureBox, ShowsTheTextWithoutOwnerAndKeepsAnsweringCommands) {
  HelperProcess helper;
  ASSERT_NE(helper.Window(), nullptr) << "SnibbetCm.exe did not start";
  for (auto failure : {helper::HookFailure::KeyboardInstall, helper::HookFailure::MouseRemove}) {
    PostMessageW(helper.Window(), helper::kShowHookFailureMessage, static_cast<WPARAM>(failure), 0);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindBoxOf(helper.Process().Id())) != nullptr; }, 5000));
    EXPECT_EQ(TitleOf(box), L"SnibbetCm");
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    const auto texts = ChildTexts(box);
    EXPECT_NE(std::find(texts.begin(), texts.end(), std::wstring(helper::HookFailureText(failure))), texts.end());

    EXPECT_TRUE(helper.Send(WM_HELPER_BLOCK_INPUT)) << "commands are answered while the box is open";
    EXPECT_TRUE(helper.Send(WM_HELPER_UNBLOCK_INPUT));

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(box); }, 5000));
  }

  PostMessageW(helper.Window(), helper::kShowHookFailureMessage, 77, 0);
  PumpFor(300);
  EXPECT_EQ(FindBoxOf(helper.Process().Id()), nullptr) << "an unknown failure number shows nothing";
}

}  // namespace
}  // namespace snibbet::helper_e2e
