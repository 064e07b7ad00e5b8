#include "net/HTTPGetThread.h"

#include <curl/curl.h>
#include <dirent.h>
#include <fcntl.h>
#include <openssl/crypto.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <memory>
#include <random>

#include "net/HTTPGet.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(THTTPGetThread, TThread)

namespace {

std::atomic<int> gLiveWorkers{0};

bool StartsWithNoCase(const AnsiString& text, const char* prefix) {
  std::size_t i = 0;
  for (; prefix[i]; ++i) {
    if (i >= text.size()) return false;
    const char c = text[i];
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != prefix[i]) return false;
  }
  return true;
}

// A host that would make the address mean something else (user information, a port, a query or
// an injected character) is refused rather than passed on.
bool SafeHost(const AnsiString& host) {
  if (host.empty()) return false;
  const bool bracketed = host.front() == '[' && host.back() == ']';
  for (unsigned char c : host) {
    if (c <= 0x20 || c >= 0x7F) return false;
    if (c == '@' || c == '?' || c == '#' || c == '\\' || c == '%') return false;
    if (c == ':' && !bracketed) return false;
  }
  return true;
}

// Spaces, control and non-ASCII bytes of the path are sent percent-encoded.
AnsiString EncodePath(const AnsiString& path) {
  static const char hex[] = "0123456789ABCDEF";
  AnsiString out;
  out.reserve(path.size());
  for (unsigned char c : path) {
    if (c <= 0x20 || c >= 0x7F) {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// Header values never carry line breaks: they would inject further header lines.
AnsiString HeaderValue(const AnsiString& value) {
  AnsiString out;
  for (char c : value)
    if (c != '\r' && c != '\n' && c != '\0') out += c;
  return out;
}

constexpr std::size_t kTagLength = 12;
constexpr char kPartialMark[] = ".part";

// What every temporary name for `target` starts with: its folder, a dot (hidden) and the name
// shortened so the marks never push it past the file system's limit. Empty when `target` names
// no file.
AnsiString TemporaryPrefixFor(const AnsiString& target) {
  const std::size_t slash = target.rfind('/');
  const std::size_t nameStart = slash == AnsiString::npos ? 0 : slash + 1;
  if (nameStart == target.size()) return AnsiString();
  return target.substr(0, nameStart) + "." + target.substr(nameStart, 64) + ".";
}

// A name beside `target` for the file while it is written: hidden, marked as partial, and
// random so that nothing can be planted there in advance. Empty when `target` names no file.
AnsiString TemporaryNameFor(const AnsiString& target) {
  const AnsiString prefix = TemporaryPrefixFor(target);
  if (prefix.empty()) return AnsiString();
  static const char hex[] = "0123456789abcdef";
  std::random_device random;
  AnsiString tag;
  for (int i = 0; i < 3; ++i) {
    const unsigned bits = random();
    for (int shift = 0; shift < 16; shift += 4) tag += hex[(bits >> shift) & 15];
  }
  return prefix + tag + kPartialMark;
}

// Whether `name` (in the folder of `prefix`) is one TemporaryNameFor gives for that prefix.
bool IsTemporaryName(const std::string& name, const std::string& prefixName) {
  const std::size_t mark = sizeof kPartialMark - 1;
  if (name.size() != prefixName.size() + kTagLength + mark || name.compare(0, prefixName.size(), prefixName) != 0 ||
      name.compare(name.size() - mark, mark, kPartialMark) != 0)
    return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefixName.size()),
                     name.end() - static_cast<std::ptrdiff_t>(mark),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

struct CurlDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct SlistDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using CurlPtr = std::unique_ptr<CURL, CurlDeleter>;
using SlistPtr = std::unique_ptr<curl_slist, SlistDeleter>;

void Append(SlistPtr& list, const AnsiString& line) {
  curl_slist* grown = curl_slist_append(list.get(), line.c_str());
  if (grown) {
    list.release();
    list.reset(grown);
  }
}

}  // namespace

// The libcurl side of one transfer: options and the callbacks that feed the worker.
struct THTTPTransfer {
  static std::size_t Write(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<THTTPGetThread*>(user);
    const std::size_t total = size * count;
    try {
      return t->Deliver(data, total) ? total : 0;
    } catch (...) {
      return 0;  // nothing may unwind through libcurl
    }
  }
  static int Progress(void* user, curl_off_t, curl_off_t down, curl_off_t, curl_off_t up) {
    auto* t = static_cast<THTTPGetThread*>(user);
    return t->Stopped() || t->Stalled(static_cast<std::uint64_t>(down + up)) ? 1 : 0;
  }

  static void Configure(CURL* c, THTTPGetThread& t, const THTTPUrlParts& parts, SlistPtr& headers,
                        SlistPtr& connectTo) {
    const THTTPGetSettings& s = t.s_;
    const AnsiString url = AnsiString(parts.Secure ? "https://" : "http://") + parts.Host + ":" +
                           std::to_string(parts.Port()) + EncodePath(parts.Path);
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    // A secure request is never redirected to plain HTTP, where the body could be tampered with.
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, parts.Secure ? "https" : "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_BUFFERSIZE, 128L * 1024);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!s.CAFile.empty()) curl_easy_setopt(c, CURLOPT_CAINFO, s.CAFile.c_str());
    if (s.ConnectTimeoutMs > 0) curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(s.ConnectTimeoutMs));
    if (!s.Agent.empty()) curl_easy_setopt(c, CURLOPT_USERAGENT, HeaderValue(s.Agent).c_str());
    if (!s.Referer.empty()) curl_easy_setopt(c, CURLOPT_REFERER, HeaderValue(s.Referer).c_str());
    if (!s.UserName.empty() || !s.Password.empty()) {
      curl_easy_setopt(c, CURLOPT_USERNAME, s.UserName.c_str());
      curl_easy_setopt(c, CURLOPT_PASSWORD, s.Password.c_str());
      curl_easy_setopt(c, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
    }
    Append(headers, s.AcceptTypes.empty() ? "Accept:" : "Accept: " + HeaderValue(s.AcceptTypes));
    if (!s.UseCache) {
      Append(headers, "Cache-Control: no-cache");
      Append(headers, "Pragma: no-cache");
    }
    if (!s.PostQuery.empty()) {
      Append(headers, "Content-Type: application/x-www-form-urlencoded");
      curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(s.PostQuery.size()));
      curl_easy_setopt(c, CURLOPT_POSTFIELDS, s.PostQuery.data());
    }
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    for (const AnsiString& entry : s.ConnectTo) Append(connectTo, entry);
    if (connectTo) curl_easy_setopt(c, CURLOPT_CONNECT_TO, connectTo.get());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &THTTPTransfer::Write);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &THTTPTransfer::Progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);
  }
};

