#pragma once
// Shared fixture of the window-layer tests: a fresh application object per
// test and a bounded message pump.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/application.h"

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MSG stale;  // a WM_QUIT or note left by an earlier test
    while (PeekMessageW(&stale, nullptr, 0, 0, PM_REMOVE)) {
    }
    ui::Application::Create({.title = L"ui tests"});
  }
  void TearDown() override { ui::Application::Destroy(); }

  ui::Application& App() { return ui::Application::Get(); }

  // Processes messages (through the application's loop) until done() holds
  // or the time is up; returns done().
  template <class Done>
  bool PumpUntil(Done done, DWORD timeoutMs = 3000) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
      if (GetTickCount64() > end) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      App().ProcessMessages();
    }
    return true;
  }

  void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
  }
};
