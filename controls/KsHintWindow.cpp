#include "controls/KsHintWindow.h"

#include <algorithm>

#include "controls/VnThemeModeRule.h"
#include "controls/VnThemeServices.h"
#include "framework/Colors.h"
#include "platform/core/ProcessWide.h"
#include "platform/text/Text.h"
#include "platform/theme/VsStyle.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

constexpr int kFrame = 1;
constexpr int kPadding = 2;  // between the frame and the text, on every side
constexpr unsigned kTextFormat = pf::DT_LEFT | pf::DT_WORDBREAK | pf::DT_NOPREFIX;

struct MarkupContentSlot {
  TKsHintContentFactory factory = nullptr;
};
// Kept by test resets: the markup library registers once per process.
constinit pf::ProcessWide<MarkupContentSlot> gMarkupContent(pf::ProcessWideOptions<MarkupContentSlot>{
    .keptByReset = true});

// Plain text, wrapped at the maximum width.
class TPlainHintContent : public TKsHintContent {
 public:
  pf::SIZE Prepare(TCanvas& canvas, const String& text, int maxWidth) override {
    text_ = text;
    TRect r = Rect(0, 0, std::max(maxWidth, 1), 0);
    canvas.DrawText(text_, r, kTextFormat | pf::DT_CALCRECT);
    return pf::SIZE{r.right - r.left, r.bottom - r.top};
  }
  void Paint(TCanvas& canvas, const TRect& r) override {
    TRect box = r;
    canvas.Brush()->SetStyle(bsClear);
    canvas.DrawText(text_, box, kTextFormat);
  }

 private:
  String text_;
};

}  // namespace

void SetMarkupHintContent(TKsHintContentFactory factory) { gMarkupContent->factory = factory; }

KESTREL_IMPLEMENT_CLASS(TKsHintWindow, TCustomControl)

TKsHintWindow::TKsHintWindow(bool markup) : TCustomControl(nullptr), markup_(markup) {
  SetVisible(false);
  Font()->SetColor(clInfoText);
  if (markup_ && gMarkupContent->factory) content_ = gMarkupContent->factory();
  if (!content_) content_ = std::make_unique<TPlainHintContent>();
}

TKsHintWindow::~TKsHintWindow() = default;

void TKsHintWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = pf::WS_POPUP;
  // Never active, above every other window, no taskbar entry.
  p.ExStyle = pf::WS_EX_TOPMOST | pf::WS_EX_TOOLWINDOW | pf::WS_EX_NOACTIVATE;
  p.WndParent = nullptr;
}

void TKsHintWindow::PrepareContent(const String& text, int maxWidth) {
  if (text == prepared_ && maxWidth == preparedWidth_) return;
  HandleNeeded();
  TCanvas& canvas = *Canvas();
  canvas.SetFont(Font());
  const pf::SIZE size = content_->Prepare(canvas, text, maxWidth);
  prepared_ = text;
  preparedWidth_ = maxWidth;
  const int inset = 2 * (kFrame + kPadding);
  SetBounds(Left(), Top(), size.cx + inset, size.cy + inset);
}

TRect TKsHintWindow::CalcHintRect(int maxWidth, const String& text) {
  PrepareContent(text, std::max(maxWidth - 2 * (kFrame + kPadding), 1));
  return Rect(0, 0, Width(), Height());
}

void TKsHintWindow::ActivateHint(const TRect& screenRect, const String& text) {
  text_ = text;
  const int width = screenRect.right - screenRect.left, height = screenRect.bottom - screenRect.top;
  // Measured already when CalcHintRect gave the rectangle; otherwise wrapped to the one given.
  if (text != prepared_) PrepareContent(text, std::max(width - 2 * (kFrame + kPadding), 1));
  SetBounds(screenRect.left, screenRect.top, width, height);
  pf::SetWindowPos(Handle(), pf::HWND_TOPMOST, screenRect.left, screenRect.top, width, height,
                   pf::SWP_SHOWWINDOW | pf::SWP_NOACTIVATE);
  SetVisible(true);
  shown_ = true;
  Invalidate();
}

void TKsHintWindow::HideHint() {
  if (!shown_) return;
  shown_ = false;
  SetVisible(false);
}

void TKsHintWindow::Paint() {
  TCanvas& canvas = *Canvas();
  const TRect all = Rect(0, 0, Width(), Height());
  const TVnThemeMode mode = EffectiveThemeMode(ttmPlatform, false);
  if (mode != ttmNone) {
    GlobalThemeServices()->DrawElement(mode, canvas.Handle(), {teToolTip, pf::TTP_STANDARD, pf::TTSS_NORMAL}, all);
  } else {
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clInfoBk);
    canvas.FillRect(all);
    canvas.Brush()->SetColor(clWindowFrame);
    canvas.FrameRect(all);
  }
  canvas.SetFont(Font());
  const int inset = kFrame + kPadding;
  content_->Paint(canvas, Rect(inset, inset, Width() - inset, Height() - inset));
}

}  // namespace kestrel
