#pragma once
// Asks the maker's web site whether a newer version exists: one small text
// file fetched over HTTP (core/version_fetch.h), its first line compared with
// the program file's version (core/version_compare.h), and when the site's
// version is later the news are shown with the offer to open the download page.
//
// Used by the tray menu and the wizard's and About box's links (manual) and
// silently by the error report before it composes a report.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace snibbet {

inline constexpr wchar_t kVersionFileAddress[] = L"http://www.orvanesoftware.com/paste/version.txt";
inline constexpr wchar_t kDownloadPageAddress[] = L"http://www.orvanesoftware.com/paste/download.html";

struct VersionCheckSource {
  std::wstring address = kVersionFileAddress;
  std::wstring downloadPage = kDownloadPageAddress;
  std::optional<std::wstring> localVersion;  // default: "FileVersion" of the program file
  DWORD timeoutMs = 10000;                   // each of connect, send and receive
  std::function<void(const std::wstring&)> openPage;  // default: the shell opens it
};

// True when a newer version was found and the user chose to open the
// download page. Shows the wait message while the file is fetched (the
// thread's messages keep being processed). Up to date (also: no connection,
// no answer, an answer that is not a version or a status other than 200):
// with `manual` an information box says so (text 555), silently nothing.
// Newer: the question of text 556 with the version, then the news.
// A check started while another one waits returns false at once.
bool CheckNewVersion(bool manual, const VersionCheckSource& source = {});

// The shell opens the page (no verb, owner the application window).
void OpenWebPage(const std::wstring& address);

}  // namespace snibbet
