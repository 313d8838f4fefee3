// The version check against a local HTTP server: the news and the download
// page, up to date, answers that are no version, failing and silent servers,
// and a GUI thread that keeps working while the answer is awaited.
#include "core/version_check.h"

#include <gtest/gtest.h>

#include "core/version_fetch.h"
#include "testing/report/local_http_server.h"
#include "tests/unit/report_test_support.h"
#include "ui/application.h"

namespace snibbet::test {
namespace {

using report_test::CannedAnswer;
using report_test::LocalHttpServer;

constexpr wchar_t kDownloadPage[] = L"http://example.test/download";

class VersionCheck : public ReportTest {
 protected:
  VersionCheckSource Source(const std::string& path = "/version.txt", DWORD timeoutMs = 5000) {
    VersionCheckSource source;
    source.address = server.Url(path);
    source.downloadPage = kDownloadPage;
    source.localVersion = L"2.3.0.1";
    source.timeoutMs = timeoutMs;
    source.openPage = [this](const std::wstring& page) { opened.push_back(page); };
    return source;
  }
  void ServeText(const std::string& body) { server.Serve("/version.txt", {.body = body}); }

  // Whether a silent check of `remote` against `local` asks the user.
  bool Announced(const std::string& remote, const std::wstring& local) {
    ServeText(remote + "\r\n");
    VersionCheckSource source = Source();
    source.localVersion = local;
    boxes.Clear();
    boxes.AnswerWith(IDNO);
    CheckNewVersion(false, source);
    return !Boxes().empty();
  }

  LocalHttpServer server;
  std::vector<std::wstring> opened;
};

TEST_F(VersionCheck, NewerVersionShowsItsNewsAndOpensTheDownloadPageOnYes) {
  ServeText("2.4.0.0\r\nFaster pastes.\r\nFewer surprises.");
  boxes.AnswerWith(IDYES);
  EXPECT_TRUE(CheckNewVersion(true, Source()));
  const auto seen = Boxes();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].box.caption, L"Confirm");
  EXPECT_EQ(seen[0].box.text,
            L"Version 2.4.0.0 is out.\r\nOpen the download page?\r\n\r\nFaster pastes.\r\nFewer surprises.");
  EXPECT_EQ(opened, std::vector<std::wstring>{kDownloadPage});

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].path, "/version.txt");
  EXPECT_EQ(requests[0].userAgent, "Snibbet");
}

TEST_F(VersionCheck, NewerVersionIsOfferedEvenSilentlyAndNoLeavesThePageClosed) {
  ServeText("2.4.0.0");
  boxes.AnswerWith(IDNO);
  EXPECT_FALSE(CheckNewVersion(false, Source()));
  const auto seen = Boxes();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].box.text, L"Version 2.4.0.0 is out.\r\nOpen the download page?");  // no news, no empty lines
  EXPECT_TRUE(opened.empty());
}

TEST_F(VersionCheck, UpToDateIsSaidOnlyWhenTheUserAsked) {
  ServeText("2.3.0.1\r\nNews of the version you have.");
  EXPECT_FALSE(CheckNewVersion(true, Source()));
  auto seen = Boxes();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].box.caption, L"Information");
  EXPECT_EQ(seen[0].box.text, L"You have the latest version.");

  boxes.Clear();
  EXPECT_FALSE(CheckNewVersion(false, Source()));
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(server.Requests().size(), 2u);
}

TEST_F(VersionCheck, VersionsAreComparedNumberByNumberWhateverTheirLength) {
  EXPECT_TRUE(Announced("2.3.0.2", L"2.3.0.1"));
  EXPECT_FALSE(Announced("2.3.0.0", L"2.3.0.1"));   // older
  EXPECT_TRUE(Announced("2.3.0.10", L"2.3.0.9"));   // longer and newer
  EXPECT_FALSE(Announced("2.3.0.9", L"2.3.0.10"));  // shorter and older
  EXPECT_FALSE(Announced("2.9", L"2.10.0.0"));
  EXPECT_TRUE(Announced("2.4", L"2.3.0.1"));        // fewer numbers, newer
  EXPECT_FALSE(Announced("2.3", L"2.3.0.0"));       // fewer numbers, the same
  EXPECT_TRUE(Announced(" 3.0.0.0 ", L"2.3.0.1"));  // blanks around it
}

TEST_F(VersionCheck, AnAnswerThatIsNoVersionOrNotOkCountsAsUpToDate) {
  server.Serve("/error.html", {.contentType = "text/html",
                               .body = "<!DOCTYPE html>\r\n<html><head><title>Site maintenance</title></head></html>"});
  server.Serve("/moved.txt", {.status = 404, .reason = "Not Found", .body = "9.9.9.9\r\n"});
  server.Serve("/broken.txt", {.status = 500, .reason = "Internal Server Error", .body = "9.9.9.9"});
  server.Serve("/empty.txt", {.body = ""});
  for (const char* path : {"/error.html", "/moved.txt", "/broken.txt", "/empty.txt"}) {
    boxes.Clear();
    EXPECT_FALSE(CheckNewVersion(true, Source(path))) << path;
    const auto seen = Boxes();
    ASSERT_EQ(seen.size(), 1u) << path;
    EXPECT_EQ(seen[0].box.text, L"You have the latest version.") << path;
  }
  EXPECT_TRUE(opened.empty());
}

