#pragma once
// The look of the standard controls: a light, flat theme drawn with the canvas (push buttons,
// check boxes, radio buttons, edit frames), in one place so every control looks alike.

#include "framework/Canvas.h"

namespace kestrel {

enum class TThemeState { Normal, Hot, Pressed, Disabled, Focused };

namespace ControlPainter {

// A push button face filling `r`; `isDefault` draws the default button's stronger border.
void DrawButtonFace(TCanvas& canvas, const TRect& r, TThemeState state, bool isDefault);
// The 13×13 box of a check box at (x, y): checked, grayed (a filled square) or empty.
void DrawCheckGlyph(TCanvas& canvas, int x, int y, int checkState, TThemeState state);
// The 13×13 circle of a radio button at (x, y).
void DrawRadioGlyph(TCanvas& canvas, int x, int y, bool checked, TThemeState state);
// The frame of an edit box around `r` (drawn inside it).
void DrawEditFrame(TCanvas& canvas, const TRect& r, TThemeState state);
// Caption text in `r` with DT_ flags; disabled text in clGrayText.
void DrawCaption(TCanvas& canvas, const String& text, TRect r, unsigned flags, bool enabled);

constexpr int kGlyphSize = 13;

}  // namespace ControlPainter

}  // namespace kestrel
