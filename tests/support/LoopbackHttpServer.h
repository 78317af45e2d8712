#pragma once
// A small HTTP/1.1 server on 127.0.0.1 (a free port) for tests: it answers
// each path with a fixed response, one connection at a time, and closes the
// connection after each answer. Unknown paths get 404.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

namespace test_support {

struct THttpResponse {
  int Status = 200;
  std::string Reason = "OK";
  std::string Headers;  // extra lines, each ending in CR LF
  std::string Body;
};

class TLoopbackHttpServer {
 public:
  TLoopbackHttpServer() {
    FListen = ::socket(AF_INET, SOCK_STREAM, 0);
    if (FListen < 0) throw std::runtime_error("socket");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (::bind(FListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(FListen, 8) != 0 ||
        ::getsockname(FListen, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
      ::close(FListen);
      throw std::runtime_error("bind/listen on 127.0.0.1");
    }
    FPort = ntohs(addr.sin_port);
    FThread = std::thread([this] { Serve(); });
  }
  ~TLoopbackHttpServer() {
    FStop = true;
    FThread.join();
    ::close(FListen);
  }
  TLoopbackHttpServer(const TLoopbackHttpServer&) = delete;
  TLoopbackHttpServer& operator=(const TLoopbackHttpServer&) = delete;

  void Route(const std::string& path, THttpResponse response) {
    std::lock_guard lock(FLock);
    FRoutes[path] = std::move(response);
  }
  int Port() const { return FPort; }
  // "http://127.0.0.1:PORT" + path.
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(FPort) + path; }
  // The head of the last request received (request line and header lines).
  std::string LastRequest() {
    std::lock_guard lock(FLock);
    return FLastRequest;
  }
  // The body of the last request (as its Content-Length announced, at most 1 MiB).
  std::string LastBody() {
    std::lock_guard lock(FLock);
    return FLastBody;
  }

  // How many requests arrived for path.
  int RequestCount(const std::string& path) {
    std::lock_guard lock(FLock);
    auto it = FCounts.find(path);
    return it == FCounts.end() ? 0 : it->second;
  }

  // A loopback port nobody listens on (bound once, then released).
  static int ClosedPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
  }

 private:
  void Serve() {
    while (!FStop) {
      pollfd p{FListen, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      int client = ::accept(FListen, nullptr, nullptr);
      if (client < 0) continue;
      Answer(client);
      ::close(client);
    }
  }

  void Answer(int client) {
    std::string head;
    char buf[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
      pollfd p{client, POLLIN, 0};
      if (::poll(&p, 1, 5000) <= 0) return;
      ssize_t n = ::recv(client, buf, sizeof buf, 0);
      if (n <= 0) return;
      head.append(buf, static_cast<std::size_t>(n));
    }
    const std::size_t end = head.find("\r\n\r\n");
    if (end == std::string::npos) return;  // a head beyond 64 KiB gets no answer
    std::string body = head.substr(end + 4);
    head.resize(end);
    std::size_t announced = 0;
    std::string lower = head;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (std::size_t at = lower.find("\r\ncontent-length:"); at != std::string::npos)
      announced = std::min<std::size_t>(std::strtoul(lower.c_str() + at + 17, nullptr, 10), 1u << 20);
    while (body.size() < announced) {
      pollfd p{client, POLLIN, 0};
      if (::poll(&p, 1, 5000) <= 0) return;
      ssize_t n = ::recv(client, buf, sizeof buf, 0);
      if (n <= 0) return;
      body.append(buf, static_cast<std::size_t>(n));
    }
    std::size_t sp1 = head.find(' ');
    std::size_t sp2 = head.find(' ', sp1 + 1);
    std::string path = sp1 == std::string::npos ? std::string() : head.substr(sp1 + 1, sp2 - sp1 - 1);
    THttpResponse response{404, "Not Found", "Content-Type: text/plain\r\n", "not found"};
    {
      std::lock_guard lock(FLock);
      FLastRequest = head;
      FLastBody = body.substr(0, announced);
      ++FCounts[path];
      if (auto it = FRoutes.find(path); it != FRoutes.end()) response = it->second;
    }
    std::string out = "HTTP/1.1 " + std::to_string(response.Status) + " " + response.Reason + "\r\n" +
                      response.Headers + "Connection: close\r\n";
    if (response.Headers.find("Content-Length:") == std::string::npos)
      out += "Content-Length: " + std::to_string(response.Body.size()) + "\r\n";
    out += "\r\n" + response.Body;
    std::size_t sent = 0;
    while (sent < out.size()) {
      ssize_t n = ::send(client, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return;
      sent += static_cast<std::size_t>(n);
    }
  }

  int FListen = -1;
  int FPort = 0;
  std::atomic<bool> FStop{false};
  std::mutex FLock;
  std::map<std::string, THttpResponse> FRoutes;
  std::map<std::string, int> FCounts;
  std::string FLastRequest;
  std::string FLastBody;
  std::thread FThread;
};

}  // namespace test_support
