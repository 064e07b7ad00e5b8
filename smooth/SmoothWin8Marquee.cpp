#include "smooth/SmoothWin8Marquee.h"

#include <algorithm>
#include <cmath>

#include "framework/ControlMessages.h"
#include "framework/Reader.h"
#include "framework/TypeInfo.h"
#include "framework/Writer.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/Rectangles.h"
#include "platform/gdi/Regions.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TSmoothWin8Marquee, TCustomControl)

void TSmoothWin8Marquee::PublishProperties(TClassBuilder<TSmoothWin8Marquee>& b) {
  using M = TSmoothWin8Marquee;
  // The constructor's values are the stored defaults.
  b.Property(u"DoubleBuffered", &M::DoubleBuffered, &M::SetDoubleBuffered).Default(true);
  b.Property(u"TabStop", &M::TabStop, &M::SetTabStop).Default(true);
  b.Object(u"Fill", &M::Fill, &M::SetFill);
  b.Object(u"Bullets", &M::Bullets, &M::SetBullets);
  b.Property(u"Animate", &M::Animate, &M::SetAnimate).Default(true);
  b.Property(u"AnimationFactor", &M::AnimationFactor, &M::SetAnimationFactor);
  b.Property(u"AnimationStep", &M::AnimationStep, &M::SetAnimationStep);
  b.Property(u"AnimationStretchFactor", &M::AnimationStretchFactor, &M::SetAnimationStretchFactor);
  b.Property(u"Transparent", &M::Transparent, &M::SetTransparent).Default(false);
  b.Event(
      u"OnCustomBulletShape", [](const M& m) { return static_cast<bool>(m.OnCustomBulletShape); },
      u"TSmoothWin8MarqueeCustomBulletShape");
}

TSmoothWin8Marquee::TSmoothWin8Marquee(TComponent* owner)
    : TCustomControl(owner),
      FFill(std::make_unique<TGDIPFill>()),
      FBullets(std::make_unique<TSmoothWin8MarqueeBullets>(this)),
      FAnimationTimer(std::make_unique<TTimer>(nullptr)) {
  FFill->OnChange = [this](TObject*) { Invalidate(); };
  FAnimationTimer->SetEnabled(false);
  FAnimationTimer->SetInterval(10);
  FAnimationTimer->OnTimer = [this](TObject* sender) { AnimationTimer(sender); };
  SetDoubleBuffered(true);
  SetBounds(Left(), Top(), 400, 20);
  SetTabStop(true);
  if (owner && owner->ComponentState().Contains(csDesigning) && !owner->ComponentState().Contains(csLoading)) {
    // The look a marquee dropped on a form starts with.
    FFill->SetColor(clWhite);
    FFill->SetGradientType(gtSolid);
    FFill->SetBorderColor(0x708090);
    FBullets->SetColor(0x708090);
  }
  UpdateTimer();
}

TSmoothWin8Marquee::~TSmoothWin8Marquee() {
  FAnimationTimer.reset();
  FFill->OnChange = nullptr;
}

void TSmoothWin8Marquee::Assign(const TPersistent* source) {
  if (const auto* other = dynamic_cast<const TSmoothWin8Marquee*>(source)) {
    FBullets->Assign(other->FBullets.get());
    FFill->Assign(other->FFill.get());
    Invalidate();
    return;
  }
  TCustomControl::Assign(source);
}

void TSmoothWin8Marquee::SetFill(TGDIPFill* value) {
  if (value && value != FFill.get()) FFill->Assign(value);
}

void TSmoothWin8Marquee::SetBullets(TSmoothWin8MarqueeBullets* value) {
  if (value && value != FBullets.get()) FBullets->Assign(value);
  Invalidate();
}

void TSmoothWin8Marquee::GetAccessibleInfo(TAccessibleInfo& info) const {
  TCustomControl::GetAccessibleInfo(info);
  info.Role = TAccessibleRole::ProgressBar;
  info.Focusable = false;
  info.Busy = FAnimate && Showing();
}

