#pragma once
// A small HTTP server on 127.0.0.1 and a free port, run by the test itself. What it answers
// depends on the request's path; every request it receives is recorded as it arrived.
#include <winsock2.h>
#include <windows.h>

#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct ReceivedRequest {
  std::string method;
  std::string target;  // as on the request line: a path, or a whole URL through a proxy
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // The value of the first header of that name (any case), or "" when there is none.
  std::string header(const std::string& name) const;
  // Where the header stands among the request's headers, or -1.
  int indexOf(const std::string& name) const;
};

// The size of the large body, and the byte at each place of them.
constexpr std::size_t bigBodySize = std::size_t(64) << 20;
inline char bigBodyByte(std::size_t i) { return static_cast<char>((i * 7 + (i >> 12)) & 0xFF); }

class LoopbackServer {
 public:
  LoopbackServer();
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  bool running() const { return listener_ != INVALID_SOCKET; }
  int port() const { return port_; }
  // "http://127.0.0.1:PORT" followed by path.
  std::string url(const std::string& path) const;
  std::vector<ReceivedRequest> requests();
  // Requests whose target contains the text.
  std::vector<ReceivedRequest> requestsFor(const std::string& targetPart);

 private:
  void acceptLoop();
  void serve(SOCKET client);
  bool sendAll(SOCKET client, const char* bytes, std::size_t count);
  bool pause(DWORD milliseconds);

  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  HANDLE stopping_ = nullptr;
  std::thread acceptor_;
  std::mutex lock_;
  std::vector<std::thread> handlers_;
  std::vector<SOCKET> clients_;
  std::vector<ReceivedRequest> received_;
};
