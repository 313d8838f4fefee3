#include "core/version_fetch.h"

#include <wininet.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <thread>

#include "core/message_pump.h"
#include "ui/application.h"
#include "ui/handles.h"
#include "ui/internet_handle.h"

namespace snibbet {
namespace {

using Outcome = HttpFetchResult::Outcome;

HttpFetchResult Failure() {
  return {GetLastError() == ERROR_INTERNET_TIMEOUT ? Outcome::TimedOut : Outcome::Failed, 0, {}};
}

void SetTimeouts(HINTERNET session, DWORD timeoutMs) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    InternetSetOptionW(session, option, &timeoutMs, sizeof timeoutMs);
  }
}

// One read may return part of the file: read until the end or the limit.
bool ReadBody(HINTERNET request, size_t limit, std::string& body) {
  char buffer[4096];
  while (body.size() < limit) {
    const DWORD wanted = static_cast<DWORD>(std::min(sizeof buffer, limit - body.size()));
    DWORD read = 0;
    if (!InternetReadFile(request, buffer, wanted, &read)) return false;
    if (read == 0) break;
    body.append(buffer, read);
  }
  return true;
}

struct HttpTarget {
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring path;  // with the query
  bool secure = false;
};

// The parts of an http:// or https:// address; nothing for anything else.
std::optional<HttpTarget> CrackAddress(const std::wstring& address) {
  wchar_t host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = static_cast<DWORD>(std::size(host));
  parts.dwUrlPathLength = 1;   // pointers into the address
  parts.dwExtraInfoLength = 1;
  if (!InternetCrackUrlW(address.c_str(), 0, 0, &parts)) return std::nullopt;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return std::nullopt;
  HttpTarget target{std::wstring(host, parts.dwHostNameLength), parts.nPort, {}, parts.nScheme == INTERNET_SCHEME_HTTPS};
  if (parts.lpszUrlPath) target.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo) target.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (target.path.empty()) target.path = L"/";
  return target;
}

enum class WaitEnd { Signalled, Quit, Deadline };

// Waits for `event` while processing the thread's messages.
WaitEnd WaitPumping(HANDLE event, ULONGLONG deadline) {
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return WaitEnd::Deadline;
    const DWORD step = static_cast<DWORD>(std::min<ULONGLONG>(100, deadline - now));
    if (MsgWaitForMultipleObjectsEx(1, &event, step, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0) {
      return WaitEnd::Signalled;
    }
    if (!ProcessPendingMessages() || ui::Terminated()) return WaitEnd::Quit;
  }
}

}  // namespace

bool IsLoopbackAddress(const std::wstring& address) {
  const auto target = CrackAddress(address);
  if (!target) return false;
  const std::wstring& host = target->host;
  const bool dottedNumbers = host.find_first_not_of(L"0123456789.") == std::wstring::npos;
  return _wcsicmp(host.c_str(), L"localhost") == 0 || (dottedNumbers && host.rfind(L"127.", 0) == 0) ||
         host == L"::1" || host == L"[::1]";
}

bool HasInternetConnectionFor(const std::wstring& address) {
  DWORD flags = 0;
  return IsLoopbackAddress(address) || InternetGetConnectedState(&flags, 0);
}

HttpFetchResult FetchHttpFile(const std::wstring& address, const HttpFetchOptions& options) {
  const auto target = CrackAddress(address);
  if (!target) return {Outcome::Failed, 0, {}};
  ui::InternetHandle session(InternetOpenW(options.agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return Failure();
  SetTimeouts(session.Get(), options.timeoutMs);
  ui::InternetHandle connection(InternetConnectW(session.Get(), target->host.c_str(), target->port, nullptr, nullptr,
                                                 INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return Failure();
  SetTimeouts(connection.Get(), options.timeoutMs);
  // A cached copy would hide a new version; no dialog may come from this thread.
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
  if (target->secure) flags |= INTERNET_FLAG_SECURE;
  ui::InternetHandle request(
      HttpOpenRequestW(connection.Get(), L"GET", target->path.c_str(), nullptr, nullptr, nullptr, flags, 0));
  if (!request) return Failure();
  // Set on the request too: not every WinINet passes the session's receive time-out on.
  SetTimeouts(request.Get(), options.timeoutMs);
  if (!HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0)) return Failure();
  DWORD status = 0, size = sizeof status;
  if (!HttpQueryInfoW(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
    return Failure();
  }
  if (status != HTTP_STATUS_OK) return {Outcome::HttpError, status, {}};
  HttpFetchResult result{Outcome::Received, status, {}};
  if (!ReadBody(request.Get(), options.limit, result.body)) return Failure();
  return result;
}

HttpFetchResult FetchHttpFileWhilePumping(const std::wstring& address, const HttpFetchOptions& options) {
  struct Job {
    ui::KernelHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HttpFetchResult result;
  };
  auto job = std::make_shared<Job>();
  std::thread worker([job, address, options] {
    try {
      job->result = FetchHttpFile(address, options);
    } catch (...) {
      job->result = {Outcome::Failed, 0, {}};  // nothing may escape a thread
    }
    SetEvent(job->done.Get());
  });
  // Connect, send and each receive have their time-out, but a server that
  // trickles the file could keep the worker longer: the wait ends after three
  // time-outs and a margin.
  const ULONGLONG deadline = GetTickCount64() + 3ull * options.timeoutMs + 2000;
  switch (WaitPumping(job->done.Get(), deadline)) {
    case WaitEnd::Signalled:
      worker.join();
      return job->result;
    case WaitEnd::Quit:
      worker.detach();
      return {Outcome::Abandoned, 0, {}};
    case WaitEnd::Deadline:
      break;
  }
  worker.detach();  // it holds its own share of the job
  return {Outcome::TimedOut, 0, {}};
}

}  // namespace snibbet
