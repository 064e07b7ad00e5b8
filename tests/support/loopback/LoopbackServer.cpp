#include "tests/support/loopback/LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace kestrel::testing {

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string Trim(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.pop_back();
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  return s.substr(i);
}

}  // namespace

std::string HttpRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers)
    if (EqualNoCase(key, name)) return value;
  return {};
}

bool HttpRequest::HasHeader(std::string_view name) const {
  return std::any_of(headers.begin(), headers.end(), [&](const auto& h) { return EqualNoCase(h.first, name); });
}

// One accepted socket, plain or wrapped in TLS.
struct LoopbackServer::Connection {
  explicit Connection(int socket) : fd(socket) {}
  ~Connection() {
    if (ssl) {
      SSL_shutdown(ssl);
      SSL_free(ssl);
    }
  }
  platform::UniqueFd fd;  // closed after the TLS session is shut down
  SSL* ssl = nullptr;
  long Read(char* buffer, std::size_t size) {
    if (ssl) return SSL_read(ssl, buffer, static_cast<int>(size));
    return ::recv(fd.get(), buffer, size, 0);
  }
  bool Write(const char* data, std::size_t size) {
    while (size > 0) {
      const long n = ssl ? SSL_write(ssl, data, static_cast<int>(std::min<std::size_t>(size, 1 << 20)))
                         : ::send(fd.get(), data, size, MSG_NOSIGNAL);
      if (n < 0 && !ssl && errno == EINTR) continue;
      if (n <= 0) return false;
      data += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }
  bool ReadRequest(HttpRequest& request);
};

bool LoopbackServer::Connection::ReadRequest(HttpRequest& request) {
  std::string data;
  char buffer[4096];
  std::size_t end;
  while ((end = data.find("\r\n\r\n")) == std::string::npos) {
    const long n = Read(buffer, sizeof buffer);
    if (n <= 0 || data.size() > (1 << 20)) return false;
    data.append(buffer, static_cast<std::size_t>(n));
  }
  std::size_t lineEnd = data.find("\r\n");
  const std::string first = data.substr(0, lineEnd);
  const std::size_t s1 = first.find(' '), s2 = first.rfind(' ');
  if (s1 == std::string::npos || s2 == s1) return false;
  request.method = first.substr(0, s1);
  request.target = first.substr(s1 + 1, s2 - s1 - 1);
  request.version = first.substr(s2 + 1);
  for (std::size_t pos = lineEnd + 2; pos < end; pos = lineEnd + 2) {
    lineEnd = data.find("\r\n", pos);
    const std::string line = data.substr(pos, lineEnd - pos);
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos) request.headers.emplace_back(line.substr(0, colon), Trim(line.substr(colon + 1)));
  }
  request.body = data.substr(end + 4);
  const std::string length = request.Header("Content-Length");
  const std::size_t want = length.empty() ? 0 : std::stoul(length);
  while (request.body.size() < want) {
    const long n = Read(buffer, sizeof buffer);
    if (n <= 0) return false;
    request.body.append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

LoopbackServer::LoopbackServer(Handler handler, const TlsIdentity* tls) : handler_(std::move(handler)) {
  // TLS writes to a client that hung up must fail, not kill the test process.
  std::signal(SIGPIPE, SIG_IGN);
  if (tls) {
    SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
    if (!ctx || SSL_CTX_use_certificate_chain_file(ctx, tls->certFile.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(ctx, tls->keyFile.c_str(), SSL_FILETYPE_PEM) != 1) {
      SSL_CTX_free(ctx);
      throw std::runtime_error("loopback server: bad TLS identity");
    }
    sslContext_ = ctx;
  }
  listenFd_.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const int listening = listenFd_.get();
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  int wake[2] = {-1, -1};
  if (!listenFd_ || ::bind(listening, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(listening, 64) != 0 || ::getsockname(listening, reinterpret_cast<sockaddr*>(&addr), &len) != 0 ||
      ::pipe2(wake, O_CLOEXEC) != 0)
    throw std::runtime_error("loopback server: cannot listen");
  wakeRead_.reset(wake[0]);
  wakeWrite_.reset(wake[1]);
  port_ = ntohs(addr.sin_port);
  acceptThread_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
  Stop();
  if (sslContext_) SSL_CTX_free(static_cast<SSL_CTX*>(sslContext_));
}

void LoopbackServer::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
  }
  stopped_.notify_all();
  const char byte = 0;
  if (::write(wakeWrite_.get(), &byte, 1) < 0) {
  }
  if (acceptThread_.joinable()) acceptThread_.join();
  {
    std::unique_lock lock(mutex_);
    workersGone_.wait(lock, [&] { return activeWorkers_ == 0; });
  }
  listenFd_.reset();
  wakeRead_.reset();
  wakeWrite_.reset();
}

std::string LoopbackServer::ConnectTo(const std::string& host, int port) const {
  return host + ":" + std::to_string(port) + ":127.0.0.1:" + std::to_string(port_);
}

std::vector<HttpRequest> LoopbackServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LoopbackServer::AcceptLoop() {
  for (;;) {
    pollfd fds[2] = {{listenFd_.get(), POLLIN, 0}, {wakeRead_.get(), POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
    if (fds[1].revents) return;
    if (!(fds[0].revents & POLLIN)) continue;
    platform::UniqueFd accepted(::accept4(listenFd_.get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!accepted) continue;
    const int fd = accepted.get();
    ++connections_;
    {
      std::lock_guard lock(mutex_);
      ++activeWorkers_;
    }
    try {
      std::thread([this, fd] {
        Serve(fd);
        WorkerDone();
      }).detach();
      accepted.release();  // the worker's Connection owns it now
    } catch (const std::system_error&) {
      WorkerDone();
    }
  }
}

void LoopbackServer::WorkerDone() {
  // A worker's last touch of the server: Stop may free it once the count reaches zero.
  std::lock_guard lock(mutex_);
  if (--activeWorkers_ == 0) workersGone_.notify_all();
}

bool LoopbackServer::StallFor(int ms) {
  std::unique_lock lock(mutex_);
  if (ms < 0) {
    stopped_.wait(lock, [&] { return stopping_; });
    return false;
  }
  return !stopped_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return stopping_; });
}

void LoopbackServer::Serve(int fd) {
  Connection c(fd);
  timeval timeout{10, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  if (sslContext_) {
    c.ssl = SSL_new(static_cast<SSL_CTX*>(sslContext_));
    SSL_set_fd(c.ssl, fd);
    if (SSL_accept(c.ssl) != 1) {
      ERR_clear_error();
      return;  // a client that refuses the certificate ends here
    }
  }
  HttpRequest request;
  if (!c.ReadRequest(request)) return;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  const HttpResponse response = handler_(request);
  if (response.noAnswer) {
    StallFor(response.stallMs);
    return;
  }
  Answer(c, response);
}

void LoopbackServer::Answer(Connection& c, const HttpResponse& r) {
  const std::uint64_t size = r.generatedSize ? r.generatedSize : r.body.size();
  std::string head = "HTTP/1.0 " + std::to_string(r.status) + " " + r.reason + "\r\n";
  for (const auto& [name, value] : r.headers) head += name + ": " + value + "\r\n";
  if (r.sendLength)
    head += "Content-Length: " + std::to_string(r.announcedLength >= 0 ? r.announcedLength : size) + "\r\n";
  head += "Connection: close\r\n\r\n";
  if (!c.Write(head.data(), head.size())) return;
  std::string chunk;
  if (r.generatedSize) {
    chunk.resize(1 << 16);
    for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>(i * 7 + 3);
  }
  const std::uint64_t limit = std::min<std::uint64_t>(size, r.sendLimit);
  std::uint64_t sent = 0;
  bool stalled = false;
  while (sent < limit) {
    if (!stalled && sent >= r.stallAfter) {
      stalled = true;
      if (!StallFor(r.stallMs)) return;
    }
    std::uint64_t step = limit - sent;
    if (!stalled && r.stallAfter > sent) step = std::min<std::uint64_t>(step, r.stallAfter - sent);
    const char* data;
    if (r.generatedSize) {
      step = std::min<std::uint64_t>(step, chunk.size());
      data = chunk.data();
    } else {
      data = r.body.data() + sent;
    }
    if (!c.Write(data, step)) return;
    sent += step;
  }
  if (!stalled && r.stallAfter <= sent && r.stallAfter != HttpResponse::kAll) StallFor(r.stallMs);
}

}  // namespace kestrel::testing
