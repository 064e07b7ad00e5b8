// Verdicts, modes, progress, busy/abort/destroy and the failures a server can cause.

#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tests/net/http/HTTPGetFixture.h"
#include "tests/support/FolderEntries.h"
#include "tests/support/ReadFileText.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

std::string Pattern(std::size_t size) {
  std::string s(size, '\0');
  for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>(i % 251);
  return s;
}

TEST_F(HTTPGetTest, FileOfExactLengthSucceedsOneByteShortFails) {
  const std::string body = Pattern(5000);
  LoopbackServer server([&](const HttpRequest& r) {
    HttpResponse resp = Body(body);
    if (r.target == "/short") resp.sendLimit = body.size() - 1;  // connection breaks
    return resp;
  });
  Outcome o;
  auto get = Make(o, "http://files.test/whole", &server);
  RecordProgress(*get, o);
  get->GetFile();
  // The handler in place at the start serves the whole transfer.
  int lateProgress = 0;
  get->OnProgress = [&lateProgress](TObject*, int, int) { ++lateProgress; };
  ASSERT_TRUE(PumpUntil([&] { return !get->Busy(); }));
  EXPECT_EQ(lateProgress, 0);
  ASSERT_EQ(o.doneFile, 1);
  EXPECT_TRUE(o.busyAtEnd);
  EXPECT_EQ(o.sender, get.get());
  EXPECT_EQ(o.fileName, get->FileName());
  EXPECT_EQ(o.fileSize, 5000);
  EXPECT_EQ(ReadFileText(get->FileName()), body);
  // Blocks of 1025 bytes; the worker, not the component, is the sender.
  ASSERT_EQ(o.progress.size(), 5u);
  EXPECT_EQ(o.progress[0], std::make_pair(5000, 1025));
  EXPECT_EQ(o.progress[3], std::make_pair(5000, 4100));
  EXPECT_EQ(o.progress[4], std::make_pair(5000, 5000));
  EXPECT_TRUE(o.progressFromWorker);

  // The broken one leaves the file it would have replaced as it was, and nothing beside it.
  Outcome shortO;
  auto shortGet = Make(shortO, "http://files.test/short", &server);
  FetchFile(*shortGet);
  EXPECT_EQ(shortO.errors, 1);
  EXPECT_EQ(shortO.doneFile, 0);
  EXPECT_TRUE(ReadFileText(get->FileName()) == body);
  EXPECT_EQ(FolderEntries(dir_.Path()), Names{"download.bin"});
}

TEST_F(HTTPGetTest, PinnedDigestDecidesAndARefusedBodyLeavesTheTargetAsItWas) {
  const std::string body = Pattern(5000);
  // Its SHA-256, worked out apart from the code under test.
  const std::string digest = "69dbee893909fa17d1be397e0c07691336fe42049c29d403467d3d4a1fc3b5a1";
  LoopbackServer server([&](const HttpRequest&) { return Body(body); });
  const fs::path target = dir_ / "download.bin";
  std::ofstream(target) << "earlier";

  // One digit off, then pins that are no digest at all (these request nothing).
  std::string wrong = digest;
  wrong.back() = '0';
  for (const std::string& pin : {wrong, digest.substr(1), std::string(63, 'a') + "g"}) {
    for (const bool toFile : {true, false}) {
      Outcome o;
      auto get = Make(o, "http://files.test/setup", &server);
      get->SetExpectedSHA256(pin);
      if (toFile) FetchFile(*get);
      else ASSERT_TRUE(FetchString(*get));
      EXPECT_EQ(o.errors, 1) << pin << toFile;
      EXPECT_EQ(o.Events(), 1) << pin << toFile;
    }
  }
  EXPECT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(ReadFileText(target), "earlier");
  EXPECT_EQ(FolderEntries(dir_.Path()), Names{"download.bin"});

  Outcome o;
  auto get = Make(o, "http://files.test/setup", &server);
  std::string upper = digest;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  get->SetExpectedSHA256(upper);
  FetchFile(*get);
  ASSERT_EQ(o.doneFile, 1);
  EXPECT_EQ(o.fileName, target.string());
  EXPECT_TRUE(ReadFileText(target) == body);
  EXPECT_EQ(FolderEntries(dir_.Path()), Names{"download.bin"});
}