void TSmoothWin8Marquee::SetAnimate(bool value) {
  FAnimate = value;
  UpdateTimer();
  Invalidate();
}

void TSmoothWin8Marquee::SetAnimationFactor(float value) {
  if (value == 0 || !std::isfinite(value)) return;
  FAnimationFactor = value;
}

void TSmoothWin8Marquee::SetAnimationStretchFactor(float value) {
  FAnimationStretchFactor = value;
  Invalidate();
}

void TSmoothWin8Marquee::SetTransparent(bool value) {
  FTransparent = value;
  backdrop_.Clear();
  Invalidate();
}

void TSmoothWin8Marquee::SetAnimationStep(float value) {
  if (std::isfinite(value)) FAnimationStep = value;
}

void TSmoothWin8Marquee::SetPosition(float value) {
  const TRect before = VisibleBulletArea();
  FPosition = value;
  const float bound = static_cast<float>(Width()) / 2 + FBullets->RowWidth() / 2;
  // Past the end, or no number at all (which would stay put forever): the row starts again.
  if (!std::isfinite(FPosition) || FPosition > bound) FPosition = -bound;
  InvalidateBullets(before);
}

// Only the bullets move: repainting where they were and where they are now is enough (and
// keeps the 10 ms animation cheap). The paint covers the box around those places anyway, so
// the box is invalidated at once. Custom shapes may draw anywhere, so they repaint all.
void TSmoothWin8Marquee::InvalidateBullets(const TRect& before) {
  if (!HandleAllocated()) return;
  if (FBullets->Shape() == bsCustom) {
    Invalidate();
    return;
  }
  TRect moved = VisibleBulletArea();
  pf::UnionRect(&moved, &moved, &before);
  if (pf::IsRectEmpty(&moved)) return;
  pf::InvalidateRect(Handle(), &moved, pf::FALSE);
  pf::UnionRect(&bulletArea_, &bulletArea_, &moved);
}

TRect TSmoothWin8Marquee::VisibleBulletArea() const {
  const float width = static_cast<float>(Width()), height = static_cast<float>(Height());
  TRect moved{};
  auto include = [&](const pf::TGPRectF& r) {
    // Bullets pushed out of sight need no repaint (and may lie beyond any pixel coordinate).
    if (!(r.X + r.Width >= -2 && r.X <= width + 2 && r.Y + r.Height >= -2 && r.Y <= height + 2)) return;
    // Anti-aliased edges and the outline's half pixel reach past the rectangle.
    const pf::RECT dirty{static_cast<int>(std::floor(r.X)) - 2, static_cast<int>(std::floor(r.Y)) - 2,
                         static_cast<int>(std::ceil(r.X + r.Width)) + 2,
                         static_cast<int>(std::ceil(r.Y + r.Height)) + 2};
    pf::UnionRect(&moved, &moved, &dirty);
  };
  // Walked without a list: a huge Count costs no allocation on every tick.
  ForEachBullet(include);
  return moved;
}

bool TSmoothWin8Marquee::Designing() const { return ComponentState().Contains(csDesigning); }

void TSmoothWin8Marquee::UpdateTimer() {
  if (!FAnimationTimer) return;
  const bool animating = FAnimate && !Designing();
  // Hidden, the timer stops (no wake-ups); shown again, the bullets are where the running
  // animation would have put them.
  if (animating && !Showing() && !hidden_) {
    hidden_ = true;
    hiddenSince_ = pf::GetTickCount();
  } else if (hidden_ && (!animating || Showing())) {
    hidden_ = false;
    const pf::DWORD interval = std::max<pf::DWORD>(1, FAnimationTimer->Interval());
    if (animating) CatchUp((pf::GetTickCount() - hiddenSince_) / interval);
  }
  FAnimationTimer->SetEnabled(animating && Showing());
  if (!Showing()) {
    backdrop_.Clear();
    bulletArea_ = {};
  }
}

