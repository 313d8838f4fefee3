#include "core/version_check.h"

#include <shellapi.h>

#include "core/lang_table.h"
#include "core/message_boxes.h"
#include "core/text_decode.h"
#include "core/text_utils.h"
#include "core/version_compare.h"
#include "core/version_fetch.h"
#include "core/version_info.h"
#include "core/wait_form.h"
#include "ui/application.h"

namespace snibbet {
namespace {

bool g_checkRunning = false;

// The tray menu and timers keep working while the file is fetched, so a
// second check could start inside the first.
class RunningCheck {
 public:
  RunningCheck() : first_(!g_checkRunning) { g_checkRunning = true; }
  ~RunningCheck() { if (first_) g_checkRunning = false; }
  RunningCheck(const RunningCheck&) = delete;
  RunningCheck& operator=(const RunningCheck&) = delete;
  bool First() const { return first_; }

 private:
  bool first_;
};

class WaitMessageShown {
 public:
  WaitMessageShown() { ShowWaitMessage(LangText(68)); }
  ~WaitMessageShown() { HideWaitMessage(); }
  WaitMessageShown(const WaitMessageShown&) = delete;
  WaitMessageShown& operator=(const WaitMessageShown&) = delete;
};

struct RemoteVersion {
  std::wstring version;
  std::wstring news;
  bool abandoned = false;
};

RemoteVersion FetchRemoteVersion(const VersionCheckSource& source) {
  if (!HasInternetConnectionFor(source.address)) return {};
  HttpFetchResult answer;
  {
    WaitMessageShown wait;
    answer = FetchHttpFileWhilePumping(source.address, {.timeoutMs = source.timeoutMs, .limit = kVersionFileLimit});
  }
  if (answer.outcome == HttpFetchResult::Outcome::Abandoned) return {{}, {}, true};
  if (!answer.Received()) return {};
  const VersionFile file = SplitVersionFile(answer.body);
  return {DecodeTextBytes(file.version), DecodeTextBytes(file.news)};
}

std::wstring Trimmed(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

void OpenWebPage(const std::wstring& address) {
  ShellExecuteW(ui::ApplicationWindow(), nullptr, address.c_str(), nullptr, L"", SW_SHOWNORMAL);
}

bool CheckNewVersion(bool manual, const VersionCheckSource& source) {
  RunningCheck running;
  if (!running.First()) return false;

  const RemoteVersion remote = FetchRemoteVersion(source);
  if (remote.abandoned) return false;
  const std::wstring local = source.localVersion ? *source.localVersion
                                                 : GetVersionInfoString(ProgramFileName(), L"FileVersion");
  if (!IsNewerVersion(remote.version, local)) {
    if (manual) ShowInfoMessage(LangText(555));
    return false;
  }
  std::wstring question = FormatText(LangText(556), {Trimmed(remote.version)});
  if (!remote.news.empty()) question += L"\r\n\r\n" + remote.news;
  if (!AskYesNo(question)) return false;
  if (source.openPage) {
    source.openPage(source.downloadPage);
  } else {
    OpenWebPage(source.downloadPage);
  }
  return true;
}

}  // namespace snibbet