TEST_F(HTTPGetTest, BinaryDataWithoutLengthFailsBeforeTheBody) {
  LoopbackServer server([](const HttpRequest&) {
    HttpResponse r = Body(Pattern(100000));
    r.sendLength = false;
    return r;
  });
  for (const bool toFile : {true, false}) {
    Outcome o;
    auto get = Make(o, "http://files.test/nolength", &server);
    get->SetBinaryData(true);
    RecordProgress(*get, o);
    if (toFile) FetchFile(*get);
    else ASSERT_TRUE(FetchString(*get));
    EXPECT_EQ(o.errors, 1) << toFile;
    EXPECT_TRUE(o.progress.empty()) << toFile;
    EXPECT_FALSE(fs::exists(get->FileName()));
  }

  // Without BinaryData the same body is taken whole, with a TotalSize of 0; the done event
  // names the size actually written.
  Outcome loose;
  auto second = Make(loose, "http://files.test/nolength", &server);
  RecordProgress(*second, loose);
  FetchFile(*second);
  ASSERT_EQ(loose.doneFile, 1);
  EXPECT_EQ(loose.fileSize, 100000);
  EXPECT_EQ(fs::file_size(second->FileName()), 100000u);
  ASSERT_FALSE(loose.progress.empty());
  EXPECT_EQ(loose.progress.back(), std::make_pair(0, 100000));
  EXPECT_TRUE(loose.progressFromWorker);
  Outcome text;
  auto third = Make(text, "http://files.test/nolength", &server);
  ASSERT_TRUE(FetchString(*third));
  EXPECT_EQ(text.text, Pattern(100000));
}

TEST_F(HTTPGetTest, StringModeKeepsZeroBytesAndFailsOnEmptyOrShortBody) {
  const std::string body = std::string("a\0b\0\0c", 6) + Pattern(3000) + std::string(3, '\0');
  LoopbackServer server([&](const HttpRequest& r) {
    HttpResponse resp = Body(r.target == "/empty" ? "" : body);
    if (r.target == "/short") resp.sendLimit = body.size() - 1;
    return resp;
  });
  Outcome o;
  auto get = Make(o, "http://files.test/zeros", &server);
  ASSERT_TRUE(FetchString(*get));
  ASSERT_EQ(o.doneString, 1);
  EXPECT_TRUE(o.busyAtEnd);
  EXPECT_EQ(o.text.size(), body.size());
  EXPECT_EQ(o.text, body);

  // A broken connection is not taken for the whole text.
  for (const char* path : {"/empty", "/short"}) {
    Outcome failed;
    auto none = Make(failed, std::string("http://files.test") + path, &server);
    ASSERT_TRUE(FetchString(*none));
    EXPECT_EQ(failed.errors, 1) << path;
    EXPECT_EQ(failed.doneString, 0) << path;
  }
}

TEST_F(HTTPGetTest, ErrorStatusFailsInBothModesWithoutWritingTheFile) {
  LoopbackServer server([](const HttpRequest&) {
    HttpResponse r = Body("<html>not found</html>");
    r.status = 404;
    r.reason = "Not Found";
    return r;
  });
  Outcome file, text;
  auto get = Make(file, "http://files.test/missing", &server);
  FetchFile(*get);
  EXPECT_EQ(file.errors, 1);
  EXPECT_TRUE(file.busyAtEnd);
  EXPECT_FALSE(fs::exists(get->FileName()));
  auto str = Make(text, "http://files.test/missing", &server);
  ASSERT_TRUE(FetchString(*str));
  EXPECT_EQ(text.errors, 1);
  EXPECT_EQ(text.doneString, 0);
}

