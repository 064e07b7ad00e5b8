#include <gtest/gtest.h>

#include <cstdio>

#include "VisualTestSupport.h"
#include "framework/Application.h"
#include "framework/Button.h"
#include "framework/CustomControl.h"
#include "framework/Edit.h"
#include "framework/GraphicControl.h"
#include "framework/MessageBox.h"
#include "framework/Screen.h"
#include "framework/Thread.h"
#include "framework/Timer.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SystemColors.h"
#include "platform/os/GlobalMemory.h"
#include "platform/window/Clipboard.h"
#include "platform/window/HeadlessBackend.h"

namespace kestrel {
namespace {

using testing::ClickAt;
using testing::ClientPixel;
using testing::Pump;
using testing::ShownForm;

class TTracker : public TGraphicControl {
 public:
  explicit TTracker(TComponent* owner) : TGraphicControl(owner) {}
  std::vector<std::string> events;

 protected:
  void MouseDown(TMouseButton, TShiftState, int x, int y) override { Log("down", x, y); }
  void MouseMove(TShiftState, int x, int y) override { Log("move", x, y); }
  void MouseUp(TMouseButton, TShiftState, int x, int y) override { Log("up", x, y); }
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_MOUSEENTER) events.push_back("enter");
    if (m.Msg == CM_MOUSELEAVE) events.push_back("leave");
    TGraphicControl::WndProc(m);
  }

 private:
  void Log(const char* what, int x, int y) {
    char text[48];
    std::snprintf(text, sizeof text, "%s %d,%d", what, x, y);
    events.emplace_back(text);
  }
};

TEST(Interaction, WindowlessControlKeepsTheMouseWhileAButtonIsDown) {
  ShownForm f;
  auto* tracker = new TTracker(f.form);
  tracker->SetParent(f.form);
  tracker->SetBounds(20, 20, 40, 40);
  int clicks = 0;
  tracker->OnClick = [&](TObject*) { ++clicks; };
  using platform::InjectMouseButton;
  using platform::InjectMouseMove;
  InjectMouseMove(f->ClientToScreen(Point(100, 100)));
  InjectMouseMove(f->ClientToScreen(Point(30, 30)));
  InjectMouseButton(platform::MouseButton::Left, true, f->ClientToScreen(Point(30, 30)));
  InjectMouseMove(f->ClientToScreen(Point(150, 30)));
  InjectMouseButton(platform::MouseButton::Left, false, f->ClientToScreen(Point(150, 30)));
  InjectMouseMove(f->ClientToScreen(Point(160, 30)));
  Pump();
  const std::vector<std::string> expected = {"enter", "move 10,10", "down 10,10", "leave", "move 130,10", "up 130,10"};
  EXPECT_EQ(tracker->events, expected);
  EXPECT_EQ(clicks, 0);  // released outside
  ClickAt(*f.form, 25, 25);
  EXPECT_EQ(clicks, 1);
}

TEST(Interaction, SystemColourChangesRepaintEveryFormThroughTheApplicationWindow) {
  ShownForm f;
  int hookSaw = 0, themeChanges = 0;
  const int hook = Application()->HookMainWindow([&](TMessage& m) {
    if (m.Msg == platform::WM_SYSCOLORCHANGE) ++hookSaw;
    return false;
  });
  Application()->OnThemeChange = [&](TObject*) { ++themeChanges; };
  const int index = platform::COLOR_BTNFACE;
  const platform::COLORREF old = platform::GetSysColor(index), changed = platform::RGB(10, 20, 30);
  EXPECT_EQ(ClientPixel(*f.form, 5, 5), old);
  platform::SetSysColors(1, &index, &changed);
  platform::SendMessageW(Application()->Handle(), platform::WM_SYSCOLORCHANGE, 0, 0);
  Pump();
  EXPECT_EQ(ClientPixel(*f.form, 5, 5), changed);
  EXPECT_EQ(hookSaw, 1);
  EXPECT_EQ(themeChanges, 1);
  platform::SetSysColors(1, &index, &old);
  Application()->UnhookMainWindow(hook);
  Application()->OnThemeChange = nullptr;
}