THTTPUrlParts SplitHTTPUrl(const AnsiString& url) {
  THTTPUrlParts parts;
  AnsiString rest = url;
  if (StartsWithNoCase(url, "http://")) {
    rest = url.substr(7);
  } else if (StartsWithNoCase(url, "https://")) {
    rest = url.substr(8);
    parts.Secure = true;
  }
  const std::size_t slash = rest.find('/');
  if (slash == AnsiString::npos) {
    // No path at all: the whole rest names the host and the root is fetched.
    parts.Host = rest;
    parts.Path = "/";
  } else {
    parts.Host = rest.substr(0, slash);
    parts.Path = rest.substr(slash);
  }
  return parts;
}

THTTPGetThread::THTTPGetThread(THTTPGet* owner, const THTTPGetSettings& settings, TOnProgressEvent progress,
                               bool toFile)
    : owner_(owner), s_(settings), progress_(std::move(progress)), toFile_(toFile) {
  ++gLiveWorkers;
  SetFreeOnTerminate(true);
  OnTerminate = [this](TObject*) { EndOnGuiThread(); };
  Start();
}

THTTPGetThread::~THTTPGetThread() {
  CloseTarget();
  --gLiveWorkers;
}

int THTTPGetThread::LiveCount() { return gLiveWorkers; }

