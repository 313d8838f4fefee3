#pragma once
// Shared by the version-check and error-report tests: a fresh application
// object with the language texts they show, and a watcher that answers the
// message boxes of this process and remembers what they said.
#include <windows.h>

#include <string>
#include <vector>

#include "core/lang_table.h"
#include "core/wait_form.h"
#include "testing/probe/box_watcher.h"
#include "testing/report/mapi_journal.h"
#include "tests/unit/ui_test_support.h"
#include "ui/timer.h"

namespace snibbet::test {

class ReportTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    InitializeLanguages();
    Lang().SetText(9, L"Error");
    Lang().SetText(10, L"Warning");
    Lang().SetText(11, L"Information");
    Lang().SetText(12, L"Confirm");
    Lang().SetText(68, L"Please wait...");
    Lang().SetText(555, L"You have the latest version.");
    Lang().SetText(556, L"Version %1 is out.\r\nOpen the download page?");
    boxes.Watch(GetCurrentProcessId());
  }
  void TearDown() override {
    HideWaitMessage();
    UiTest::TearDown();
    FinalizeLanguages();
  }

  // The message boxes shown so far, after the watcher has looked once more.
  std::vector<probe::SeenMessageBox> Boxes() {
    Sleep(120);
    return boxes.Seen();
  }

  probe::MessageBoxWatcher boxes;
};

// Runs `body` once from the message loop `after` ms from now, e.g. inside a
// modal loop the test starts next.
class RunSoon {
 public:
  template <class Body>
  RunSoon(UINT after, Body body) : timer_(after, [this, body] {
    timer_.Stop();
    body();
  }) {
    timer_.Start();
  }

 private:
  ui::Timer timer_;
};

}  // namespace snibbet::test
