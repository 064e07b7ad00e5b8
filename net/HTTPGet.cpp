#include "net/HTTPGet.h"

#include <curl/curl.h>

#include <mutex>

#include "framework/Application.h"
#include "framework/TypeInfo.h"
#include "platform/core/ScopeGuard.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_PUBLISHED_CLASS(THTTPGet, TComponent)

// The two strings the constructor fills declare those values as their defaults, so that one
// emptied (no agent given, say) is stored; the Booleans are always stored.
void THTTPGet::PublishProperties(TClassBuilder<THTTPGet>& b) {
  using H = THTTPGet;
  b.Property(u"AcceptTypes", &H::AcceptTypes, &H::SetAcceptTypes).Default(u"*/*");
  b.Property(u"Agent", &H::Agent, &H::SetAgent).Default(u"HTTPGet");
  b.Property(u"BinaryData", &H::BinaryData, &H::SetBinaryData).NoDefault();
  b.Property(u"URL", &H::URL, &H::SetURL);
  b.Property(u"UseCache", &H::UseCache, &H::SetUseCache).NoDefault();
  b.Property(u"FileName", &H::FileName, &H::SetFileName);
  b.Property(u"UserName", &H::UserName, &H::SetUserName);
  b.Property(u"Password", &H::Password, &H::SetPassword);
  b.Property(u"PostQuery", &H::PostQuery, &H::SetPostQuery);
  b.Property(u"Referer", &H::Referer, &H::SetReferer);
  b.Property(u"WaitThread", &H::WaitThread, &H::SetWaitThread).NoDefault();
  b.Event(
      u"OnProgress", [](const H& h) { return static_cast<bool>(h.OnProgress); }, u"TOnProgressEvent");
  b.Event(
      u"OnDoneFile", [](const H& h) { return static_cast<bool>(h.OnDoneFile); }, u"TOnDoneFileEvent");
  b.Event(
      u"OnDoneString", [](const H& h) { return static_cast<bool>(h.OnDoneString); }, u"TOnDoneStringEvent");
  b.Event(
      u"OnError", [](const H& h) { return static_cast<bool>(h.OnError); }, u"TNotifyEvent");
}

namespace {

// Dispatches every message waiting now. A quit request is taken out of the queue so the loop
// can go on, and remembered so the caller can put it back afterwards.
void DispatchWaiting(bool& quit, int& exitCode) {
  pf::MSG msg;
  while (pf::PeekMessageW(&msg, nullptr, 0, 0, pf::PM_REMOVE)) {
    if (msg.message == pf::WM_QUIT) {
      quit = true;
      exitCode = static_cast<int>(msg.wParam);
      continue;
    }
    pf::TranslateMessage(&msg);
    pf::DispatchMessageW(&msg);
  }
  CheckSynchronize();
}

}  // namespace

THTTPGet::THTTPGet(TComponent* owner) : TComponent(owner) {
  static std::once_flag curlReady;
  std::call_once(curlReady, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  Application();  // the wake-up path of Synchronize lives on the application window
  s_.AcceptTypes = "*/*";
  s_.Agent = "HTTPGet";
}

THTTPGet::~THTTPGet() {
  *alive_ = false;
  Abort();
  if (thread_) {
    thread_->Detach();
    thread_ = nullptr;
  }
}

bool THTTPGet::Start(bool toFile) {
  if (thread_) return false;
  thread_ = new THTTPGetThread(this, s_, OnProgress, toFile);
  return true;
}

void THTTPGet::GetFile() {
  if (!Start(true)) return;
  if (waitThread_) WaitForEnd();
}

void THTTPGet::GetString() {
  if (!Start(false)) return;
  if (!waitThread_) return;
  bool quit = false;
  int exitCode = 0;
  DispatchWaiting(quit, exitCode);
  if (quit) pf::PostQuitMessage(exitCode);
}

void THTTPGet::WaitForEnd() {
  // A handler run inside the wait may free this component (its form closed): then stop.
  const std::shared_ptr<bool> alive = alive_;
  bool quit = false;
  int exitCode = 0;
  // One pump per message: GetMessage sleeps until something arrives and hands back the worker's
  // served calls as a thread WM_NULL, so each progress call costs the GUI thread a single wake-up
  // and look at its queue. A quit request is taken out so the loop can go on.
  pf::MSG msg;
  while (*alive && thread_) {
    if (!pf::GetMessageW(&msg, nullptr, 0, 0)) {
      quit = true;
      exitCode = static_cast<int>(msg.wParam);
      continue;
    }
    pf::TranslateMessage(&msg);
    pf::DispatchMessageW(&msg);
  }
  // What arrived together with the end is dispatched before returning, as the caller expects.
  if (*alive) DispatchWaiting(quit, exitCode);
  if (quit) pf::PostQuitMessage(exitCode);
}

int THTTPGet::RemoveAbandonedDownloads() const { return THTTPGetThread::RemoveAbandonedFiles(s_.FileName); }

void THTTPGet::Abort() {
  if (thread_) thread_->Abort();
}

void THTTPGet::ThreadDone(THTTPGetThread* thread) {
  if (thread != thread_) return;
  const std::shared_ptr<bool> alive = alive_;
  // Cleared only after the event, so a start from inside it finds the component busy; cleared
  // even when the event throws, since the worker frees itself right after this returns.
  const platform::ScopeGuard forget([this, &alive] {
    if (*alive) thread_ = nullptr;
  });
  RaiseEndEvent(*thread);
}

void THTTPGet::RaiseEndEvent(THTTPGetThread& thread) {
  // A file counts as received only once it carries the target's name.
  if (thread.Result() && (!thread.ToFile() || thread.CommitFile())) {
    if (thread.ToFile()) {
      // The size written: the announced length, or what arrived when none was announced.
      if (OnDoneFile) OnDoneFile(this, thread.FileName(), static_cast<int>(thread.BytesReaded()));
    } else if (OnDoneString) {
      OnDoneString(this, thread.StringResult());
    }
  } else if (OnError) {
    OnError(this);
  }
}

}  // namespace kestrel
