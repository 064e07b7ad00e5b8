#pragma once
// Paints one owner-drawn scroll bar into a canvas whose origin is the bar's top-left corner:
// the arrow and secondary buttons, the track on both sides of the thumb and the thumb, each in
// its state, classic or through the theme engine's scroll-bar parts.

#include "controls/KsSBColors.h"
#include "controls/KsSBGeometry.h"
#include "controls/KsSBTypes.h"
#include "framework/Canvas.h"

namespace kestrel {

class TKsSBHandlerCustom;

class TKsSBPainter {
 public:
  TKsSBPainter(const TKsSBHandlerCustom& bar, TCanvas& canvas);
  void PaintAll();

 private:
  enum Direction { dirLeft, dirRight, dirUp, dirDown };
  enum FrameLook { frameFlat, frameRaised, frameSunken };
  // Theme states, added to a part's first detail ordinal.
  enum ThemeState { tsNormal, tsHot, tsPressed, tsDisabled };

  TRect Along(int from, int to) const;
  Direction StartDirection() const;
  Direction EndDirection() const;
  bool PressedAndOver(TKsScrollBarPart part) const;
  bool Hot(TKsScrollBarPart part) const;
  bool RaisedWhenFlat(TKsScrollBarPart part, bool usable) const;
  ThemeState StateOf(TKsScrollBarPart part, bool enabled) const;
  bool OwnerDrawn(const TRect& r, TKsScrollBarPart part, bool enabled, bool focused, bool pressed);

  void PaintArrow(TKsScrollBarPart part, const TRect& r, bool atStart);
  void PaintSecondary(TKsScrollBarPart part, const TRect& r, bool atStart);
  void PaintTrack(TKsScrollBarPart part, const TRect& r, bool beforeThumb);
  void PaintEmptyTrack(const TRect& r);
  void PaintThumb(const TRect& r);
  void PaintGripLines(const TRect& r, bool raised);

  void Fill(const TRect& r, TColor color);
  void FillTrackBackground(const TRect& r);
  void Frame(const TRect& r, FrameLook look);
  void Ring(const TRect& r, TColor topLeft, TColor bottomRight);
  void Glyph(const TRect& button, Direction dir, TColor color, bool enabled, int shift = 0);
  void GlyphAt(int x, int y, Direction dir, TColor color);
  void Themed(int firstOrdinal, ThemeState state, const TRect& r);
  static int ArrowOrdinal(Direction dir);

  const TKsSBHandlerCustom& bar_;
  TCanvas& canvas_;
  TKsSBGeometry geometry_;
  bool horizontal_;
  bool themed_;
  bool otherPressed_;
  bool windowEnabled_;
  TKsSBFrameColors colors_;
};

}  // namespace kestrel