TEST_F(HTTPGetTest, RedirectsFollowedForHttpOnlyAndBounded) {
  LoopbackServer server([](const HttpRequest& r) {
    HttpResponse resp;
    resp.status = 302;
    resp.reason = "Found";
    if (r.target == "/old") resp.headers.emplace_back("Location", "/new");
    else if (r.target == "/loop") resp.headers.emplace_back("Location", "/loop");
    else if (r.target == "/file") resp.headers.emplace_back("Location", "file:///etc/passwd");
    else return Body("moved here");
    return resp;
  });
  Outcome moved, loop, local;
  auto a = Make(moved, "http://files.test/old", &server);
  ASSERT_TRUE(FetchString(*a));
  EXPECT_EQ(moved.text, "moved here");
  auto b = Make(loop, "http://files.test/loop", &server);
  ASSERT_TRUE(FetchString(*b));
  EXPECT_EQ(loop.errors, 1);
  EXPECT_LE(server.Connections(), 2 + 11 + 1);
  auto c = Make(local, "http://files.test/file", &server);
  ASSERT_TRUE(FetchString(*c));
  EXPECT_EQ(local.errors, 1);
}

TEST_F(HTTPGetTest, SilentOrStalledServerFailsInBoundedTime) {
  LoopbackServer server([](const HttpRequest& r) {
    HttpResponse resp = Body(Pattern(4000));
    if (r.target == "/silent") resp.noAnswer = true;
    else resp.stallAfter = 2000;  // stops sending halfway
    return resp;
  });
  for (const char* path : {"/silent", "/stall"}) {
    Outcome o;
    auto get = Make(o, std::string("http://files.test") + path, &server);
    get->SetReceiveTimeout(1000);
    const auto start = std::chrono::steady_clock::now();
    FetchFile(*get);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(o.errors, 1) << path;
    EXPECT_LT(took, std::chrono::seconds(6)) << path;
  }
}

TEST_F(HTTPGetTest, TargetIsNeverWrittenThroughWhatStandsAtItsPath) {
  LoopbackServer server([](const HttpRequest&) { return Body("installer"); });
  const fs::path victim = dir_ / "victim.txt";
  std::ofstream(victim) << "keep me";
  const fs::path link = dir_ / "link.bin", folder = dir_ / "folder";
  fs::create_symlink(victim, link);
  fs::create_directory(folder);
  for (const fs::path& target : {folder, dir_ / "missing" / "x.bin", fs::path(), link}) {
    Outcome o;
    auto get = Make(o, "http://files.test/x", &server);
    get->SetFileName(target.string());
    FetchFile(*get);
    EXPECT_EQ(o.Events(), 1) << target;
    EXPECT_EQ(o.doneFile, target == link ? 1 : 0) << target;
  }
  // The link itself was replaced by the file; what it pointed to is untouched.
  EXPECT_EQ(ReadFileText(victim.string()), "keep me");
  EXPECT_FALSE(fs::is_symlink(link));
  EXPECT_EQ(ReadFileText(link), "installer");
  EXPECT_TRUE(fs::is_empty(folder));
  EXPECT_EQ(FolderEntries(dir_.Path()), (Names{"folder", "link.bin", "victim.txt"}));
}