void TSmoothWin8Marquee::CatchUp(pf::DWORD ticks) {
  // Each tick moves by the same amount (see AnimationTimer); moving forward the row starts again
  // at -bound once it passes bound.
  const float move = std::max(0.01f, std::fabs(FAnimationStep) / FAnimationFactor);
  if (ticks == 0 || std::fabs(FAnimationStep) < 0.01f) return;
  float p = FPosition;
  if (FAnimationStep < 0) {
    SetPosition(p - move * static_cast<float>(ticks));
    return;
  }
  const float bound = static_cast<float>(Width()) / 2 + FBullets->RowWidth() / 2;
  const auto ticksToWrap = [&](float from) { return static_cast<pf::DWORD>(std::floor((bound - from) / move)) + 1; };
  pf::DWORD left = ticks;
  if (p <= bound && left >= ticksToWrap(p)) {
    left -= ticksToWrap(p);
    p = -bound;
    left %= ticksToWrap(-bound);
  }
  SetPosition(p + move * static_cast<float>(left));
}

void TSmoothWin8Marquee::AnimationTimer(TObject*) {
  if (Designing()) return;
  if (!Showing()) {
    // Hidden by a path that sent no notice: stop until the control shows again.
    UpdateTimer();
    return;
  }
  float p = FPosition;
  const float target = p + FAnimationStep;
  const float step = std::fabs(p - target) / FAnimationFactor;
  if (target - 0.01f < p && p < target + 0.01f) return;  // too small a step to move
  const float move = std::max(0.01f, step);
  p = p < target ? p + move : p - move;
  SetPosition(p);
}

void TSmoothWin8Marquee::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_SHOWINGCHANGED: UpdateTimer(); return;
    case CM_VISIBLECHANGED:
      TCustomControl::WndProc(m);
      UpdateTimer();
      return;
    case CM_PARENTCOLORCHANGED:
    case CM_PARENTFONTCHANGED:
      // The parent's image under the control changed: the kept one is out of date.
      TCustomControl::WndProc(m);
      backdrop_.Clear();
      Invalidate();
      return;
    case pf::WM_PAINT:
      if (m.WParam || !PaintBulletsInPlace()) TCustomControl::WndProc(m);
      return;
    default: TCustomControl::WndProc(m);
  }
}

void TSmoothWin8Marquee::SetParent(TWinControl* value) {
  TCustomControl::SetParent(value);
  UpdateTimer();
}

std::vector<pf::TGPRectF> TSmoothWin8Marquee::BulletRects() const {
  std::vector<pf::TGPRectF> rects;
  ForEachBullet([&rects](const pf::TGPRectF& r) { rects.push_back(r); });
  return rects;
}

void TSmoothWin8Marquee::ForEachBullet(const std::function<void(const pf::TGPRectF&)>& visit) const {
  const TSmoothWin8MarqueeBullets& b = *FBullets;
  const float W = static_cast<float>(Width()), H = static_cast<float>(Height());
  const int count = b.Count();
  if (W <= 0 || count <= 0) return;
  const float bw = static_cast<float>(b.Width()), bh = static_cast<float>(b.Height());
  const float sp = static_cast<float>(b.Spacing());
  const float S = b.RowWidth() * FAnimationStretchFactor;
  const float zoneLeft = (W - 1 - S) / 2;
  const float start = zoneLeft + FPosition;
  const float top = (H - 1 - bh) / 2;
  const float travelled = FPosition / W;
  for (int n = 0; n < count; ++n) {
    const float nf = static_cast<float>(n);
    float x = start + nf * bw + nf * sp;
    // Outside the middle zone bullets are pushed out in proportion to their distance from it.
    if (x < zoneLeft) x = x + travelled * std::fabs(x - zoneLeft) * static_cast<float>(count - n);
    else if (x > zoneLeft + S) x = x + std::fabs(x - zoneLeft - S) * travelled * (nf + 1);
    visit(pf::TGPRectF{x, top, bw, bh});
  }
}

void TSmoothWin8Marquee::Paint() {
  pf::TGPGraphics graphics(Canvas()->Handle());
  graphics.SetSmoothingMode(pf::SmoothingModeAntiAlias);
  if (!backdropCopied_) PaintFill(graphics);
  DrawBullets(graphics);
}