// An edit's copy replaces everything the clipboard held, as every copy does; its paste takes the
// text another program put on the system clipboard.
TEST(Interaction, EditCopiesAndPastesThroughTheClipboard) {
  namespace pf = platform;
  ShownForm f;
  auto* edit = new TEdit(f.form);
  edit->SetParent(f.form);
  edit->SetText(u"hello world");
  const pf::UINT custom = pf::RegisterClipboardFormatW(u"Kestrel.InteractionTest");
  ASSERT_TRUE(pf::OpenClipboard(nullptr));
  pf::EmptyClipboard();
  pf::HGLOBAL block = pf::GlobalAlloc(pf::GMEM_MOVEABLE, 4);
  ASSERT_NE(pf::SetClipboardData(custom, block), nullptr);
  pf::CloseClipboard();

  edit->SelectAll();
  edit->CopyToClipboard();
  EXPECT_EQ(pf::GetClipboardUnicodeText(), u"hello world");
  EXPECT_FALSE(pf::IsClipboardFormatAvailable(custom)) << "the copy left an older format behind";
  String system;
  ASSERT_TRUE(pf::HeadlessBackend::Current()->GetClipboardText(system));
  EXPECT_EQ(system, u"hello world");

  pf::HeadlessBackend::Current()->SetClipboardText(u"from elsewhere");
  edit->SelectAll();
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), u"from elsewhere");
  ASSERT_TRUE(pf::SetClipboardUnicodeText(u""));
}

TEST(Interaction, KeyPreviewLetsTheFormSeeAndEatKeysFirst) {
  ShownForm f;
  auto* edit = new TEdit(f.form);
  edit->SetParent(f.form);
  edit->SetFocus();
  String seenByForm;
  f->SetKeyPreview(true);
  f->OnKeyPress = [&](TObject*, char16_t& key) {
    seenByForm += key;
    if (key == u'x') key = 0;
  };
  platform::InjectText(u"axb");
  Pump();
  EXPECT_EQ(seenByForm, u"axb");
  EXPECT_EQ(edit->Text(), u"ab");
  f->SetKeyPreview(false);
  platform::InjectText(u"x");
  Pump();
  EXPECT_EQ(edit->Text(), u"abx");
}

// A keyboard user closes a message box with Enter and presses Space again: the button that had
// the focus before the box must have it again, or the second key goes nowhere.
TEST(Interaction, FocusReturnsToTheFormsControlAfterAMessageBox) {
  ShownForm f;
  auto addButton = [&](int top) {
    auto* button = new TButton(f.form);
    button->SetParent(f.form);
    button->SetBounds(10, top, 80, 25);
    return button;
  };
  addButton(10);  // first in tab order: focusing the first control instead is wrong too
  TButton* second = addButton(50);
  int clicks = 0;
  second->OnClick = [&](TObject*) { ++clicks; };
  second->SetFocus();
  platform::SetMessageBoxShownHook([](platform::HWND) { platform::InjectKeyStroke(platform::VK_RETURN); });
  EXPECT_EQ(Application()->MessageBox(u"Failed", u"Note", MB_OK), IDOK);
  platform::SetMessageBoxShownHook(nullptr);
  EXPECT_EQ(platform::GetFocus(), second->Handle());
  EXPECT_EQ(f->ActiveControl(), second);
  platform::InjectKeyStroke(platform::VK_SPACE);
  Pump();
  EXPECT_EQ(clicks, 1);
}