TEST_F(HTTPGetTest, FailedWriteOfTheTargetFails) {
  LoopbackServer server([](const HttpRequest& r) { return Body(Pattern(r.target == "/big" ? 300000 : 3000)); });
  // A file size limit stands in for a full disk: writes beyond it fail (the signal is ignored).
  const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit oldLimit{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
  std::fflush(nullptr);  // nothing of the test log is written while the limit holds
  rlimit small = oldLimit;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  // Both the write during the transfer and the last one at its end are checked.
  std::vector<int> errors;
  for (const char* path : {"/big", "/small"}) {
    Outcome o;
    auto get = Make(o, std::string("http://files.test") + path, &server);
    FetchFile(*get);
    errors.push_back(o.errors);
  }
  ::setrlimit(RLIMIT_FSIZE, &oldLimit);
  std::signal(SIGXFSZ, oldSignal);
  EXPECT_EQ(errors, (std::vector<int>{1, 1}));
}

TEST_F(HTTPGetTest, BusyComponentIgnoresStartsAndAbortEndsInError) {
  LoopbackServer server([](const HttpRequest&) {
    HttpResponse r = Body(Pattern(3000));
    r.stallAfter = 1500;
    return r;
  });
  Outcome o;
  auto get = Make(o, "http://files.test/slow", &server);
  get->Abort();  // idle: nothing happens
  EXPECT_FALSE(get->Busy());
  EXPECT_EQ(o.Events(), 0);

  get->GetFile();
  ASSERT_TRUE(get->Busy());
  get->SetURL("http://files.test/other");  // the running transfer keeps its own copy
  THTTPGetThread* first = get->Thread();
  get->GetFile();
  get->GetString();
  EXPECT_EQ(get->Thread(), first);
  ASSERT_TRUE(PumpUntil([&] { return server.Requests().size() == 1; }));
  get->Abort();
  ASSERT_TRUE(PumpUntil([&] { return !get->Busy(); }, std::chrono::seconds(5)));
  EXPECT_EQ(o.errors, 1);
  EXPECT_EQ(o.Events(), 1);
  EXPECT_EQ(server.Connections(), 1);
  EXPECT_EQ(server.Requests().at(0).target, "/slow");
}

TEST_F(HTTPGetTest, AbortDuringTheLastBlockStillFails) {
  LoopbackServer server([](const HttpRequest&) { return Body(Pattern(1500)); });
  Outcome o;
  auto get = Make(o, "http://files.test/x", &server);
  THTTPGet* raw = get.get();
  get->OnProgress = [raw](TObject*, int total, int readed) {
    if (readed == total) raw->Abort();  // every byte is in: the verdict would be success
  };
  FetchFile(*get);
  EXPECT_EQ(o.errors, 1);
  EXPECT_EQ(o.doneFile, 0);
}

TEST_F(HTTPGetTest, AbortAfterTheVerdictBeforeTheEndEventFails) {
  LoopbackServer server([](const HttpRequest&) { return Body("whole"); });
  Outcome o;
  auto get = Make(o, "http://files.test/x", &server);
  get->GetFile();
  // Without serving the GUI thread the worker finishes its body and waits to deliver its end.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!SynchronizeWaiting() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_TRUE(SynchronizeWaiting());
  ASSERT_EQ(o.Events(), 0);
  get->Abort();
  ASSERT_TRUE(PumpUntil([&] { return !get->Busy(); }));
  EXPECT_EQ(o.errors, 1);
  EXPECT_EQ(o.doneFile, 0);
  EXPECT_TRUE(FolderEntries(dir_.Path()).empty());  // the whole body was written, and removed
}

TEST_F(HTTPGetTest, StartsFromInsideTheEndEventsAreIgnored) {
  LoopbackServer server([](const HttpRequest&) { return Body("one"); });
  Outcome o;
  auto get = Make(o, "http://files.test/x", &server);
  THTTPGet* raw = get.get();
  get->OnDoneFile = [&o, raw](TObject*, const AnsiString&, int) {
    ++o.doneFile;
    raw->GetFile();
    raw->GetString();
  };
  FetchFile(*get);
  EXPECT_EQ(o.doneFile, 1);
  EXPECT_FALSE(get->Busy());
  EXPECT_EQ(server.Connections(), 1);
}

TEST_F(HTTPGetTest, ThrowingEndEventLeavesTheComponentIdle) {
  LoopbackServer server([](const HttpRequest&) { return Body("text"); });
  Outcome o;
  auto get = Make(o, "http://files.test/x", &server);
  get->OnDoneString = [&o](TObject*, const AnsiString&) {
    ++o.doneString;
    throw std::runtime_error("handler failed");
  };
  get->GetString();
  ASSERT_TRUE(PumpUntil([&] { return THTTPGetThread::LiveCount() == 0; }, std::chrono::seconds(5)));
  EXPECT_EQ(o.doneString, 1);
  // The worker is gone: the component must not hold on to it.
  EXPECT_FALSE(get->Busy());
  get->Abort();
  get->GetString();
  ASSERT_TRUE(PumpUntil([&] { return !get->Busy(); }, std::chrono::seconds(5)));
  EXPECT_EQ(o.doneString, 2);
}

TEST_F(HTTPGetTest, DestroyingWhileRunningNeverReachesTheComponent) {
  LoopbackServer server([](const HttpRequest&) {
    HttpResponse r = Body(Pattern(5000));
    r.stallAfter = 2100;
    return r;
  });
  Outcome o;
  auto get = Make(o, "http://files.test/x", &server);
  RecordProgress(*get, o);
  get->GetFile();
  ASSERT_TRUE(PumpUntil([&] { return o.progress.size() == 2; }));
  get.reset();
  // The worker ends and frees itself; neither progress nor an end event arrives.
  ASSERT_TRUE(PumpUntil([] { return THTTPGetThread::LiveCount() == 0; }, std::chrono::seconds(5)));
  EXPECT_EQ(o.progress.size(), 2u);
  EXPECT_EQ(o.Events(), 0);
  EXPECT_TRUE(FolderEntries(dir_.Path()).empty());
}

TEST_F(HTTPGetTest, ErrorHandlerMayFreeTheComponent) {
  LoopbackServer server([](const HttpRequest&) {
    HttpResponse r;
    r.status = 500;
    return r;
  });
  Outcome o;
  auto* get = Make(o, "http://files.test/x", &server).release();
  get->OnError = [&o, get](TObject*) {
    ++o.errors;
    delete get;
  };
  get->GetFile();
  ASSERT_TRUE(PumpUntil([&] { return o.errors == 1 && THTTPGetThread::LiveCount() == 0; }));
}

TEST_F(HTTPGetTest, ComponentFreedDuringItsOwnWaitEndsTheWait) {
  LoopbackServer server([](const HttpRequest&) {
    HttpResponse r = Body(Pattern(3000));
    r.stallAfter = 1025;
    return r;
  });
  Outcome o;
  auto* get = Make(o, "http://files.test/x", &server).release();
  // Like a dialog closed while its download runs: a handler inside the wait frees the component.
  get->OnProgress = [get](TObject*, int, int) { TThread::Queue(nullptr, [get] { delete get; }); };
  get->SetWaitThread(true);
  get->GetFile();  // returns once the component is gone
  ASSERT_TRUE(PumpUntil([] { return THTTPGetThread::LiveCount() == 0; }, std::chrono::seconds(5)));
  EXPECT_EQ(o.Events(), 0);
}

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

TEST_F(HTTPGetTest, WaitingGetFileServesMessagesWithoutSpinning) {
  LoopbackServer server([](const HttpRequest&) {
    HttpResponse r = Body(Pattern(3000));
    r.stallAfter = 1000;
    r.stallMs = 1200;
    return r;
  });
  Outcome o;
  auto get = Make(o, "http://files.test/x", &server);
  // A message waiting in the queue is dispatched inside the wait; a quit request is kept.
  constexpr platform::UINT kProbe = platform::WM_USER + 77;
  bool posted = false;
  const int hook = Application()->HookMainWindow([&posted](TMessage& m) {
    if (m.Msg != kProbe) return false;
    posted = true;
    return true;
  });
  platform::PostMessageW(Application()->Handle(), kProbe, 0, 0);
  get->OnProgress = [](TObject*, int, int readed) {
    if (readed == 1025) platform::PostQuitMessage(3);
  };
  const double cpu0 = ThreadCpuSeconds();
  const auto t0 = std::chrono::steady_clock::now();
  FetchFile(*get);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  const double cpu = ThreadCpuSeconds() - cpu0;
  EXPECT_EQ(o.doneFile, 1);
  Application()->UnhookMainWindow(hook);
  EXPECT_TRUE(posted);
  platform::MSG msg;
  ASSERT_TRUE(platform::PeekMessageW(&msg, nullptr, platform::WM_QUIT, platform::WM_QUIT, platform::PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_GE(wall, 1.0);
  EXPECT_LT(cpu, 0.05 * wall) << "cpu " << cpu << " s of " << wall << " s";
}

TEST_F(HTTPGetTest, WaitingGetStringReturnsBeforeTheEnd) {
  LoopbackServer server([](const HttpRequest&) {
    HttpResponse r = Body("later");
    r.stallAfter = 0;
    r.stallMs = 300;
    return r;
  });
  Outcome o;
  auto get = Make(o, "http://files.test/x", &server);
  get->SetWaitThread(true);
  get->GetString();
  EXPECT_TRUE(get->Busy());
  EXPECT_EQ(o.Events(), 0);
  ASSERT_TRUE(PumpUntil([&] { return !get->Busy(); }));
  EXPECT_EQ(o.text, "later");
}

}  // namespace
}  // namespace kestrel::testing