void TSmoothWin8Marquee::PaintFill(pf::TGPGraphics& graphics) {
  if (FTransparent) return;
  FFill->Fill(&graphics, pf::TGPRectF{0, 0, static_cast<float>(Width() - 1), static_cast<float>(Height() - 1)});
}

void TSmoothWin8Marquee::DrawBullets(pf::TGPGraphics& graphics) {
  const TSmoothWin8MarqueeBullets& b = *FBullets;
  std::unique_ptr<pf::TGPSolidBrush> brush;
  std::unique_ptr<pf::TGPPen> pen;
  if (b.Color() != clNone) brush = std::make_unique<pf::TGPSolidBrush>(pf::MakeColor(b.Opacity(), b.Color()));
  if (b.BorderColor() != clNone)
    pen = std::make_unique<pf::TGPPen>(pf::MakeColor(b.BorderOpacity(), b.BorderColor()), 1.0f);
  if (!brush && !pen) return;
  // Bullets wholly outside the area being painted (pushed past the edges, or away from the
  // places a tick repaints) are skipped: they would not change a pixel.
  TRect clip{};
  const bool clipKnown = pf::GetClipBox(Canvas()->Handle(), &clip) != pf::ERROR;
  auto outsideClip = [&](const pf::TGPRectF& r) {
    constexpr float kReach = 2;  // anti-aliased edges and the outline's half pixel
    return clipKnown &&
           (r.X + r.Width + kReach < static_cast<float>(clip.left) || r.X - kReach > static_cast<float>(clip.right) ||
            r.Y + r.Height + kReach < static_cast<float>(clip.top) || r.Y - kReach > static_cast<float>(clip.bottom));
  };
  int index = 0;
  ForEachBullet([&](const pf::TGPRectF& bullet) {
    pf::TGPRectF r = bullet;  // a custom shape handler may change its copy
    if (b.Shape() != bsCustom && outsideClip(r)) {
      ++index;
      return;
    }
    switch (b.Shape()) {
      case bsEllipse:
        if (brush) graphics.FillEllipse(brush.get(), r);
        if (pen) graphics.DrawEllipse(pen.get(), r);
        break;
      case bsRectangle:
        if (brush) graphics.FillRectangle(brush.get(), r);
        if (pen) graphics.DrawRectangle(pen.get(), r);
        break;
      case bsTriangle: {
        pf::TGPGraphicsPath path;
        const pf::TGPPointF points[] = {
            {r.X + r.Width / 2, r.Y}, {r.X + r.Width, r.Y + r.Height}, {r.X, r.Y + r.Height}};
        path.AddPolygon(points, 3);
        if (brush) graphics.FillPath(brush.get(), &path);
        if (pen) graphics.DrawPath(pen.get(), &path);
        break;
      }
      case bsCustom:
        if (OnCustomBulletShape) OnCustomBulletShape(this, &graphics, index, r);
        break;
    }
    ++index;
  });
}

// A paint that only puts back where the bullets were and are copies that from the backdrop;
// any other paint (a first one, an exposure, a change of look, place or size) paints the
// backdrop anew first. Transparent, the parent shows everywhere and may have painted something
// new under the control without a word to it, so no picture is kept: every paint, a tick's
// too, takes the parent's image afresh.
void TSmoothWin8Marquee::PaintWindow(pf::HDC dc) {
  TRect area{};
  pf::GetClipBox(dc, &area);
  const bool onlyBullets = OnlyBulletsIn(area);
  bulletArea_ = {};
  backdropCopied_ = !FTransparent && (onlyBullets || PaintBackdrop(dc));
  if (backdropCopied_) backdrop_.CopyTo(dc, area);
  else if (Parent()) PaintParentBackground(dc);
  TCustomControl::PaintWindow(dc);
  backdropCopied_ = false;
}

bool TSmoothWin8Marquee::OnlyBulletsIn(const TRect& area) const {
  return area.left >= bulletArea_.left && area.top >= bulletArea_.top && area.right <= bulletArea_.right &&
         area.bottom <= bulletArea_.bottom && (FTransparent || backdrop_.Holds(Parent(), BoundsRect()));
}

