// A small HTTP/1.1 server on 127.0.0.1 for the download tests. Each path has a
// behaviour (a body, an error status, a redirect, a stall, a trickle, an endless body, ...);
// every connection is served on a thread of its own and stop() wakes and joins them.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace zentrik::testing {

struct Route {
  enum class Kind { Body, Status, Redirect, Stall, Cut, Trickle, Endless, Silent, Garbage };
  Kind kind = Kind::Body;
  int status = 200;
  std::string body;      // sent after the headers (Stall and Cut: the part sent)
  std::string location;  // Redirect
  std::size_t declared = 0;  // Stall and Cut: the Content-Length announced
  std::chrono::milliseconds pause{0};  // Trickle: between two bytes

  static Route text(std::string body) { return {Kind::Body, 200, std::move(body), "", 0}; }
  static Route error(int status) { return {Kind::Status, status, "<html>error</html>", "", 0}; }
  static Route redirect(std::string location) { return {Kind::Redirect, 302, "", std::move(location), 0}; }
  // Announces `declared` bytes, sends `sent` of them and then nothing until stopped.
  static Route stall(std::size_t declared, std::size_t sent) {
    return {Kind::Stall, 200, std::string(sent, 's'), "", declared};
  }
  // Announces `declared` bytes, sends `sent` of them and closes the connection.
  static Route cut(std::size_t declared, std::size_t sent) {
    return {Kind::Cut, 200, std::string(sent, 'c'), "", declared};
  }
  // One byte after each pause, without end and without Content-Length.
  static Route trickle(std::chrono::milliseconds pause) { return {Kind::Trickle, 200, "", "", 0, pause}; }
  // Lines without end and without Content-Length.
  static Route endless() { return {Kind::Endless, 200, "", "", 0}; }
  // Closes the connection without a reply.
  static Route silent() { return {Kind::Silent, 0, "", "", 0}; }
  // A reply that is not HTTP.
  static Route garbage() { return {Kind::Garbage, 0, "\x01\x02 no status line here\r\n\r\n", "", 0}; }
};

