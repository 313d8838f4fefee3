#include "core/version_fetch.h"

#include <wininet.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "core/message_pump.h"
#include "ui/application.h"

namespace snibbet {
namespace {

using Outcome = HttpFetchResult::Outcome;

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() { if (handle_) InternetCloseHandle(handle_); }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

class Event {
 public:
  Event() : handle_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Event() { if (handle_) CloseHandle(handle_); }
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

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
  wchar_t host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = static_cast<DWORD>(std::size(host));
  if (!InternetCrackUrlW(address.c_str(), 0, 0, &parts)) return false;
  const std::wstring name(host, parts.dwHostNameLength);
  return _wcsicmp(name.c_str(), L"localhost") == 0 || name.rfind(L"127.", 0) == 0 || name == L"::1" ||
         name == L"[::1]";
}

bool HasInternetConnectionFor(const std::wstring& address) {
  DWORD flags = 0;
  return IsLoopbackAddress(address) || InternetGetConnectedState(&flags, 0);
}

HttpFetchResult FetchHttpFile(const std::wstring& address, const HttpFetchOptions& options) {
  InternetHandle session(InternetOpenW(options.agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return Failure();
  SetTimeouts(session.get(), options.timeoutMs);
  // A cached copy would hide a new version; no dialog may come from this thread.
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                      INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
  InternetHandle request(InternetOpenUrlW(session.get(), address.c_str(), nullptr, 0, flags, 0));
  if (!request) return Failure();
  DWORD status = 0, size = sizeof status;
  if (!HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
    return Failure();
  }
  if (status != HTTP_STATUS_OK) return {Outcome::HttpError, status, {}};
  HttpFetchResult result{Outcome::Received, status, {}};
  if (!ReadBody(request.get(), options.limit, result.body)) return Failure();
  return result;
}

HttpFetchResult FetchHttpFileWhilePumping(const std::wstring& address, const HttpFetchOptions& options) {
  struct Job {
    Event done;
    HttpFetchResult result;
  };
  auto job = std::make_shared<Job>();
  std::thread worker([job, address, options] {
    job->result = FetchHttpFile(address, options);
    SetEvent(job->done.get());
  });
  // Connect, send and receive may each take their time-out; then a margin.
  const ULONGLONG deadline = GetTickCount64() + 3ull * options.timeoutMs + 2000;
  switch (WaitPumping(job->done.get(), deadline)) {
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
