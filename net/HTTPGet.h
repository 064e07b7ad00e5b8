#pragma once
// THTTPGet: fetches one URL over HTTP or HTTPS (GET, or a form-encoded POST when PostQuery is
// set) on a worker thread into a file or a string. Progress, completion and failure are raised
// on the GUI thread; every failure, an abort included, ends in OnError alone. FileName only ever
// receives a whole (and, when pinned, verified) body: a failed transfer leaves it as it was.

#include <memory>
#include <vector>

#include "framework/Component.h"
#include "net/HTTPGetThread.h"
#include "platform/core/Unicode.h"

namespace kestrel {

using TOnDoneFileEvent = std::function<void(TObject* Sender, const AnsiString& FileName, int FileSize)>;
using TOnDoneStringEvent = std::function<void(TObject* Sender, const AnsiString& Result)>;

class THTTPGet : public TComponent {
  KESTREL_CLASS(THTTPGet)
  explicit THTTPGet(TComponent* owner);
  // Aborts a running transfer; its end never reaches this component.
  ~THTTPGet() override;

  const AnsiString& AcceptTypes() const { return s_.AcceptTypes; }
  void SetAcceptTypes(const AnsiString& v) { s_.AcceptTypes = v; }
  const AnsiString& Agent() const { return s_.Agent; }
  void SetAgent(const AnsiString& v) { s_.Agent = v; }
  bool BinaryData() const { return s_.BinaryData; }
  void SetBinaryData(bool v) { s_.BinaryData = v; }
  const AnsiString& URL() const { return s_.URL; }
  void SetURL(const AnsiString& v) { s_.URL = v; }
  bool UseCache() const { return s_.UseCache; }
  void SetUseCache(bool v) { s_.UseCache = v; }
  const AnsiString& FileName() const { return s_.FileName; }
  void SetFileName(const AnsiString& v) { s_.FileName = v; }
  // Removes the partial files of FileName that earlier runs, ended before they could clean up,
  // left beside it; files of transfers still running are kept. Returns how many went.
  int RemoveAbandonedDownloads() const;
  const AnsiString& UserName() const { return s_.UserName; }
  void SetUserName(const AnsiString& v) { s_.UserName = v; }
  const AnsiString& Password() const { return s_.Password; }
  void SetPassword(const AnsiString& v) { s_.Password = v; }
  const AnsiString& PostQuery() const { return s_.PostQuery; }
  void SetPostQuery(const AnsiString& v) { s_.PostQuery = v; }
  const AnsiString& Referer() const { return s_.Referer; }
  void SetReferer(const AnsiString& v) { s_.Referer = v; }
  bool WaitThread() const { return waitThread_; }
  void SetWaitThread(bool v) { waitThread_ = v; }

  // Beyond the published set. A server that sends nothing for ReceiveTimeout (or cannot be
  // reached within ConnectTimeout), in milliseconds, fails the transfer instead of hanging it.
  int ConnectTimeout() const { return s_.ConnectTimeoutMs; }
  void SetConnectTimeout(int ms) { s_.ConnectTimeoutMs = ms; }
  int ReceiveTimeout() const { return s_.ReceiveTimeoutMs; }
  void SetReceiveTimeout(int ms) { s_.ReceiveTimeoutMs = ms; }
  // Certificate authorities to trust instead of the system store (empty = system store).
  const AnsiString& CAFile() const { return s_.CAFile; }
  void SetCAFile(const AnsiString& v) { s_.CAFile = v; }
  // Connection redirects "host:port:other-host:other-port": the request (its Host header and
  // certificate check included) stays the same, only the socket goes elsewhere. The environment
  // cannot add any; proxies come from the standard variables (http_proxy, https_proxy, no_proxy).
  const std::vector<AnsiString>& ConnectTo() const { return s_.ConnectTo; }
  void SetConnectTo(const std::vector<AnsiString>& v) { s_.ConnectTo = v; }
  // The SHA-256 the body must have, as 64 hex digits (empty = not checked). A body with another
  // digest is a failed transfer; a value that is not such a digest fails every transfer.
  const AnsiString& ExpectedSHA256() const { return s_.ExpectedSHA256; }
  void SetExpectedSHA256(const AnsiString& v) { s_.ExpectedSHA256 = v; }

  // Busy exactly while a worker runs.
  bool Busy() const { return thread_ != nullptr; }
  THTTPGetThread* Thread() const { return thread_; }

  // Fetches URL into FileName; with WaitThread, returns only after the end event was raised,
  // dispatching the GUI thread's messages meanwhile (blocking between them, never spinning).
  void GetFile();
  // Fetches URL into a string; with WaitThread, dispatches the messages waiting now and returns.
  void GetString();
  // Stops a running transfer, which then ends in OnError; does nothing while idle.
  void Abort();

  TOnProgressEvent OnProgress;
  TOnDoneFileEvent OnDoneFile;
  TOnDoneStringEvent OnDoneString;
  TNotifyEvent OnError;

 private:
  friend class THTTPGetThread;
  bool Start(bool toFile);
  void ThreadDone(THTTPGetThread* thread);
  void RaiseEndEvent(THTTPGetThread& thread);
  void WaitForEnd();

  THTTPGetSettings s_;
  bool waitThread_ = false;
  THTTPGetThread* thread_ = nullptr;
  // Cleared by the destructor: an event handler may free the component it was raised by.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace kestrel