void THTTPGetThread::Abort() {
  aborted_ = true;
  result_ = false;
  Terminate();
}

void THTTPGetThread::EndOnGuiThread() {
  // A failed transfer's file goes before anyone hears of the failure. Checked here rather than
  // by the worker: an abort (a component going away included) may come after its verdict.
  if (!Result()) DiscardFile();
  if (owner_) owner_->ThreadDone(this);
}

bool THTTPGetThread::CommitFile() {
  if (tempName_.empty()) return false;
  // rename replaces whatever entry has the target's name (a link included) without following it.
  if (::rename(tempName_.c_str(), s_.FileName.c_str()) != 0) {
    DiscardFile();
    return false;
  }
  tempName_.clear();
  return true;
}

void THTTPGetThread::DiscardFile() {
  if (!tempName_.empty()) ::unlink(tempName_.c_str());
  tempName_.clear();
}

bool THTTPGetThread::DigestMatches() { return !digest_ || digest_->Matches(s_.ExpectedSHA256); }

void THTTPGetThread::Execute() {
  Transfer();
  // The TLS library keeps per-thread state that it otherwise frees from a thread-exit hook. This
  // thread frees itself after the end event; if the program ends meanwhile, that hook and the
  // library's own clean-up at exit free the same state twice. Release it while nothing else runs.
  OPENSSL_thread_stop();
}

void THTTPGetThread::Transfer() {
  result_ = false;
  if (Stopped()) return;
  const THTTPUrlParts parts = SplitHTTPUrl(s_.URL);
  if (!SafeHost(parts.Host)) return;
  if (!s_.ExpectedSHA256.empty()) {
    // A pin that is no digest would refuse every body: nothing is requested at all.
    if (!TSHA256Digest::IsHexDigest(s_.ExpectedSHA256)) return;
    digest_ = std::make_unique<TSHA256Digest>();
  }
  CurlPtr curl(curl_easy_init());
  if (!curl) return;
  curl_ = curl.get();
  SlistPtr headers, connectTo;
  THTTPTransfer::Configure(curl.get(), *this, parts, headers, connectTo);
  const CURLcode rc = curl_easy_perform(curl.get());
  bool ok = rc == CURLE_OK && !Stopped();
  // An empty body never reached the write callback: its response is judged here.
  if (ok && !prepared_) ok = PrepareBody(curl.get());
  if (ok && !rejected_ && !pending_.empty()) ok = ConsumeBlock(pending_.data(), pending_.size());
  curl_ = nullptr;
  if (ok && !rejected_) {
    if (lengthKnown_) ok = bytesReaded_ == static_cast<std::uint32_t>(fileSize_);
    // Without an announced length only a body that arrived whole and not empty counts.
    if (!lengthKnown_ || !toFile_) ok = ok && bytesReaded_ != 0;
  } else {
    ok = false;
  }
  if (toFile_ && fd_ >= 0) {
    const bool flushed = Flush();
    if (::close(fd_) != 0 || !flushed) ok = false;
  }
  fd_ = -1;
  result_ = ok && DigestMatches() && !Stopped();
}

bool THTTPGetThread::Stalled(std::uint64_t moved) {
  const auto now = std::chrono::steady_clock::now();
  curl_off_t connected = 0;
  curl_easy_getinfo(static_cast<CURL*>(curl_), CURLINFO_CONNECT_TIME_T, &connected);
  // Until the socket is up the connect timeout rules; after that, any byte resets the clock.
  if (connected == 0 || moved != lastMoved_) {
    lastMoved_ = moved;
    lastActivity_ = now;
    return false;
  }
  return s_.ReceiveTimeoutMs > 0 && now - lastActivity_ > std::chrono::milliseconds(s_.ReceiveTimeoutMs);
}

