#pragma once
// The look of the standard controls (push buttons, check boxes, radio buttons, edit frames,
// focus), in one place so every control looks alike: drawn by the theme engine while themes
// are on, in the classic look while they are off.

#include "framework/Canvas.h"

namespace kestrel {

enum class TThemeState { Normal, Hot, Pressed, Disabled, Focused };

namespace ControlPainter {

// A push button face filling `r`; `isDefault` marks the default button.
void DrawButtonFace(TCanvas& canvas, const TRect& r, TThemeState state, bool isDefault);
// Whether the face drawn for these arguments wants its caption in the on-accent colour.
bool CaptionOnAccent(TThemeState state, bool isDefault);
// The 13×13 box of a check box at (x, y): checked (1), grayed (2) or empty (0).
void DrawCheckGlyph(TCanvas& canvas, int x, int y, int checkState, TThemeState state);
// The 13×13 circle of a radio button at (x, y).
void DrawRadioGlyph(TCanvas& canvas, int x, int y, bool checked, TThemeState state);
// The frame of an edit box around `r` (drawn inside it, over the field's own fill).
void DrawEditFrame(TCanvas& canvas, const TRect& r, TThemeState state);
// The keyboard focus: the classic dotted rectangle `classic`, or the themed ring around `themed`.
void DrawFocus(TCanvas& canvas, const TRect& classic, const TRect& themed);
// Caption text in `r` with DT_ flags; disabled text in clGrayText.
void DrawCaption(TCanvas& canvas, const String& text, TRect r, unsigned flags, bool enabled);

constexpr int kGlyphSize = 13;

}  // namespace ControlPainter

}  // namespace kestrel
