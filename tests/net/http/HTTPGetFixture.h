#pragma once
// Shared set-up for the download component's tests: a component wired to record its events,
// and a pump that serves the GUI thread until the transfer has ended.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "net/HTTPGet.h"
#include "platform/window/WindowApi.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/loopback/LoopbackServer.h"

namespace kestrel::testing {

struct Outcome {
  int doneFile = 0, doneString = 0, errors = 0;
  TObject* sender = nullptr;
  AnsiString fileName, text;
  int fileSize = -1;
  std::vector<std::pair<int, int>> progress;  // TotalSize, Readed
  bool progressFromWorker = true;             // every Sender was the component's running worker
  bool busyAtEnd = false;                     // the component was still busy while its end event ran
  int Events() const { return doneFile + doneString + errors; }
};

class HTTPGetTest : public ::testing::Test {
 public:
  static void SetUpTestSuite() {
    for (const char* name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) ::unsetenv(name);
    Application();
  }

 protected:
  // A component whose events land in `outcome`, sending host:port to `server`.
  std::unique_ptr<THTTPGet> Make(Outcome& outcome, const std::string& url, const LoopbackServer* server = nullptr,
                                 const std::string& host = "files.test", int port = 80) {
    auto get = std::make_unique<THTTPGet>(nullptr);
    get->SetURL(url);
    get->SetFileName((dir_ / "download.bin").string());
    get->SetReceiveTimeout(5000);
    if (server) get->SetConnectTo({server->ConnectTo(host, port)});
    THTTPGet* raw = get.get();
    get->OnDoneFile = [&outcome, raw](TObject* s, const AnsiString& name, int size) {
      ++outcome.doneFile;
      outcome.busyAtEnd = raw->Busy();
      outcome.sender = s;
      outcome.fileName = name;
      outcome.fileSize = size;
    };
    get->OnDoneString = [&outcome, raw](TObject* s, const AnsiString& text) {
      ++outcome.doneString;
      outcome.busyAtEnd = raw->Busy();
      outcome.sender = s;
      outcome.text = text;
    };
    get->OnError = [&outcome, raw](TObject* s) {
      ++outcome.errors;
      outcome.busyAtEnd = raw->Busy();
      outcome.sender = s;
    };
    return get;
  }

  static void RecordProgress(THTTPGet& get, Outcome& outcome) {
    get.OnProgress = [&outcome, &get](TObject* s, int total, int readed) {
      outcome.progress.emplace_back(total, readed);
      outcome.progressFromWorker = outcome.progressFromWorker && s == get.Thread() && get.Busy();
    };
  }

 public:
  // Serves the GUI thread until `done` holds or the time is up.
  template <class Pred>
  static bool PumpUntil(Pred done, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      Application()->ProcessMessages();
      CheckSynchronize(5);
    }
    return true;
  }

 protected:
  // Runs a transfer to its end with GetFile's own wait.
  static void FetchFile(THTTPGet& get) {
    get.SetWaitThread(true);
    get.GetFile();
  }
  static bool FetchString(THTTPGet& get) {
    get.GetString();
    return PumpUntil([&] { return !get.Busy(); });
  }

  static HttpResponse Body(std::string body) {
    HttpResponse r;
    r.body = std::move(body);
    return r;
  }

  TempDir dir_;
};

}  // namespace kestrel::testing
