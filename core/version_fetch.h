#pragma once
// Fetching one small file over HTTP (WinINet) without holding the GUI thread.
// The program's low-level keyboard hook runs on that thread: were it blocked
// by a slow network, every key the user types would stall and the system
// could silently remove the hook. So the request runs on a worker thread with
// time-outs while the calling thread keeps processing its messages.
#include <windows.h>

#include <cstddef>
#include <string>

namespace snibbet {

struct HttpFetchOptions {
  std::wstring agent = L"Snibbet";
  DWORD timeoutMs = 10000;  // each of connect, send and receive
  size_t limit = 10240;     // bytes read at most; the rest is ignored
};

struct HttpFetchResult {
  enum class Outcome {
    Received,      // status 200; body holds the file (at most `limit` bytes)
    Failed,        // the address could not be opened or read
    TimedOut,      // the server did not answer in time
    HttpError,     // an answer other than 200; `status` says which
    Abandoned,     // the program is ending: nobody waits for the answer
  };
  Outcome outcome = Outcome::Failed;
  DWORD status = 0;
  std::string body;

  bool Received() const { return outcome == Outcome::Received; }
};

// True for an address whose host is this computer (127.x.x.x, "localhost",
// [::1]): it needs no network connection.
bool IsLoopbackAddress(const std::wstring& address);

// Whether the system reports an internet connection (always true for a
// loopback address).
bool HasInternetConnectionFor(const std::wstring& address);

// The request on the calling thread: the system's proxy settings, no cache,
// no dialogs; the body is read in a loop until its end or `limit` bytes.
HttpFetchResult FetchHttpFile(const std::wstring& address, const HttpFetchOptions& options);

// FetchHttpFile on a worker thread. Meanwhile the calling thread processes its
// messages (timers, the hook, posted messages) in steps of at most 100 ms. It
// stops waiting when the program is asked to end (Abandoned) or when the
// worker has taken longer than its time-outs allow (TimedOut); the worker
// then finishes on its own.
HttpFetchResult FetchHttpFileWhilePumping(const std::wstring& address, const HttpFetchOptions& options);

}  // namespace snibbet