bool THTTPGetThread::PrepareBody(void* curl) {
  prepared_ = true;
  rejected_ = true;
  curl_easy_getinfo(static_cast<CURL*>(curl), CURLINFO_RESPONSE_CODE, &statusCode_);
  // An error page is never taken for the requested content.
  if (statusCode_ >= 400) return false;
  curl_off_t length = -1;
  curl_easy_getinfo(static_cast<CURL*>(curl), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  if (length > INT_MAX) return false;  // sizes are 32-bit
  lengthKnown_ = length >= 0;
  if (lengthKnown_) fileSize_ = static_cast<int>(length);
  else if (s_.BinaryData) return false;
  bytesReaded_ = 0;
  if (toFile_ && !OpenTarget()) return false;
  if (!toFile_) stringResult_.clear();
  rejected_ = false;
  return true;
}

bool THTTPGetThread::Deliver(const char* data, std::size_t size) {
  if (Stopped()) return false;
  if (!prepared_ && !PrepareBody(curl_)) return false;
  if (rejected_) return false;
  // libcurl hands over what the socket gave; the body is counted in fixed blocks: a partial
  // block is completed first, whole blocks go straight from libcurl's buffer.
  if (!pending_.empty()) {
    const std::size_t take = std::min(size, kBlockSize - pending_.size());
    pending_.append(data, take);
    data += take;
    size -= take;
    if (pending_.size() < kBlockSize) return true;
    if (!ConsumeBlock(pending_.data(), pending_.size())) return false;
    pending_.clear();
  }
  for (; size >= kBlockSize; data += kBlockSize, size -= kBlockSize)
    if (!ConsumeBlock(data, kBlockSize)) return false;
  pending_.assign(data, size);
  return true;
}

bool THTTPGetThread::ConsumeBlock(const char* data, std::size_t size) {
  if (Stopped()) return false;
  bytesToRead_ = static_cast<std::uint32_t>(size);
  if (digest_) digest_->Update(data, size);
  if (toFile_) {
    // Blocks are gathered so the disk sees large writes, not one system call per block.
    writeBuffer_.append(data, size);
    if (writeBuffer_.size() >= kWriteBufferSize && !Flush()) return false;
  } else {
    stringResult_.append(data, size);
  }
  // Sizes reach the events as signed 32-bit numbers: a longer body fails rather than wrap.
  if (static_cast<std::uint32_t>(INT_MAX) - bytesReaded_ < bytesToRead_) return false;
  bytesReaded_ += bytesToRead_;
  if (progress_) {
    Synchronize([this] {
      if (owner_ && progress_) progress_(this, fileSize_, static_cast<int>(bytesReaded_));
    });
  }
  return true;
}

bool THTTPGetThread::OpenTarget() {
  // O_EXCL with O_NOFOLLOW: only a new regular file is written, never anything (a link, a FIFO)
  // found under the name; a name that is taken is drawn again.
  for (int attempt = 0; attempt < 8; ++attempt) {
    const AnsiString name = TemporaryNameFor(s_.FileName);
    if (name.empty()) return false;
    fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd_ >= 0) {
      // The lock tells a later start that the file is being written: it goes with the process.
      ::flock(fd_, LOCK_EX | LOCK_NB);
      tempName_ = name;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

int THTTPGetThread::RemoveAbandonedFiles(const AnsiString& target) {
  const AnsiString prefix = TemporaryPrefixFor(target);
  if (prefix.empty()) return 0;
  const std::size_t slash = prefix.rfind('/');
  const std::string folder = slash == AnsiString::npos ? std::string(".") : prefix.substr(0, slash + 1);
  const std::string prefixName = slash == AnsiString::npos ? prefix : prefix.substr(slash + 1);
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(dir.get())) {
    if (!IsTemporaryName(entry->d_name, prefixName)) continue;
    // Only a regular file nobody holds the lock of: its writer has ended without removing it.
    const int fd = ::openat(::dirfd(dir.get()), entry->d_name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::unlinkat(::dirfd(dir.get()), entry->d_name, 0) == 0)
      ++removed;
    ::close(fd);
  }
  return removed;
}

bool THTTPGetThread::Flush() {
  std::size_t done = 0;
  while (done < writeBuffer_.size()) {
    const ssize_t n = ::write(fd_, writeBuffer_.data() + done, writeBuffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  writeBuffer_.clear();
  return true;
}

void THTTPGetThread::CloseTarget() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace kestrel
