#include "framework/ControlPainter.h"

#include "platform/text/TextTypes.h"

namespace kestrel::ControlPainter {

namespace {

constexpr TColor kBorder = 0x707070;
constexpr TColor kHotBorder = 0xB17F3C;       // blue, as 0x00BBGGRR
constexpr TColor kPressedBorder = 0x8B5C2C;
constexpr TColor kDefaultBorder = 0xD7994E;
constexpr TColor kFace = 0xE1E1E1;
constexpr TColor kHotFace = 0xFBF1E5;
constexpr TColor kPressedFace = 0xF7E4CC;
constexpr TColor kDisabledFace = 0xF4F4F4;
constexpr TColor kDisabledBorder = 0xBFBFBF;
constexpr TColor kGlyphBorder = 0x333333;
constexpr TColor kMark = 0x333333;

TColor BorderOf(TThemeState state) {
  switch (state) {
    case TThemeState::Hot: return kHotBorder;
    case TThemeState::Pressed: return kPressedBorder;
    case TThemeState::Disabled: return kDisabledBorder;
    case TThemeState::Focused: return kDefaultBorder;
    default: return kBorder;
  }
}

void Box(TCanvas& canvas, const TRect& r, TColor border, TColor fill) {
  canvas.Pen()->SetStyle(psSolid);
  canvas.Pen()->SetWidth(1);
  canvas.Pen()->SetColor(border);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(fill);
  canvas.Rectangle(r);
}

}  // namespace

void DrawButtonFace(TCanvas& canvas, const TRect& r, TThemeState state, bool isDefault) {
  TColor face = kFace;
  if (state == TThemeState::Hot) face = kHotFace;
  if (state == TThemeState::Pressed) face = kPressedFace;
  if (state == TThemeState::Disabled) face = kDisabledFace;
  TColor border = BorderOf(state);
  if (isDefault && state == TThemeState::Normal) border = kDefaultBorder;
  Box(canvas, r, border, face);
  if (isDefault && state != TThemeState::Disabled) {
    canvas.Brush()->SetStyle(bsClear);
    canvas.Rectangle(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
  }
}

void DrawCheckGlyph(TCanvas& canvas, int x, int y, int checkState, TThemeState state) {
  const bool disabled = state == TThemeState::Disabled;
  const TColor border = state == TThemeState::Normal ? kGlyphBorder : BorderOf(state);
  Box(canvas, Bounds(x, y, kGlyphSize, kGlyphSize), border, disabled ? kDisabledFace : clWhite);
  const TColor mark = disabled ? kDisabledBorder : kMark;
  if (checkState == 1) {
    canvas.Pen()->SetColor(mark);
    for (int d = 0; d < 2; ++d) {
      canvas.MoveTo(x + 3, y + 6 + d);
      canvas.LineTo(x + 5, y + 8 + d);
      canvas.LineTo(x + 10, y + 3 + d);
    }
  } else if (checkState == 2) {
    canvas.Brush()->SetColor(mark);
    canvas.FillRect(Bounds(x + 3, y + 3, kGlyphSize - 6, kGlyphSize - 6));
  }
}

void DrawRadioGlyph(TCanvas& canvas, int x, int y, bool checked, TThemeState state) {
  const bool disabled = state == TThemeState::Disabled;
  const TColor border = state == TThemeState::Normal ? kGlyphBorder : BorderOf(state);
  canvas.Pen()->SetColor(border);
  canvas.Pen()->SetStyle(psSolid);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(disabled ? kDisabledFace : clWhite);
  canvas.Ellipse(x, y, x + kGlyphSize, y + kGlyphSize);
  if (checked) {
    const TColor mark = disabled ? kDisabledBorder : kMark;
    canvas.Pen()->SetColor(mark);
    canvas.Brush()->SetColor(mark);
    canvas.Ellipse(x + 4, y + 4, x + kGlyphSize - 4, y + kGlyphSize - 4);
  }
}

void DrawEditFrame(TCanvas& canvas, const TRect& r, TThemeState state) {
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(state == TThemeState::Normal ? static_cast<TColor>(0xB3ADAB) : BorderOf(state));
  canvas.FrameRect(r);
}

void DrawCaption(TCanvas& canvas, const String& text, TRect r, unsigned flags, bool enabled) {
  canvas.Brush()->SetStyle(bsClear);
  if (!enabled) canvas.Font()->SetColor(clGrayText);
  canvas.DrawText(text, r, flags);
}

}  // namespace kestrel::ControlPainter
