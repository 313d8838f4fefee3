#include "testing/report/local_http_server.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace report_test {
namespace {

class WinsockUse {
 public:
  WinsockUse() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
  }
  ~WinsockUse() { WSACleanup(); }
};

// Winsock stays started for the whole test process.
void EnsureWinsock() { static WinsockUse winsock; }

SOCKET ListenOnLoopback(uint16_t& port) {
  EnsureWinsock();
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) throw std::runtime_error("socket failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int size = sizeof address;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 16) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    closesocket(s);
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  port = ntohs(address.sin_port);
  return s;
}

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The request head (up to the empty line); "" when the client went away.
std::string ReadHead(SOCKET connection) {
  std::string head;
  char buffer[1024];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
    const int n = recv(connection, buffer, sizeof buffer, 0);
    if (n <= 0) return {};
    head.append(buffer, static_cast<size_t>(n));
  }
  return head;
}

SeenRequest ParseHead(const std::string& head) {
  SeenRequest request;
  const size_t lineEnd = head.find("\r\n");
  const std::string first = head.substr(0, lineEnd);
  const size_t space1 = first.find(' ');
  const size_t space2 = first.find(' ', space1 + 1);
  request.method = first.substr(0, space1);
  if (space1 != std::string::npos) request.path = first.substr(space1 + 1, space2 - space1 - 1);
  const std::string lowered = Lowered(head);
  const size_t agent = lowered.find("\r\nuser-agent:");
  if (agent != std::string::npos) {
    const size_t start = head.find_first_not_of(' ', agent + 13);
    request.userAgent = head.substr(start, head.find("\r\n", start) - start);
  }
  return request;
}

bool SendAll(SOCKET connection, const char* data, size_t size) {
  while (size > 0) {
    const int n = send(connection, data, static_cast<int>(std::min<size_t>(size, 65536)), 0);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

LocalHttpServer::LocalHttpServer() {
  listener_ = ListenOnLoopback(port_);
  stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

LocalHttpServer::~LocalHttpServer() {
  SetEvent(stop_);
  closesocket(listener_);
  acceptor_.join();
  std::vector<std::thread> connections;
  {
    std::lock_guard lock(mutex_);
    connections.swap(connections_);
  }
  for (auto& connection : connections) connection.join();
  CloseHandle(stop_);
}

void LocalHttpServer::Serve(const std::string& path, CannedAnswer answer) {
  std::lock_guard lock(mutex_);
  answers_[path] = std::move(answer);
}

std::wstring LocalHttpServer::Url(const std::string& path) const {
  return L"http://127.0.0.1:" + std::to_wstring(port_) + std::wstring(path.begin(), path.end());
}

std::vector<SeenRequest> LocalHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LocalHttpServer::AcceptLoop() {
  while (!Stopping()) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener_, &readable);
    timeval wait{0, 50 * 1000};
    if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
    const SOCKET connection = accept(listener_, nullptr, nullptr);
    if (connection == INVALID_SOCKET) continue;
    std::lock_guard lock(mutex_);
    connections_.emplace_back([this, connection] { Answer(connection); });
  }
}

CannedAnswer LocalHttpServer::AnswerFor(const std::string& path) const {
  std::lock_guard lock(mutex_);
  const auto found = answers_.find(path);
  if (found != answers_.end()) return found->second;
  return {.status = 404, .reason = "Not Found", .contentType = "text/html",
          .body = "<html><body><h1>404 Not Found</h1></body></html>"};
}

void LocalHttpServer::Answer(SOCKET connection) {
  const std::string head = ReadHead(connection);
  if (!head.empty()) {
    const SeenRequest request = ParseHead(head);
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    const CannedAnswer answer = AnswerFor(request.path);
    if (answer.neverAnswer) {
      WaitForSingleObject(stop_, INFINITE);
    } else {
      SendAnswer(connection, answer);
    }
  }
  shutdown(connection, SD_BOTH);
  closesocket(connection);
}

void LocalHttpServer::SendAnswer(SOCKET connection, const CannedAnswer& answer) const {
  const std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " + answer.reason +
                           "\r\nContent-Type: " + answer.contentType +
                           "\r\nContent-Length: " + std::to_string(answer.body.size()) +
                           "\r\nCache-Control: no-cache\r\nConnection: close\r\n\r\n";
  if (!SendAll(connection, head.data(), head.size())) return;
  const size_t piece = answer.pieceSize ? answer.pieceSize : answer.body.size();
  for (size_t sent = 0; sent < answer.body.size(); sent += piece) {
    if (!SendAll(connection, answer.body.data() + sent, std::min(piece, answer.body.size() - sent))) return;
    if (answer.pauseMs && WaitForSingleObject(stop_, answer.pauseMs) == WAIT_OBJECT_0) return;
  }
}

uint16_t UnusedLocalPort() {
  uint16_t port = 0;
  closesocket(ListenOnLoopback(port));
  return port;
}

}  // namespace report_test