class TestHttpServer {
 public:
  TestHttpServer() {
    if (::pipe(wake_) != 0) throw std::runtime_error("pipe");
    listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (listen_fd_ < 0 || ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listen_fd_, 16) != 0 ||
        ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      close_all();
      throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { accept_loop(); });
  }
  ~TestHttpServer() { stop(); }
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  void route(const std::string& path, Route route) {
    std::lock_guard lock(mutex_);
    routes_[path] = std::move(route);
  }

  std::string url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
  }

  // The request targets received so far, in order, with their queries; a route is
  // chosen by the path alone.
  std::vector<std::string> requested() const {
    std::lock_guard lock(mutex_);
    return requested_;
  }

  void stop() {
    if (stopped_) return;
    stopped_ = true;
    char byte = 0;
    if (::write(wake_[1], &byte, 1) != 1) std::terminate();  // the pipe stays readable: wakes every wait
    acceptor_.join();
    std::vector<std::thread> connections;
    {
      std::lock_guard lock(mutex_);
      connections.swap(connections_);
    }
    for (std::thread& connection : connections) connection.join();
    close_all();
  }

  // A port on which nothing listens (bound once, then released).
  static uint16_t closed_port() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
  }

 private:
  static sockaddr_in loopback(uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
  }

  void close_all() {
    if (listen_fd_ >= 0) ::close(listen_fd_);
    ::close(wake_[0]);
    ::close(wake_[1]);
    listen_fd_ = -1;
  }

  // Waits until fd is ready for events; false once the server stops.
  bool wait_for(int fd, short events) const {
    pollfd fds[2] = {{fd, events, 0}, {wake_[0], POLLIN, 0}};
    while (true) {
      int ready = ::poll(fds, 2, -1);
      if (ready < 0 && errno == EINTR) continue;
      if (ready < 0 || fds[1].revents) return false;
      if (fds[0].revents) return true;
    }
  }

  void accept_loop() {
    while (wait_for(listen_fd_, POLLIN)) {
      int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      std::lock_guard lock(mutex_);
      connections_.emplace_back([this, fd] {
        serve(fd);
        ::close(fd);
      });
    }
  }

  bool send_all(int fd, std::string_view data) const {
    while (!data.empty()) {
      if (!wait_for(fd, POLLOUT)) return false;
      ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
      if (sent <= 0) return false;
      data.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
  }

  // The target of the request line, once the whole header has arrived.
  bool read_target(int fd, std::string& target) const {
    std::string header;
    while (header.find("\r\n\r\n") == std::string::npos && header.size() < 65536) {
      char buffer[4096];
      if (!wait_for(fd, POLLIN)) return false;
      ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
      if (got <= 0) return false;
      header.append(buffer, static_cast<std::size_t>(got));
    }
    std::size_t start = header.find(' ');
    std::size_t end = header.find(' ', start + 1);
    if (start == std::string::npos || end == std::string::npos) return false;
    target = header.substr(start + 1, end - start - 1);
    return true;
  }

  // False when the server stops during the pause.
  bool sleep(std::chrono::milliseconds pause) const {
    pollfd wake = {wake_[0], POLLIN, 0};
    return ::poll(&wake, 1, static_cast<int>(pause.count())) == 0;
  }

  // Until the client closes the connection or the server stops.
  void wait_for_close(int fd) const {
    char buffer[256];
    while (wait_for(fd, POLLIN) && ::recv(fd, buffer, sizeof buffer, 0) > 0) {
    }
  }

  static std::string head(int status, std::string_view extra) {
    return "HTTP/1.1 " + std::to_string(status) + " Test\r\nConnection: close\r\n" + std::string(extra) + "\r\n";
  }
  static std::string length(std::size_t bytes) { return "Content-Length: " + std::to_string(bytes) + "\r\n"; }

  void serve(int fd) {
    std::string target;
    if (!read_target(fd, target)) return;
    Route route = Route::error(404);
    {
      std::lock_guard lock(mutex_);
      requested_.push_back(target);
      std::string path = target.substr(0, target.find('?'));
      if (auto found = routes_.find(path); found != routes_.end()) route = found->second;
    }
    switch (route.kind) {
      case Route::Kind::Body:
      case Route::Kind::Status:
        send_all(fd, head(route.status, length(route.body.size())) + route.body);
        break;
      case Route::Kind::Redirect:
        send_all(fd, head(route.status, "Location: " + route.location + "\r\n" + length(0)));
        break;
      case Route::Kind::Stall:
        if (send_all(fd, head(200, length(route.declared)) + route.body)) wait_for_close(fd);
        break;
      case Route::Kind::Cut:
        send_all(fd, head(200, length(route.declared)) + route.body);
        break;
      case Route::Kind::Trickle:
        if (!send_all(fd, head(200, ""))) break;
        while (sleep(route.pause) && send_all(fd, "1")) {
        }
        break;
      case Route::Kind::Endless:
        if (!send_all(fd, head(200, ""))) break;
        for (std::string lines = endless_lines(); send_all(fd, lines);) {
        }
        break;
      case Route::Kind::Silent:
        break;
      case Route::Kind::Garbage:
        send_all(fd, route.body);
        break;
    }
  }

  static std::string endless_lines() {
    std::string lines;
    while (lines.size() < 16384) lines += "1 2 3\n";
    return lines;
  }

  int listen_fd_ = -1;
  int wake_[2] = {-1, -1};
  uint16_t port_ = 0;
  bool stopped_ = false;
  mutable std::mutex mutex_;
  std::map<std::string, Route> routes_;
  std::vector<std::string> requested_;
  std::vector<std::thread> connections_;
  std::thread acceptor_;
};

}  // namespace zentrik::testing
