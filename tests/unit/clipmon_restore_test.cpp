// The user's clipboard kept before a paste and put back after it.
#include <gtest/gtest.h>

#include <thread>

#include "clipboard/monitor_calls.h"
#include "clipboard/paste_take.h"
#include "core/clipboard_access.h"
#include "tests/unit/clipmon_test_support.h"

namespace snibbet {
namespace {

using test::ClipmonTest;
using testing::Bytes;
using testing::ClipboardBytes;

class ClipmonRestoreTest : public ClipmonTest {
 protected:
  void SetUp() override {
    ClipmonTest::SetUp();
    customFormat = RegisterClipboardFormatW(L"Clipmon Test Bytes");
    binary = {0, 1, 2, 0xFF, 0, 0x7F, 42, 0};
    testing::SetClipboardDirectly({{CF_UNICODETEXT, testing::WideBytes(L"the user's text")}, {customFormat, binary}});
  }

  // The steps of a paste around the template's own clipboard write.
  void Paste(TQvClipboardMonitor& monitor, const std::wstring& templateText, bool restore = true) {
    monitor.SaveBeforePaste();
    monitor.SetMonitoring(false);
    ClipboardChangedFlag = false;
    ASSERT_TRUE(PutClipboardText(templateText));
    monitor.WaitForClipboardChange();
    if (restore) monitor.RestoreAfterPaste();
    monitor.SetMonitoring(true);
  }

  bool UserDataBack() const {
    return ClipboardText() == L"the user's text" && ClipboardBytes(customFormat) == binary;
  }

