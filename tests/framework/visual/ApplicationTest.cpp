#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "VisualTestSupport.h"
#include "framework/Application.h"
#include "framework/Button.h"
#include "framework/Screen.h"
#include "framework/Thread.h"
#include "framework/Timer.h"

namespace kestrel {
namespace {

using testing::Pump;
using testing::ShownForm;

class TLambdaThread : public TThread {
 public:
  explicit TLambdaThread(std::function<void(TLambdaThread&)> body) : body_(std::move(body)) {}
  using TThread::Synchronize;

 protected:
  void Execute() override { body_(*this); }

 private:
  std::function<void(TLambdaThread&)> body_;
};

TEST(Threads, SynchronizeIsServedByABarePeekDispatchLoop) {
  Application();  // the GUI thread is this one
  std::atomic<int> step{0};
  std::thread::id ranOn;
  auto* worker = TThread::Create<TLambdaThread>(false, [&](TLambdaThread& self) {
    self.Synchronize([&] {
      ranOn = std::this_thread::get_id();
      step = 1;
    });
    step = 2;  // only after the call came back
  });
  // A raw loop that knows nothing of the framework.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (step != 2 && std::chrono::steady_clock::now() < deadline) {
    platform::MSG msg;
    while (platform::PeekMessageW(&msg, nullptr, 0, 0, platform::PM_REMOVE)) {
      platform::TranslateMessage(&msg);
      platform::DispatchMessageW(&msg);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(step, 2);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  worker->WaitFor();
  delete worker;
}

TEST(Threads, WaitMessageReturnsAfterServingACallThatEndsTheLoop) {
  Application();
  bool done = false;
  auto* worker =
      TThread::Create<TLambdaThread>(false, [&](TLambdaThread& self) { self.Synchronize([&] { done = true; }); });
  // Wakes a loop that slept on after the call had already set `done`.
  std::atomic<bool> stop{false};
  std::thread watchdog([&] {
    for (int i = 0; i < 500 && !stop; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    platform::WakeGuiThread();
  });
  const auto start = std::chrono::steady_clock::now();
  while (!done) platform::WaitMessage();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
  stop = true;
  watchdog.join();
  worker->WaitFor();
  delete worker;
}

TEST(Threads, ACallArrivingWhileTheLastOneRunsWakesTheNextWait) {
  Application();
  std::atomic<bool> queued{false};
  bool second = false;
  TLambdaThread* other = nullptr;
  auto* first = TThread::Create<TLambdaThread>(false, [&](TLambdaThread& self) {
    self.Synchronize([&] {
      // The queue is empty again while this runs: the next call must signal on its own.
      other = TThread::Create<TLambdaThread>(false, [&](TLambdaThread& late) {
        TThread::Queue(&late, [&] { second = true; });
        queued = true;
      });
      while (!queued) std::this_thread::yield();
    });
  });
  std::atomic<bool> stop{false};
  std::thread watchdog([&] {  // ends a wait that nothing would wake
    for (int i = 0; i < 500 && !stop; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    platform::WakeGuiThread();
  });
  const auto start = std::chrono::steady_clock::now();
  while (!second && std::chrono::steady_clock::now() - start < std::chrono::seconds(4)) platform::WaitMessage();
  EXPECT_TRUE(second);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
  stop = true;
  watchdog.join();
  first->WaitFor();
  other->WaitFor();
  delete first;
  delete other;
}
TEST(Threads, SynchronizeCarriesExceptionsBackAndWaitForServesCalls) {
  Application();
  bool caught = false;
  int served = 0;
  auto* worker = TThread::Create<TLambdaThread>(false, [&](TLambdaThread& self) {
    try {
      self.Synchronize([] { throw EConvertError(u"bad"); });
    } catch (const EConvertError& e) {
      caught = e.Message() == u"bad";
    }
    for (int i = 0; i < 3; ++i) self.Synchronize([&] { ++served; });
    self.SetReturnValue(7);
  });
  int terminated = 0;
  worker->OnTerminate = [&](TObject*) { ++terminated; };
  // WaitFor on the GUI thread keeps serving the worker's calls, so this does not dead-lock.
  EXPECT_EQ(worker->WaitFor(), 7);
  EXPECT_TRUE(caught);
  EXPECT_EQ(served, 3);
  EXPECT_EQ(terminated, 1);
  delete worker;
}

TEST(Threads, ExceptionsOfEndEventsAndQueuedCallsReachTheApplicationHandler) {
  TApplication* app = Application();
  std::vector<String> reported;
  app->OnException = [&](TObject*, const Exception& e) { reported.push_back(e.Message()); };
  auto* worker = TThread::Create<TLambdaThread>(
      true, [](TLambdaThread& self) { TThread::Queue(&self, [] { throw EConvertError(u"queued"); }); });
  worker->OnTerminate = [](TObject*) { throw EConvertError(u"ended"); };
  worker->Start();
  worker->WaitFor();
  CheckSynchronize();
  app->OnException = nullptr;
  EXPECT_EQ(reported, (std::vector<String>{u"queued", u"ended"}));
  delete worker;
}

TEST(Threads, ManyWorkersSynchronizingAndQueueingAreAllServedInTheirOrder) {
  TApplication* app = Application();
  constexpr int kWorkers = 4, kCalls = 300;
  std::vector<std::vector<int>> seen(kWorkers);
  std::atomic<int> finished{0};
  std::vector<std::unique_ptr<TLambdaThread>> workers;
  for (int w = 0; w < kWorkers; ++w)
    workers.push_back(std::unique_ptr<TLambdaThread>(TThread::Create<TLambdaThread>(false, [&, w](TLambdaThread& self) {
      for (int i = 0; i < kCalls; ++i) {
        if (i % 2) self.Synchronize([&, w, i] { seen[w].push_back(i); });
        else TThread::Queue(&self, [&, w, i] { seen[w].push_back(i); });
      }
      self.Synchronize([&] { ++finished; });
    })));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (finished < kWorkers && std::chrono::steady_clock::now() < deadline) app->HandleMessage();
  for (auto& worker : workers) worker->WaitFor();
  std::vector<int> expected(kCalls);
  for (int i = 0; i < kCalls; ++i) expected[i] = i;
  for (int w = 0; w < kWorkers; ++w) EXPECT_EQ(seen[w], expected) << "worker " << w;
}

TEST(Threads, RunEndsWhenAWorkerTerminatesTheApplicationThroughSynchronize) {
  ShownForm f;
  TApplication* app = Application();
  app->SetShowMainForm(false);
  auto* worker = TThread::Create<TLambdaThread>(false, [&](TLambdaThread& self) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    self.Synchronize([&] { app->Terminate(); });
  });
  app->Run();
  EXPECT_TRUE(app->Terminated());
  worker->WaitFor();
  delete worker;
  // The application object lives on for the other tests; start it afresh.
  delete app;
}

TEST(Timers, FireAtTheirIntervalWhileEnabled) {
  auto* timer = new TTimer(nullptr);
  int ticks = 0;
  timer->SetInterval(100);
  timer->OnTimer = [&](TObject*) { ++ticks; };
  timer->UpdateTimer();
  platform::HeadlessBackend::Current()->Advance(350);
  EXPECT_EQ(ticks, 3);
  timer->SetEnabled(false);
  platform::HeadlessBackend::Current()->Advance(300);
  EXPECT_EQ(ticks, 3);
  timer->SetEnabled(true);
  timer->SetInterval(50);
  platform::HeadlessBackend::Current()->Advance(120);
  EXPECT_EQ(ticks, 5);
  delete timer;
  platform::HeadlessBackend::Current()->Advance(200);
  EXPECT_EQ(ticks, 5);
}

TEST(Forms, OnCreateRunsAfterTheDesignAndCentringUsesTheScreen) {
  class TDesigned : public TForm {
   public:
    explicit TDesigned(TComponent* owner) : TForm(owner) {
      button = new TButton(this);
      button->SetParent(this);
      button->SetCaption(u"OK");
      OnCreate = [this](TObject*) { captionAtCreate = button->Caption(); };
    }
    TButton* button;
    String captionAtCreate;
  };
  auto* form = TCustomForm::Create<TDesigned>(nullptr);
  EXPECT_EQ(form->captionAtCreate, u"OK");
  EXPECT_EQ(Screen()->PixelsPerInch(), 96);
  form->SetPosition(poScreenCenter);
  form->SetBounds(0, 0, 200, 100);
  form->Show();
  Pump();
  EXPECT_EQ(form->Left(), (Screen()->Width() - 200) / 2);
  EXPECT_EQ(form->Top(), (Screen()->Height() - 100) / 2);
  EXPECT_TRUE(form->Showing());
  form->BeforeDestruction();
  delete form;
}

TEST(Forms, CloseAsksFirstAndModalResultEndsShowModal) {
  ShownForm f;
  bool allow = false;
  int closes = 0;
  f->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
  f->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
  f->Close();
  EXPECT_TRUE(f->Visible());
  EXPECT_EQ(closes, 0);
  allow = true;
  platform::PostMessageW(f->Handle(), platform::WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(f->Visible());
  EXPECT_EQ(closes, 1);

  auto* dialog = TCustomForm::Create<TForm>(nullptr);
  auto* ok = new TButton(dialog);
  ok->SetParent(dialog);
  ok->SetModalResult(mrOk);
  ok->SetDefault(true);
  auto* timer = new TTimer(dialog);
  timer->SetInterval(10);
  // Enter on the dialog presses the default button.
  timer->OnTimer = [&](TObject*) {
    timer->SetEnabled(false);
    platform::InjectKeyStroke(platform::VK_RETURN);
  };
  timer->UpdateTimer();
  std::thread ticker([] {
    for (int i = 0; i < 50; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      platform::WakeGuiThread();
    }
  });
  // The virtual clock moves only when told: advance it from the dialog's idle time.
  Application()->OnIdle = [](TObject*, bool& done) {
    platform::HeadlessBackend::Current()->Advance(10);
    done = false;
  };
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  Application()->OnIdle = nullptr;
  ticker.join();
  dialog->BeforeDestruction();
  delete dialog;
}

TEST(Halt, FromInsideASynchronizedCallFinalisesAndExits) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_EXIT(
      {
        Application();
        auto* form = TCustomForm::Create<TForm>(Application());
        form->OnDestroy = [](TObject*) { std::fputs("form destroyed\n", stderr); };
        AddExitProc([] { std::fputs("exit proc ran\n", stderr); });
        auto* worker = TThread::Create<TLambdaThread>(false, [](TLambdaThread& self) {
          self.Synchronize([] { Halt(0); });
          std::fputs("worker resumed\n", stderr);  // must never happen
        });
        (void)worker;
        while (true) Application()->HandleMessage();
      },
      ::testing::ExitedWithCode(0), "exit proc ran\nform destroyed\n$");
}

}  // namespace
}  // namespace kestrel
