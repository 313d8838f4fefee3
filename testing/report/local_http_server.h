#pragma once
// A tiny HTTP server on 127.0.0.1 for tests: it runs on threads of the test
// process (Winsock) and gives canned answers by path.
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace report_test {

struct CannedAnswer {
  int status = 200;
  std::string reason = "OK";
  std::string contentType = "text/plain";
  std::string body;
  // The body goes out in pieces of this many bytes with a pause after each (0: at once).
  size_t pieceSize = 0;
  DWORD pauseMs = 0;
  // The request is read and then nothing is sent until the server stops.
  bool neverAnswer = false;
};

// Reads the request and never answers it.
inline CannedAnswer NeverAnswering() {
  CannedAnswer answer;
  answer.neverAnswer = true;
  return answer;
}

struct SeenRequest {
  std::string method;
  std::string path;
  std::string userAgent;
};

class LocalHttpServer {
 public:
  // Listens on a free port of 127.0.0.1. Throws std::runtime_error when it cannot.
  LocalHttpServer();
  // Stops listening, ends every connection and waits for the threads.
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // Other paths get 404 Not Found.
  void Serve(const std::string& path, CannedAnswer answer);
  uint16_t Port() const { return port_; }
  std::wstring Url(const std::string& path) const;
  std::vector<SeenRequest> Requests() const;

 private:
  void AcceptLoop();
  void Answer(SOCKET connection);
  CannedAnswer AnswerFor(const std::string& path) const;
  void SendAnswer(SOCKET connection, const CannedAnswer& answer) const;
  bool Stopping() const { return WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0; }

  mutable std::mutex mutex_;
  std::map<std::string, CannedAnswer> answers_;
  std::vector<SeenRequest> requests_;
  std::vector<std::thread> connections_;
  SOCKET listener_ = INVALID_SOCKET;
  uint16_t port_ = 0;
  HANDLE stop_ = nullptr;
  std::thread acceptor_;
};

// A port of 127.0.0.1 on which nothing listens (taken, then let go).
uint16_t UnusedLocalPort();

}  // namespace report_test