TEST(Interaction, MessageBoxIsOwnedByTheActiveFormAndAnswersWithTheChosenButton) {
  ShownForm f;
  bool ownerDisabled = false;
  platform::HWND owner = nullptr;
  String caption;
  platform::SetMessageBoxShownHook([&](platform::HWND dialog) {
    owner = platform::GetWindow(dialog, platform::GW_OWNER);
    ownerDisabled = !platform::IsWindowEnabled(f->Handle());
    std::vector<char16_t> text(64);
    platform::GetWindowTextW(dialog, text.data(), 64);
    caption = text.data();
    platform::InjectKeyStroke(platform::VK_RETURN);
  });
  EXPECT_EQ(Application()->MessageBox(u"Go on?", u"Question", MB_YESNO), IDYES);
  EXPECT_EQ(owner, f->Handle());
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(platform::IsWindowEnabled(f->Handle()));
  EXPECT_EQ(caption, u"Question");
  EXPECT_EQ(Application()->MessageBox(u"Go on?", u"Question", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
  platform::SetMessageBoxShownHook([](platform::HWND) { platform::InjectKeyStroke(platform::VK_ESCAPE); });
  EXPECT_EQ(Application()->MessageBox(u"Done", u"Note", MB_OK), IDOK);
  platform::SetMessageBoxShownHook(nullptr);

  // Without a caption the box carries the application's title.
  String seenCaption;
  platform::SetMessageBoxScript([&](const platform::MessageBoxRequest& box) {
    seenCaption = box.caption;
    return IDRETRY;
  });
  const String oldTitle = Application()->Title();
  Application()->SetTitle(u"Kestrel test");
  EXPECT_EQ(Application()->MessageBox(u"Again?", u"", MB_RETRYCANCEL), IDRETRY);
  EXPECT_EQ(seenCaption, u"Kestrel test");
  Application()->SetTitle(oldTitle);
  platform::SetMessageBoxScript(nullptr);
}

TEST(Interaction, DoubleBufferedControlPaintsItselfAndItsWindowlessChildren) {
  class TBoard : public TCustomControl {
   public:
    explicit TBoard(TComponent* owner) : TCustomControl(owner) {
      SetDoubleBuffered(true);
      SetColor(clWhite);
    }

   protected:
    void Paint() override {
      Canvas()->Brush()->SetColor(clBlue);
      Canvas()->FillRect(Rect(0, 0, 10, 10));
    }
  };
  class TDot : public TGraphicControl {
   public:
    explicit TDot(TComponent* owner) : TGraphicControl(owner) {}

   protected:
    void Paint() override {
      Canvas()->Brush()->SetColor(clRed);
      Canvas()->FillRect(ClientRect());
    }
  };
  ShownForm f;
  auto* board = new TBoard(f.form);
  board->SetParent(f.form);
  board->SetBounds(10, 10, 100, 60);
  auto* dot = new TDot(f.form);
  dot->SetParent(board);
  dot->SetBounds(50, 20, 10, 10);
  Pump();
  EXPECT_EQ(ClientPixel(*board, 5, 5), platform::RGB(0, 0, 255));
  EXPECT_EQ(ClientPixel(*board, 55, 25), platform::RGB(255, 0, 0));
  EXPECT_EQ(ClientPixel(*board, 80, 50), platform::RGB(255, 255, 255));
  dot->SetLeft(70);
  Pump();
  EXPECT_EQ(ClientPixel(*board, 55, 25), platform::RGB(255, 255, 255));
  EXPECT_EQ(ClientPixel(*board, 75, 25), platform::RGB(255, 0, 0));
}

// A repaint of part of a double-buffered control must land exactly where a whole paint puts
// it: shapes by client coordinates, hatch patterns aligned to the client's corner.
TEST(Interaction, DoubleBufferedPartialRepaintMatchesAWholePaint) {
  class THatched : public TCustomControl {
   public:
    explicit THatched(TComponent* owner) : TCustomControl(owner) { SetDoubleBuffered(true); }

   protected:
    void Paint() override {
      platform::HDC dc = Canvas()->Handle();
      platform::HBRUSH hatch = platform::CreateHatchBrush(platform::HS_DIAGCROSS, platform::RGB(0, 0, 160));
      const TRect all = ClientRect();
      platform::FillRect(dc, &all, hatch);
      platform::DeleteObject(hatch);
      Canvas()->Brush()->SetColor(clRed);
      Canvas()->FillRect(Rect(23, 17, 41, 29));
    }
  };
  ShownForm f;
  auto* board = new THatched(f.form);
  board->SetParent(f.form);
  board->SetBounds(10, 10, 80, 50);
  Pump();
  std::vector<platform::COLORREF> whole;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 80; ++x) whole.push_back(ClientPixel(*board, x, y));
  const platform::RECT part{19, 13, 37, 26};
  platform::InvalidateRect(board->Handle(), &part, platform::FALSE);
  Pump();
  int differing = 0;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 80; ++x) differing += ClientPixel(*board, x, y) != whole[y * 80 + x];
  EXPECT_EQ(differing, 0);
}