  UINT customFormat = 0;
  Bytes binary;
};

TEST_F(ClipmonRestoreTest, UserFormatsComeBackByteForByteAfterTheDelaySilently) {
  TQvClipboardMonitor& monitor = MakeMonitor();
  const Bytes textBefore = ClipboardBytes(CF_UNICODETEXT);
  Paste(monitor, L"template");
  EXPECT_EQ(ClipboardText(), L"template");
  EXPECT_TRUE(monitor.RestorePending());
  EXPECT_EQ(monitor.tmrRestore.Interval(), 300u);

  const long long ms = MsUntil([&] { return UserDataBack(); });
  EXPECT_GE(ms, 250);
  EXPECT_LE(ms, 700);
  EXPECT_EQ(ClipboardBytes(CF_UNICODETEXT), textBefore);
  EXPECT_EQ(ClipboardBytes(customFormat), binary);

  // The restore is the program's own write: no sound, though monitoring is on.
  PumpFor(200);
  EXPECT_TRUE(ClipboardChangedFlag);
  EXPECT_TRUE(sounds.empty());
  // The user's next copy is theirs again.
  CopyInOtherProcess(L"user copy");
  EXPECT_TRUE(PumpUntil([&] { return sounds.size() == 1; }));
}

// The keyboard's steps are made before the monitor: they keep the user's
// clipboard through it while it exists, and reach nothing once it has gone.
TEST_F(ClipmonRestoreTest, StepsMadeBeforeTheMonitorReachItOnlyWhileItExists) {
  MonitorPasteSteps steps(&monitorRecord);
  EXPECT_FALSE(steps.MonitorPresent());
  {
    TQvClipboardMonitor monitor({.record = &monitorRecord,
                                 .isVistaOrLater = [] { return true; },
                                 .showWarning = [this](std::wstring_view text) { warnings.emplace_back(text); }});
    monitor.Create();
    EXPECT_TRUE(steps.MonitorPresent());
    ASSERT_TRUE(steps.SaveBeforePaste());
    EXPECT_TRUE(steps.UserClipboardKept());
  }
  EXPECT_FALSE(steps.MonitorPresent());
  EXPECT_FALSE(steps.UserClipboardKept());
  EXPECT_TRUE(steps.SaveBeforePaste());
}

TEST_F(ClipmonRestoreTest, SlowPasteTargetsWaitLonger) {
  TQvClipboardMonitor& monitor = MakeMonitor(true, {.slowPasteTargetInFront = [] { return true; }});
  Paste(monitor, L"template");
  EXPECT_EQ(monitor.tmrRestore.Interval(), 500u);
  PumpFor(380);
  EXPECT_EQ(ClipboardText(), L"template");
  EXPECT_TRUE(PumpUntil([&] { return UserDataBack(); }, 1000));
}

TEST_F(ClipmonRestoreTest, SecondPasteWithinTheDelayStillBringsBackTheUsersData) {
  TQvClipboardMonitor& monitor = MakeMonitor();
  Paste(monitor, L"first");
  PumpFor(100);
  Paste(monitor, L"second");  // cancels the pending restore, keeps the snapshot
  EXPECT_EQ(ClipboardText(), L"second");
  EXPECT_TRUE(PumpUntil([&] { return UserDataBack(); }, 1000));
}

TEST_F(ClipmonRestoreTest, EmptyClipboardIsLeftHoldingTheTemplate) {
  TQvClipboardMonitor& monitor = MakeMonitor();
  ASSERT_TRUE(ClearClipboard());
  Paste(monitor, L"template");
  EXPECT_FALSE(monitor.RestorePending());
  PumpFor(450);
  EXPECT_EQ(ClipboardText(), L"template");
}

TEST_F(ClipmonRestoreTest, FailedSnapshotIsNeverRestored) {
  TQvClipboardMonitor& monitor = MakeMonitor();
  // A good paste first: the snapshot then holds the user's earlier data.
  Paste(monitor, L"first template");
  ASSERT_TRUE(PumpUntil([&] { return UserDataBack(); }));

  CopyInOtherProcess(L"newer user data");
  {
    test::ClipboardHolder holder;  // the snapshot cannot open the clipboard
    monitor.SaveBeforePaste();
  }
  EXPECT_FALSE(monitor.SnapshotHeld());
  monitor.SetMonitoring(false);
  ASSERT_TRUE(PutClipboardText(L"second template"));
  monitor.RestoreAfterPaste();
  monitor.SetMonitoring(true);
  EXPECT_FALSE(monitor.RestorePending());
  PumpFor(450);
  // Neither the stale snapshot nor an empty one replaced the template.
  EXPECT_EQ(ClipboardText(), L"second template");
}

// What an office program leaves on the clipboard: text, a bitmap, HTML, rich
// text and a private format of its own.
std::vector<testing::Format> OfficeClipboard(UINT privateFormat) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = 1;
  header.biHeight = 1;
  header.biPlanes = 1;
  header.biBitCount = 24;
  Bytes dib = testing::ToBytes(&header, sizeof header);
  dib.insert(dib.end(), {10, 20, 30, 0});
  return {{CF_UNICODETEXT, testing::WideBytes(L"office text")},
          {CF_DIB, dib},
          {HtmlClipboardFormat(), testing::TextBytes("Version:0.9\r\n<b>office</b>")},
          {RtfClipboardFormat(), testing::TextBytes("{\\rtf1 {\\b office}}")},
          {privateFormat, {0, 0xFF, 1, 0, 7}}};
}

TEST_F(ClipmonRestoreTest, ClipboardHeldByAnotherProgramWithinTheWaitIsKeptWhole) {
  const std::vector<testing::Format> user = OfficeClipboard(customFormat);
  testing::SetClipboardDirectly(user);
  TQvClipboardMonitor& monitor = MakeMonitor();
  for (const DWORD holdMs : {100u, 400u, 900u}) {
    {
      test::ClipboardHolder holder(holdMs);
      EXPECT_TRUE(monitor.SaveBeforePaste()) << holdMs;
    }
    ASSERT_TRUE(monitor.SnapshotUsable()) << holdMs;
    monitor.SetMonitoring(false);
    ClipboardChangedFlag = false;
    ASSERT_TRUE(PutClipboardText(L"template_"));
    monitor.WaitForClipboardChange();
    monitor.RestoreAfterPaste();
    monitor.SetMonitoring(true);
    ASSERT_TRUE(PumpUntil([&] { return !monitor.RestorePending(); }, 2000)) << holdMs;
    for (const testing::Format& format : user) {
      EXPECT_EQ(ClipboardBytes(format.id), format.bytes) << holdMs << " ms, format " << format.id;
    }
  }
}

TEST_F(ClipmonRestoreTest, ClipboardHeldPastTheWaitIsReportedAndLeftAsItWas) {
  const std::vector<testing::Format> user = OfficeClipboard(customFormat);
  testing::SetClipboardDirectly(user);
  TQvClipboardMonitor& monitor = MakeMonitor();
  const DWORD sequence = GetClipboardSequenceNumber();
  {
    test::ClipboardHolder holder(3000);
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(monitor.SaveBeforePaste());
    EXPECT_GE(GetTickCount64() - start, 950u);  // the whole wait, not a fifth of it
  }
  EXPECT_FALSE(monitor.SnapshotUsable());
  monitor.RestoreAfterPaste();
  EXPECT_FALSE(monitor.RestorePending());
  EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
  for (const testing::Format& format : user) EXPECT_EQ(ClipboardBytes(format.id), format.bytes) << format.id;
}

TEST_F(ClipmonRestoreTest, UserCopyBetweenPasteAndRestoreSurvives) {
  TQvClipboardMonitor& monitor = MakeMonitor();
  Paste(monitor, L"template");
  CopyInOtherProcess(L"copied right after the paste");
  PumpFor(500);
  EXPECT_FALSE(monitor.RestorePending());
  EXPECT_EQ(ClipboardText(), L"copied right after the paste");

  // The next paste keeps that new copy and puts it back.
  Paste(monitor, L"template again");
  EXPECT_TRUE(PumpUntil([&] { return ClipboardText() == L"copied right after the paste"; }, 1000));
}

TEST_F(ClipmonRestoreTest, BusyClipboardIsRestoredOnALaterTry) {
  TQvClipboardMonitor& monitor = MakeMonitor();
  Paste(monitor, L"template");
  {
    test::ClipboardHolder holder;  // another program holds it past the first try
    PumpFor(650);
    EXPECT_TRUE(monitor.RestorePending());
  }
  EXPECT_TRUE(PumpUntil([&] { return UserDataBack(); }, 1500));
  PumpFor(100);
  EXPECT_TRUE(sounds.empty());
}

// The template as the paste offers it, rendered only when read.
class ClipmonOfferTest : public ClipmonRestoreTest {
 protected:
  TQvClipboardMonitor& OfferingMonitor() {
    ClipboardMonitorOptions options;
    options.typePasteKeys = [] {};
    return MakeMonitor(true, std::move(options));
  }
  void PasteOffered(TQvClipboardMonitor& monitor, const std::wstring& templateText) {
    monitor.SaveBeforePaste();
    monitor.SetMonitoring(false);
    ClipboardChangedFlag = false;
    ASSERT_TRUE(monitor.OfferForPaste(TextClipboardFormats(templateText)));
    monitor.WaitForClipboardChange();
    monitor.SendPasteKeys();
    monitor.RestoreAfterPaste();
    monitor.SetMonitoring(true);
  }
  // Another thread reads the text as a target would, while this one serves the render.
  std::wstring ReadAsTarget() {
    std::wstring text;
    std::atomic<bool> done = false;
    std::thread reader([&] {
      while (!OpenClipboard(nullptr)) Sleep(5);
      LockedGlobalBlock block(GetClipboardData(CF_UNICODETEXT));
      if (block.Data()) text = static_cast<const wchar_t*>(block.Data());
      CloseClipboard();
      done = true;
    });
    PumpUntil([&] { return done.load(); }, 5000);
    reader.join();
    return text;
  }
};

TEST_F(ClipmonOfferTest, TheUsersClipboardWaitsForTheTargetsReadHoweverLateThenComesBackSoonAfter) {
  TQvClipboardMonitor& monitor = OfferingMonitor();
  PasteOffered(monitor, L"template");
  const DWORD offeredSequence = GetClipboardSequenceNumber();
  PumpFor(1500);  // far beyond the delay of a read at once
  EXPECT_TRUE(monitor.RestorePending());
  EXPECT_EQ(GetClipboardSequenceNumber(), offeredSequence) << "the user's clipboard came back unread";
  EXPECT_EQ(monitor.tmrRestore.Interval(), TQvClipboardMonitor::kUntakenOfferRestoreMs);

  EXPECT_EQ(ReadAsTarget(), L"template");
  const long long ms = MsUntil([&] { return UserDataBack(); });
  EXPECT_GE(ms, 200);
  EXPECT_LE(ms, 800);
  PumpFor(100);
  EXPECT_TRUE(sounds.empty()) << "the render or the restore was taken for the user's copy";
}

TEST_F(ClipmonOfferTest, AUserCopyBeforeTheTargetsReadStaysAndEndsTheWait) {
  TQvClipboardMonitor& monitor = OfferingMonitor();
  PasteOffered(monitor, L"template");
  CopyInOtherProcess(L"copied before the read");
  EXPECT_TRUE(PumpUntil([&] { return !monitor.RestorePending(); }, 1500));
  EXPECT_EQ(ClipboardText(), L"copied before the read");
}

TEST_F(ClipmonOfferTest, AnOfferLeftOnTheClipboardIsRenderedWholeBeforeTheMonitorGoes) {
  ASSERT_TRUE(ClearClipboard());  // nothing of the user's to restore: the template stays
  TQvClipboardMonitor& monitor = OfferingMonitor();
  PasteOffered(monitor, L"kept template");
  monitor.Destroy();
  EXPECT_EQ(ReadAsTarget(), L"kept template");
}

TEST_F(ClipmonOfferTest, ARestoreStillWaitingWhenTheMonitorGoesPutsTheUsersClipboardBackAtOnce) {
  TQvClipboardMonitor& monitor = OfferingMonitor();
  PasteOffered(monitor, L"template");
  ASSERT_TRUE(monitor.RestorePending());
  monitor.Destroy();
  EXPECT_TRUE(UserDataBack());
}

TEST(PasteTakeTest, OnlyTheTargetsReadAfterThePasteKeysIsTheTake) {
  PasteTake take;
  take.Offered();
  EXPECT_FALSE(take.Rendered(0)) << "a viewer reading the change before Ctrl+V";
  take.PasteKeysSent(40);
  EXPECT_TRUE(take.Awaited(true));
  EXPECT_FALSE(take.Awaited(false)) << "replaced by another content: nothing to wait for";
  EXPECT_FALSE(take.Rendered(77)) << "a clipboard manager in another process";
  EXPECT_TRUE(take.Awaited(true));
  EXPECT_TRUE(take.Rendered(40));
  EXPECT_FALSE(take.Awaited(true));
  EXPECT_FALSE(take.Rendered(40)) << "only the first read arms the restore";

  take.Offered();  // the next piece of a paste
  take.PasteKeysSent(40);
  EXPECT_TRUE(take.Rendered(0)) << "a reader without a window may be the target";
  take.Offered();
  take.PasteKeysSent(0);
  EXPECT_TRUE(take.Rendered(77)) << "with the target unknown, any read after Ctrl+V";

  take.WaitRanOut();  // target 0 left the pieces after it unread
  take.Offered();
  take.PasteKeysSent(0);
  EXPECT_FALSE(take.WorthWaitingFor(true)) << "every piece would wait the whole bound";
  EXPECT_TRUE(take.Awaited(true)) << "the restore still waits for its read";
  EXPECT_TRUE(take.Rendered(0));
  take.Offered();
  take.PasteKeysSent(0);
  EXPECT_TRUE(take.WorthWaitingFor(true)) << "it reads again";
}

}  // namespace
}  // namespace snibbet