TEST_F(VersionCheck, NoServerAtTheAddressCountsAsUpToDate) {
  VersionCheckSource source = Source();
  source.address = L"http://127.0.0.1:" + std::to_wstring(report_test::UnusedLocalPort()) + L"/version.txt";
  EXPECT_FALSE(CheckNewVersion(true, source));
  const auto seen = Boxes();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].box.text, L"You have the latest version.");
}

TEST_F(VersionCheck, AServerThatNeverAnswersTimesOutWhileTheGuiThreadKeepsWorking) {
  server.Serve("/version.txt", report_test::NeverAnswering());
  int ticks = 0;
  bool waitShown = false;
  std::wstring waitText;
  ui::Timer heartbeat(20, [&] {
    ++ticks;
    if (auto* wait = TQvMessageWaitForm::Instance(); wait && wait->IsVisible()) {
      waitShown = true;
      waitText = wait->lblMessage.Text();
    }
  });
  heartbeat.Start();
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(CheckNewVersion(true, Source("/version.txt", 1000)));
  const ULONGLONG took = GetTickCount64() - start;
  heartbeat.Stop();

  EXPECT_GE(took, 900u);
  EXPECT_LT(took, 2500u) << "the request's own receive time-out must end it";
  EXPECT_GT(ticks, 20) << "timers must keep running while the answer is awaited";
  EXPECT_TRUE(waitShown);
  EXPECT_EQ(waitText, L"Please wait...");
  EXPECT_EQ(TQvMessageWaitForm::Instance(), nullptr);
  const auto seen = Boxes();
  ASSERT_GE(seen.size(), 1u);
  EXPECT_EQ(seen.back().box.text, L"You have the latest version.");
}

TEST_F(VersionCheck, ATricklingServerIsGivenUpOnceTheTimeOutsAreUsedUp) {
  // Every read gets a byte in time, so no single time-out fires.
  server.Serve("/version.txt", {.body = std::string(2000, '9'), .pieceSize = 1, .pauseMs = 200});
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(CheckNewVersion(false, Source("/version.txt", 500)));
  const ULONGLONG took = GetTickCount64() - start;
  EXPECT_GE(took, 3 * 500u);
  EXPECT_LT(took, 3 * 500u + 2000u + 1000u);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(VersionCheck, ASecondCheckDuringTheWaitReturnsAtOnce) {
  server.Serve("/version.txt", report_test::NeverAnswering());
  std::optional<bool> inner;
  ULONGLONG innerTook = 0;
  RunSoon during(100, [&] {
    const ULONGLONG start = GetTickCount64();
    inner = CheckNewVersion(true, Source());
    innerTook = GetTickCount64() - start;
  });
  EXPECT_FALSE(CheckNewVersion(false, Source("/version.txt", 600)));
  ASSERT_TRUE(inner.has_value());
  EXPECT_FALSE(*inner);
  EXPECT_LT(innerTook, 100u);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(VersionCheck, EndingTheProgramDuringTheWaitEndsTheCheckWithoutQuestions) {
  server.Serve("/version.txt", report_test::NeverAnswering());
  RunSoon during(100, [] { ui::Terminate(); });
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(CheckNewVersion(true, Source("/version.txt", 5000)));
  EXPECT_LT(GetTickCount64() - start, 2000u);
  EXPECT_TRUE(ui::Terminated());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(TQvMessageWaitForm::Instance(), nullptr);
}

TEST_F(VersionCheck, AFileInPiecesIsReadWholeAndALongOneIsCutAt10240Bytes) {
  std::string news;
  for (int i = 0; news.size() < 30000; ++i) news += "News line " + std::to_string(i) + "\r\n";
  const std::string file = "2.4.0.0\r\n" + news;
  server.Serve("/slow.txt", {.body = "2.4.0.0\r\nFirst news\r\nLast news", .pieceSize = 4, .pauseMs = 30});
  server.Serve("/long.txt", {.body = file});

  HttpFetchResult slow = FetchHttpFile(server.Url("/slow.txt"), {});
  ASSERT_TRUE(slow.Received());
  EXPECT_EQ(slow.body, "2.4.0.0\r\nFirst news\r\nLast news");

  HttpFetchResult large = FetchHttpFile(server.Url("/long.txt"), {});
  ASSERT_TRUE(large.Received());
  EXPECT_EQ(large.body, file.substr(0, 10240));

  boxes.AnswerWith(IDNO);
  EXPECT_FALSE(CheckNewVersion(false, Source("/long.txt")));
  const auto seen = Boxes();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].box.text.rfind(L"Version 2.4.0.0 is out.\r\nOpen the download page?\r\n\r\nNews line 0\r\n", 0), 0u);
}

TEST(VersionFetch, OnlyTheLoopbackNeedsNoConnection) {
  EXPECT_TRUE(IsLoopbackAddress(L"http://127.0.0.1:8080/v.txt"));
  EXPECT_TRUE(IsLoopbackAddress(L"http://localhost/v.txt"));
  EXPECT_TRUE(IsLoopbackAddress(L"http://LOCALHOST:81/"));
  EXPECT_FALSE(IsLoopbackAddress(L"http://www.orvanesoftware.com/paste/version.txt"));
  EXPECT_FALSE(IsLoopbackAddress(L"http://127.example.com/"));
  EXPECT_FALSE(IsLoopbackAddress(L"not an address"));
}

}  // namespace
}  // namespace snibbet::test
