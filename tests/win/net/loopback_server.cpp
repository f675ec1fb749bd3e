#include "loopback_server.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>

namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

std::string response(const std::string& status, const std::string& extraHeaders, std::size_t length) {
  return "HTTP/1.1 " + status + "\r\n" + extraHeaders + "Content-Length: " + std::to_string(length) +
         "\r\nConnection: close\r\n\r\n";
}

}  // namespace

std::string ReceivedRequest::header(const std::string& name) const {
  const int i = indexOf(name);
  return i < 0 ? std::string() : headers[static_cast<std::size_t>(i)].second;
}

int ReceivedRequest::indexOf(const std::string& name) const {
  for (std::size_t i = 0; i < headers.size(); ++i) {
    if (lower(headers[i].first) == lower(name)) return static_cast<int>(i);
  }
  return -1;
}

LoopbackServer::LoopbackServer() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
  stopping_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return;
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;  // a free port, chosen by the system
  int length = sizeof address;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 16) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    closesocket(s);
    return;
  }
  port_ = ntohs(address.sin_port);
  listener_ = s;
  acceptor_ = std::thread([this] { acceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
  if (stopping_) SetEvent(stopping_);
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  if (acceptor_.joinable()) acceptor_.join();
  std::vector<std::thread> handlers;
  {
    std::lock_guard<std::mutex> guard(lock_);
    for (SOCKET c : clients_) shutdown(c, SD_BOTH);
    handlers.swap(handlers_);
  }
  for (std::thread& t : handlers) t.join();
  if (stopping_) CloseHandle(stopping_);
  WSACleanup();
}

std::string LoopbackServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<ReceivedRequest> LoopbackServer::requests() {
  std::lock_guard<std::mutex> guard(lock_);
  return received_;
}

std::vector<ReceivedRequest> LoopbackServer::requestsFor(const std::string& targetPart) {
  std::vector<ReceivedRequest> found;
  for (const ReceivedRequest& r : requests()) {
    if (r.target.find(targetPart) != std::string::npos) found.push_back(r);
  }
  return found;
}

void LoopbackServer::acceptLoop() {
  for (;;) {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    std::lock_guard<std::mutex> guard(lock_);
    if (WaitForSingleObject(stopping_, 0) == WAIT_OBJECT_0) {
      closesocket(client);
      return;
    }
    clients_.push_back(client);
    handlers_.emplace_back([this, client] { serve(client); });
  }
}

bool LoopbackServer::sendAll(SOCKET client, const char* bytes, std::size_t count) {
  while (count > 0) {
    const int sent = send(client, bytes, static_cast<int>(std::min<std::size_t>(count, 1 << 16)), 0);
    if (sent <= 0) return false;
    bytes += sent;
    count -= static_cast<std::size_t>(sent);
  }
  return true;
}

// False when the server is stopping.
bool LoopbackServer::pause(DWORD milliseconds) { return WaitForSingleObject(stopping_, milliseconds) == WAIT_TIMEOUT; }

void LoopbackServer::serve(SOCKET client) {
  std::string raw;
  char chunk[4096];
  std::size_t headerEnd;
  while ((headerEnd = raw.find("\r\n\r\n")) == std::string::npos) {
    const int got = recv(client, chunk, sizeof chunk, 0);
    if (got <= 0) {
      closesocket(client);
      return;
    }
    raw.append(chunk, static_cast<std::size_t>(got));
  }

  ReceivedRequest request;
  std::size_t lineEnd = raw.find("\r\n");
  const std::string requestLine = raw.substr(0, lineEnd);
  const std::size_t space1 = requestLine.find(' ');
  const std::size_t space2 = requestLine.find(' ', space1 + 1);
  request.method = requestLine.substr(0, space1);
  request.target = requestLine.substr(space1 + 1, space2 - space1 - 1);
  for (std::size_t at = lineEnd + 2; at < headerEnd; at = lineEnd + 2) {
    lineEnd = raw.find("\r\n", at);
    const std::string line = raw.substr(at, lineEnd - at);
    const std::size_t colon = line.find(':');
    std::string value = colon == std::string::npos ? std::string() : line.substr(colon + 1);
    value.erase(0, value.find_first_not_of(' '));
    request.headers.emplace_back(line.substr(0, colon), value);
  }
  request.body = raw.substr(headerEnd + 4);
  const std::size_t length = static_cast<std::size_t>(std::atoll(request.header("Content-Length").c_str()));
  while (request.body.size() < length) {
    const int got = recv(client, chunk, sizeof chunk, 0);
    if (got <= 0) break;
    request.body.append(chunk, static_cast<std::size_t>(got));
  }
  {
    std::lock_guard<std::mutex> guard(lock_);
    received_.push_back(request);
  }

  const std::string path = request.target.substr(0, request.target.find('?'));
  auto ends = [&](const char* name) {
    const std::size_t n = std::strlen(name);
    return path.size() >= n && path.compare(path.size() - n, n, name) == 0;
  };
  if (ends("/silent")) {
    pause(INFINITE);
  } else if (ends("/empty")) {
    const std::string head = response("200 OK", "", 0);
    sendAll(client, head.data(), head.size());
  } else if (ends("/missing")) {
    const std::string body = "<html>not here</html>";
    const std::string head = response("404 Not Found", "", body.size());
    sendAll(client, (head + body).data(), head.size() + body.size());
  } else if (ends("/drip") || ends("/slowdrip")) {
    // Ten bytes, one at a time: quickly enough for a fetch to follow, or too slowly for its wait.
    const DWORD gap = ends("/drip") ? 60 : 700;
    const std::string head = response("200 OK", "", 10);
    bool open = sendAll(client, head.data(), head.size());
    for (int i = 0; open && i < 10; ++i) open = pause(gap) && sendAll(client, "0123456789" + i, 1);
  } else if (ends("/big")) {
    const std::size_t size = bigBodySize;
    const std::string head = response("200 OK", "", size);
    bool open = sendAll(client, head.data(), head.size());
    std::vector<char> block(1 << 16);
    for (std::size_t at = 0; open && at < size; at += block.size()) {
      const std::size_t n = std::min(block.size(), size - at);
      for (std::size_t i = 0; i < n; ++i) block[i] = bigBodyByte(at + i);
      open = sendAll(client, block.data(), n);
    }
  } else if (ends("/longheaders")) {
    // Well over 1024 characters of headers, a cookie among them.
    const std::string padding = "X-Padding: " + std::string(1000, 'p') + "\r\nSet-Cookie: tavrikLong=1\r\n";
    const std::string head = response("200 OK", padding, 4);
    sendAll(client, (head + "body").data(), head.size() + 4);
  } else if (ends("/cookies")) {
    const std::string query = request.target.substr(request.target.find('?') + 1);
    const std::string cookies = "Set-Cookie: " + query + "=42; path=/\r\nSet-Cookie: " + query + "Word\r\n";
    const std::string head = response("200 OK", cookies, 2);
    sendAll(client, (head + "ok").data(), head.size() + 2);
  } else {
    const std::string body = "1.6\r\n";
    const std::string head = response("200 OK", "", body.size());
    sendAll(client, (head + body).data(), head.size() + body.size());
  }
  shutdown(client, SD_SEND);
  {
    std::lock_guard<std::mutex> guard(lock_);
    clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
  }
  closesocket(client);
}