// Off-screen buffers are kept between small paints; each paint still starts on black, as on a
// new bitmap, and not on what the last paint left.
TEST(Interaction, DoubleBufferedPaintStartsOnBlackEachTime) {
  class TOnce : public TCustomControl {
   public:
    explicit TOnce(TComponent* owner) : TCustomControl(owner) {
      SetDoubleBuffered(true);
      SetColor(clNone);  // no background erased either
    }
    bool paints = true;

   protected:
    void Paint() override {
      if (!paints) return;
      Canvas()->Brush()->SetColor(clRed);
      Canvas()->FillRect(ClientRect());
    }
  };
  ShownForm f;
  auto* board = new TOnce(f.form);
  board->SetParent(f.form);
  board->SetBounds(10, 10, 40, 30);
  Pump();
  EXPECT_EQ(ClientPixel(*board, 20, 15), platform::RGB(255, 0, 0));
  board->paints = false;
  board->Invalidate();
  Pump();
  EXPECT_EQ(ClientPixel(*board, 20, 15), platform::RGB(0, 0, 0));
}

TEST(Interaction, QueuedCallsAndSelfFreeingThreads) {
  Application();
  std::atomic<bool> finished{false};
  int queued = 0;
  class TWorker : public TThread {
   public:
    TWorker(int& queued, std::atomic<bool>& finished) : queued_(queued), finished_(finished) {
      SetFreeOnTerminate(true);
    }
    ~TWorker() override { finished_ = true; }

   protected:
    void Execute() override {
      // Not tied to the thread (it frees itself at once): the calls must outlive it.
      int& counter = queued_;
      Queue(nullptr, [&counter] { ++counter; });
      Queue(nullptr, [&counter] { ++counter; });
    }

   private:
    int& queued_;
    std::atomic<bool>& finished_;
  };
  TThread::Create<TWorker>(false, queued, finished);
  for (int i = 0; i < 1000 && (queued < 2 || !finished); ++i) {
    Application()->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(queued, 2);
  EXPECT_TRUE(finished);
}

TEST(Interaction, ExceptionsFromTimerHandlersGoToOnException) {
  Application();
  auto* timer = new TTimer(nullptr);
  String reported;
  Application()->OnException = [&](TObject* sender, const Exception& e) {
    EXPECT_EQ(sender, timer);
    reported = e.Message();
  };
  timer->SetInterval(10);
  timer->OnTimer = [&](TObject*) {
    timer->SetEnabled(false);
    throw EConvertError(u"tick failed");
  };
  timer->UpdateTimer();
  platform::HeadlessBackend::Current()->Advance(20);
  EXPECT_EQ(reported, u"tick failed");
  Application()->OnException = nullptr;
  delete timer;
}

TEST(Interaction, BorderStylesChangeTheFrameButKeepTheControls) {
  ShownForm f;
  auto* button = new TButton(f.form);
  button->SetParent(f.form);
  button->SetBounds(5, 5, 60, 20);
  f->SetBorderStyle(bsNone);
  EXPECT_EQ(f->ClientWidth(), f->Width());
  EXPECT_EQ(f->ClientHeight(), f->Height());
  EXPECT_TRUE(button->HandleAllocated());
  EXPECT_TRUE(f->Showing());
  EXPECT_EQ(platform::GetParent(button->Handle()), f->Handle());
  f->SetBorderStyle(bsDialog);
  EXPECT_LT(f->ClientWidth(), f->Width());
  EXPECT_LT(f->ClientHeight(), f->Height());
  // The client size settles the same way with and without a window.
  TForm* hidden = TCustomForm::Create<TForm>(nullptr);
  hidden->SetBorderStyle(bsDialog);
  hidden->SetClientWidth(200);
  hidden->SetClientHeight(100);
  const TRect before = hidden->BoundsRect();
  hidden->HandleNeeded();
  EXPECT_EQ(hidden->ClientWidth(), 200);
  EXPECT_EQ(hidden->ClientHeight(), 100);
  EXPECT_EQ(hidden->BoundsRect().right - hidden->BoundsRect().left, before.right - before.left);
  hidden->BeforeDestruction();
  delete hidden;
}

TEST(Interaction, HaltFromTheGuiThreadRunsExitProceduresLastFirst) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_EXIT(
      {
        Application();
        AddExitProc([] { std::fputs("first\n", stderr); });
        AddExitProc([] { std::fputs("second\n", stderr); });
        Halt(3);
      },
      ::testing::ExitedWithCode(3), "second\nfirst\n$");
}

}  // namespace
}  // namespace kestrel
