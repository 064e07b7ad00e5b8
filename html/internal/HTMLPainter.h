#pragma once
// One paint of a prepared caption: walks the lines and items and draws runs, list markers,
// rules, images, inputs and embedded controls with the line metrics of the layout. Internal to
// the renderer (TVnHTMLRender::DrawTextEx).

#include <optional>
#include <vector>

#include "framework/Canvas.h"
#include "html/HTMLData.h"

namespace kestrel {

class TVnHTMLRender;

struct THTMLPaintColors {
  bool useOverColors = false;
  TColor color = 0;
  TColor bkColor = 0;
  TColor selColor = 0;
  TColor selBkColor = 0;
  TColor adjustFromColor = 0x1FFFFFFF;
};

class THTMLPainter {
 public:
  // `origin` is where text point `srcPoint` lands on `canvas`; `rect` is the caller's rectangle
  // (for alignment and the end of the walk); `canvasOffset` is where the canvas lies in the
  // caller's canvas (non-zero when painting through the double buffer).
  THTMLPainter(TVnHTMLRender& render, TVnHTMLData& data, TCanvas& canvas, TPoint origin, TPoint srcPoint,
               const TRect& rect, TPoint canvasOffset, const THTMLPaintColors& colors);
  void Paint();

 private:
  struct Line {
    int top = 0;
    int height = 0;
    int descent = 0;
    int width = 0;
  };

  int X(int textX) const { return origin_.x + textX - src_.x; }
  int Y(int textY) const { return origin_.y + textY - src_.y; }
  int Baseline() const { return line_.top + line_.height - line_.descent; }
  // The top of the DC's clip in text coordinates (INT_MAX when nothing shows).
  int ClipTop() const;
  // Whether the current line ends far enough above `clipTop` that its text shows nothing: a
  // line's height and gap of room for ink past its box.
  bool LineAbove(int clipTop) const { return line_.top + 2 * line_.height + data_.LineGap() <= clipTop; }
  TRect BoxOnLine(int x, const TVnHTMLItem& item) const;
  TColor Adjusted(TColor color) const;
  void SelectFont(const TVnHTMLItem& item, unsigned style);
  platform::HGDIOBJ FontHandle(const TVnHTMLItem& item, int height, unsigned style);
  void SetTextColour(TColor color);
  void SetBackground(TColor color);
  // After items that draw through other code, which may change the DC's font and colours.
  void ForgetDcState();

  void PaintRun(TVnHTMLItem& item, int x);
  void PaintListMarker(TVnHTMLBreakItem& item, int x);
  void PaintRule(const TVnHTMLItem& item, int x);
  void PaintImage(TVnHTMLItem& item, int x);
  void PaintInput(TVnHTMLInputItem& item, int x);
  void PlaceControl(TVnHTMLControlItem& item, int x);

  TVnHTMLRender& render_;
  TVnHTMLData& data_;
  TCanvas& canvas_;
  platform::HDC dc_;
  TPoint origin_;
  TPoint src_;
  TRect rect_;
  TPoint canvasOffset_;
  THTMLPaintColors colors_;
  bool adjustDarker_ = false;
  TColor brushColor_ = 0;
  bool brushClear_ = false;
  Line line_;
  platform::HGDIOBJ savedFont_ = nullptr;
  struct SelectedFont {
    const String* face;
    int height;
    unsigned style;
  };
  std::optional<SelectedFont> selected_;  // what SelectFont put on the DC last
  // Runs alternate among a few fonts and colours: the font handles looked up in this paint, and
  // the colours last set, spare the lookups and DC calls that would change nothing.
  struct KnownFont {
    SelectedFont font;
    platform::HGDIOBJ handle;
  };
  std::vector<KnownFont> fonts_;
  std::optional<TColor> textColour_;
  std::optional<TColor> background_;
};

}  // namespace kestrel