// A tick's repaint starts by covering its whole area with the backdrop (or the parent's image), so
// an off-screen buffer would only be cleared, covered and copied: it goes to the window directly.
bool TSmoothWin8Marquee::PaintBulletsInPlace() {
  TRect area{};
  if (!pf::GetUpdateRect(Handle(), &area, pf::FALSE) || !OnlyBulletsIn(area)) return false;
  pf::PAINTSTRUCT ps{};
  const pf::HDC dc = pf::BeginPaint(Handle(), &ps);
  if (!dc) return true;
  PaintWindow(dc);
  PaintControls(dc, nullptr);
  pf::EndPaint(Handle(), &ps);
  return true;
}

bool TSmoothWin8Marquee::PaintBackdrop(pf::HDC reference) {
  const pf::HDC dc = backdrop_.Restart(reference, Parent(), BoundsRect());
  if (!dc) return false;
  if (Parent()) PaintParentBackground(dc);
  pf::TGPGraphics graphics(dc);
  graphics.SetSmoothingMode(pf::SmoothingModeAntiAlias);
  PaintFill(graphics);
  return true;
}

// The parent's own image under the control, so that what the fill leaves uncovered (its
// anti-aliased edge, or everything when Transparent) shows the parent.
void TSmoothWin8Marquee::PaintParentBackground(pf::HDC dc) {
  const int saved = pf::SaveDC(dc);
  pf::OffsetViewportOrgEx(dc, -Left(), -Top(), nullptr);
  Parent()->Perform(pf::WM_ERASEBKGND, reinterpret_cast<pf::WPARAM>(dc), reinterpret_cast<pf::LPARAM>(dc));
  Parent()->Perform(pf::WM_PAINT, reinterpret_cast<pf::WPARAM>(dc), 0);
  pf::RestoreDC(dc, saved);
}

void TSmoothWin8Marquee::EraseBackground(pf::HDC) {}

void TSmoothWin8Marquee::SetComponentStyle(TSmoothStyle AStyle) {
  FSmoothStyle = AStyle;
  const auto colours = MarqueeStyleColors(AStyle);
  if (!colours) return;
  FFill->BeginUpdate();
  FFill->SetColor(colours->Color);
  FFill->SetColorTo(colours->ColorTo);
  FFill->SetColorMirror(colours->ColorMirror);
  FFill->SetColorMirrorTo(colours->ColorMirrorTo);
  FFill->SetBorderColor(colours->FillBorder);
  if (colours->VerticalGradient) FFill->SetGradientType(gtVertical);
  if (colours->VerticalMirrorGradient) FFill->SetGradientMirrorType(gtVertical);
  FFill->EndUpdate();
  FBullets->SetBorderColor(colours->BulletBorder);
  FBullets->SetColor(colours->BulletColor);
  Invalidate();
}

void TSmoothWin8Marquee::SetColorTones(const TColorTones& ATones) {
  FFill->BeginUpdate();
  FFill->SetColor(ATones.Background.BrushColor);
  FFill->SetColorTo(ATones.Background.BrushColor);
  FFill->SetColorMirror(ATones.Background.BrushColor);
  FFill->SetColorMirrorTo(ATones.Background.BrushColor);
  FFill->SetBorderColor(ATones.Background.BorderColor);
  FFill->EndUpdate();
  FBullets->SetBorderColor(ATones.Background.BorderColor);
  FBullets->SetColor(ATones.Selected.BrushColor);
  Invalidate();
}

void TSmoothWin8Marquee::DefineProperties(TFiler& filer) {
  TCustomControl::DefineProperties(filer);
  filer.DefineProperty(
      u"SmoothStyle",
      [this](TReader& reader) {
        const std::int64_t value = reader.ReadInteger();
        if (value >= tsOffice2003Blue && value <= tsOffice2016Black) FSmoothStyle = static_cast<TSmoothStyle>(value);
      },
      [this](TWriter& writer) { writer.WriteInteger(FSmoothStyle); }, true);
}

}  // namespace kestrel
