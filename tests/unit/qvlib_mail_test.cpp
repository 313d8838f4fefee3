#include "core/mapi_mail.h"

#include <gtest/gtest.h>

#include "core/lang_table.h"
#include "tests/unit/qvlib_test_support.h"

namespace snibbet {
namespace {

// What the fake Simple MAPI saw; the records only live during the send call.
struct Recorded {
  int logons = 0, sends = 0, logoffs = 0;
  FLAGS logonFlags = 0, sendFlags = 0;
  LHANDLE logoffSession = 0;
  ULONG logonResult = SUCCESS_SUCCESS;
  std::wstring subject, body;
  bool subjectNull = false, bodyNull = false;
  std::vector<std::pair<std::wstring, std::wstring>> recipients;  // name, address
  std::vector<ULONG> recipientClasses;
  std::vector<std::pair<std::wstring, std::wstring>> files;  // path, name
  std::vector<ULONG> positions;
  HWND watchedWindow = nullptr;
  bool windowEnabledDuringSend = true;
} g_seen;

constexpr LHANDLE kSession = 0x5150;

std::wstring Widen(const char* s) { return s ? std::wstring(s, s + strlen(s)) : L""; }
std::wstring Wide(const wchar_t* s) { return s ? s : L""; }

ULONG WINAPI FakeLogon(ULONG_PTR, LPSTR, LPSTR, FLAGS flags, ULONG, LPLHANDLE session) {
  ++g_seen.logons;
  g_seen.logonFlags = flags;
  *session = kSession;
  return g_seen.logonResult;
}

ULONG WINAPI FakeLogoff(LHANDLE session, ULONG_PTR, FLAGS, ULONG) {
  ++g_seen.logoffs;
  g_seen.logoffSession = session;
  return SUCCESS_SUCCESS;
}

template <typename Message, typename Text>
void Record(const Message* m, FLAGS flags, Text text) {
  ++g_seen.sends;
  g_seen.sendFlags = flags;
  g_seen.subjectNull = !m->lpszSubject;
  g_seen.bodyNull = !m->lpszNoteText;
  g_seen.subject = text(m->lpszSubject);
  g_seen.body = text(m->lpszNoteText);
  for (ULONG i = 0; i < m->nRecipCount; ++i) {
    g_seen.recipients.emplace_back(text(m->lpRecips[i].lpszName), text(m->lpRecips[i].lpszAddress));
    g_seen.recipientClasses.push_back(m->lpRecips[i].ulRecipClass);
  }
  for (ULONG i = 0; i < m->nFileCount; ++i) {
    g_seen.files.emplace_back(text(m->lpFiles[i].lpszPathName), text(m->lpFiles[i].lpszFileName));
    g_seen.positions.push_back(m->lpFiles[i].nPosition);
  }
  if (g_seen.watchedWindow) g_seen.windowEnabledDuringSend = IsWindowEnabled(g_seen.watchedWindow);
}

ULONG WINAPI FakeSendWide(LHANDLE, ULONG_PTR, MapiMessageWide* m, FLAGS flags, ULONG) {
  Record(m, flags, Wide);
  return SUCCESS_SUCCESS;
}

ULONG WINAPI FakeSendAnsi(LHANDLE, ULONG_PTR, lpMapiMessage m, FLAGS flags, ULONG) {
  Record(m, flags, Widen);
  return MAPI_E_USER_ABORT;  // a cancelled send is silent
}

class Mail : public ::testing::Test {
 protected:
  void SetUp() override {
    g_seen = Recorded{};
    InitializeLanguages();
    Lang().SetText(10, L"Warning");
    Lang().SetText(304, L"No mail program");
  }
  void TearDown() override { FinalizeLanguages(); }
  SimpleMapi WideApi() const { return {&FakeLogon, &FakeLogoff, &FakeSendAnsi, &FakeSendWide}; }
};

TEST_F(Mail, WideMessageCarriesRecipientSubjectBodyAndFiles) {
  HWND window = CreateWindowExW(0, L"STATIC", L"w", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  g_seen.watchedWindow = window;
  EXPECT_TRUE(SendMailWith(WideApi(), nullptr, L"bugs@example.com", L"Fehler \u20AC", L"Body##text",
                           {L"C:\\data\\zqtemplates.zqt", L"C:\\x\\y\\\u0444.txt"}));
  EXPECT_EQ(g_seen.logonFlags, 3u);
  EXPECT_EQ(g_seen.sendFlags, 9u);
  EXPECT_EQ(g_seen.sends, 1);
  EXPECT_EQ(g_seen.logoffs, 1);
  EXPECT_EQ(g_seen.logoffSession, kSession);
  EXPECT_EQ(g_seen.subject, L"Fehler \u20AC");
  EXPECT_EQ(g_seen.body, L"Body##text");
  ASSERT_EQ(g_seen.recipients.size(), 1u);
  EXPECT_EQ(g_seen.recipients[0].first, L"bugs@example.com");
  EXPECT_EQ(g_seen.recipients[0].second, L"SMTP:bugs@example.com");
  EXPECT_EQ(g_seen.recipientClasses[0], static_cast<ULONG>(MAPI_TO));
  ASSERT_EQ(g_seen.files.size(), 2u);
  EXPECT_EQ(g_seen.files[0].first, L"C:\\data\\zqtemplates.zqt");
  EXPECT_EQ(g_seen.files[0].second, L"zqtemplates.zqt");
  EXPECT_EQ(g_seen.files[1].second, L"\u0444.txt");
  EXPECT_EQ(g_seen.positions[0], 0xFFFFFFFFu);
  // The program's windows take no input while the mail dialog runs, and get it back after.
  EXPECT_FALSE(g_seen.windowEnabledDuringSend);
  EXPECT_TRUE(IsWindowEnabled(window));
  DestroyWindow(window);
}

TEST_F(Mail, EmptyAddressSubjectAndBodyAreLeftOut) {
  EXPECT_TRUE(SendMailWith(WideApi(), nullptr, L"", L"", L"", {}));
  EXPECT_TRUE(g_seen.recipients.empty());
  EXPECT_TRUE(g_seen.files.empty());
  EXPECT_TRUE(g_seen.subjectNull);
  EXPECT_TRUE(g_seen.bodyNull);
}

TEST_F(Mail, EightBitSendWhenNoWideEntry) {
  SimpleMapi api{&FakeLogon, &FakeLogoff, &FakeSendAnsi, nullptr};
  EXPECT_TRUE(SendMailWith(api, nullptr, L"a@b.c", L"Subject", L"Body", {L"C:\\t\\f.zqt"}));
  EXPECT_EQ(g_seen.sends, 1);
  EXPECT_EQ(g_seen.logoffs, 1);
  EXPECT_EQ(g_seen.subject, L"Subject");
  ASSERT_EQ(g_seen.recipients.size(), 1u);
  EXPECT_EQ(g_seen.recipients[0].second, L"SMTP:a@b.c");
  ASSERT_EQ(g_seen.files.size(), 1u);
  EXPECT_EQ(g_seen.files[0].second, L"f.zqt");
}

TEST_F(Mail, FailedLogonWarnsAndSendsNothing) {
  g_seen.logonResult = MAPI_E_LOGIN_FAILURE;
  test::BoxWatcher watcher(IDOK);
  EXPECT_FALSE(SendMailWith(WideApi(), nullptr, L"a@b.c", L"s", L"b", {}));
  const auto box = watcher.Result();
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.caption, L"Warning");
  EXPECT_EQ(box.text, L"No mail program");
  EXPECT_EQ(g_seen.sends, 0);
  EXPECT_EQ(g_seen.logoffs, 0);
}

TEST_F(Mail, MissingMapiIsAFailedLogon) {
  const SimpleMapi missing = SimpleMapiOf(nullptr);
  EXPECT_EQ(missing.Logon, nullptr);
  test::BoxWatcher watcher(IDOK);
  EXPECT_FALSE(SendMailWith(missing, nullptr, L"a@b.c", L"s", L"b", {}));
  EXPECT_EQ(watcher.Result().text, L"No mail program");
}

}  // namespace
}  // namespace snibbet
