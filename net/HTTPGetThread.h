#pragma once
// THTTPGetThread: one HTTP(S) transfer on a worker thread, into a file or a string. It works on
// private copies of its settings; progress and the end reach the GUI thread only through
// Synchronize. A file is written under a temporary name beside its target and takes the
// target's name only when the component accepts the transfer on the GUI thread. The owning
// component detaches itself (Detach) when it is destroyed first, after which nothing of the
// component, not even its progress handler, is called again.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Thread.h"
#include "net/SHA256Digest.h"
#include "platform/core/Unicode.h"

namespace kestrel {

using TOnProgressEvent = std::function<void(TObject* Sender, int TotalSize, int Readed)>;

class THTTPGet;

// The parts of an address, split the fixed way: the scheme ("http://" or "https://", any case)
// is removed, the host is the text up to the first "/", the path is the rest with its query.
struct THTTPUrlParts {
  AnsiString Host;
  AnsiString Path;
  bool Secure = false;
  int Port() const { return Secure ? 443 : 80; }
};
THTTPUrlParts SplitHTTPUrl(const AnsiString& url);

// Settings a transfer copies from its component when it starts.
struct THTTPGetSettings {
  AnsiString AcceptTypes, Agent, URL, FileName, UserName, Password, PostQuery, Referer;
  bool BinaryData = false;
  bool UseCache = false;
  int ConnectTimeoutMs = 60000;
  int ReceiveTimeoutMs = 30000;
  AnsiString CAFile;
  std::vector<AnsiString> ConnectTo;
  AnsiString ExpectedSHA256;
};

class THTTPGetThread : public TThread {
  KESTREL_CLASS(THTTPGetThread)
  // Starts at once and frees itself after the end handler ran.
  THTTPGetThread(THTTPGet* owner, const THTTPGetSettings& settings, TOnProgressEvent progress, bool toFile);
  ~THTTPGetThread() override;

  // GUI thread: asks the worker to stop and marks the outcome failed.
  void Abort();
  // GUI thread: the owner goes away; no event of it runs any more.
  void Detach() { owner_ = nullptr; }

  bool ToFile() const { return toFile_; }

  // Removes the temporary files of `target` that no running transfer writes (a transfer holds
  // a lock on its file; the lock ends with the process): what killed runs left behind. Returns
  // how many went.
  static int RemoveAbandonedFiles(const AnsiString& target);
  bool Result() const { return result_ && !aborted_; }
  const AnsiString& FileName() const { return s_.FileName; }
  // The announced content length (0 when none was announced).
  int FileSize() const { return fileSize_; }
  // Body bytes received so far.
  std::uint32_t BytesReaded() const { return bytesReaded_; }
  const AnsiString& StringResult() const { return stringResult_; }
  // The HTTP status of the final response (0 when none arrived); read it after the end.
  long StatusCode() const { return statusCode_; }

  // GUI thread, after the body: the written file takes the target's name (false if it cannot).
  bool CommitFile();
  // Removes the written file unless it was committed; safe to call more than once.
  void DiscardFile();

  // Workers that have not freed themselves yet (lets a program wait for them before it ends).
  static int LiveCount();

  static constexpr std::size_t kBlockSize = 1025;
  static constexpr std::size_t kWriteBufferSize = 256 * 1024;

 protected:
  void Execute() override;

 private:
  // The whole request: connect, send, receive into the target, verdict.
  void Transfer();
  friend struct THTTPTransfer;
  void EndOnGuiThread();
  bool Stopped() const { return Terminated() || aborted_; }
  // True once nothing moved for the receive timeout (a silent or stalled server).
  bool Stalled(std::uint64_t moved);
  // Checks the response once before the first body byte counts; false rejects it.
  bool PrepareBody(void* curl);
  // One block of at most kBlockSize bytes; false stops the transfer.
  bool ConsumeBlock(const char* data, std::size_t size);
  bool Deliver(const char* data, std::size_t size);
  bool OpenTarget();
  bool Flush();
  // The body's digest against the pinned one; true when nothing is pinned.
  bool DigestMatches();
  void CloseTarget();

  THTTPGet* owner_;
  THTTPGetSettings s_;
  TOnProgressEvent progress_;
  bool toFile_;
  std::atomic<bool> result_{false};
  std::atomic<bool> aborted_{false};
  int fileSize_ = 0;
  bool lengthKnown_ = false;
  bool prepared_ = false;
  bool rejected_ = false;
  long statusCode_ = 0;
  std::uint32_t bytesToRead_ = 0;
  std::uint32_t bytesReaded_ = 0;
  AnsiString stringResult_;
  std::string pending_;
  std::string writeBuffer_;
  int fd_ = -1;
  AnsiString tempName_;                    // the file being written, until it is committed or removed
  std::unique_ptr<TSHA256Digest> digest_;  // only while a digest is pinned
  void* curl_ = nullptr;                   // the easy handle while the transfer runs
  std::uint64_t lastMoved_ = 0;
  std::chrono::steady_clock::time_point lastActivity_;
};

}  // namespace kestrel
