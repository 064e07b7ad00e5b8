#pragma once
// Thin wrappers around the platform's Unicode text output and the clipboard's text.

#include "framework/Canvas.h"
#include "platform/core/Unicode.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"

namespace kestrel {

// Formatted text (DT_* flags); count -1 means the whole text. Returns the text height; with
// DT_CALCRECT `rect` becomes the text's extent.
int DrawTextUnicode(platform::HDC dc, const String& text, int count, unsigned format, TRect& rect);
// The metrics of the DC's font.
bool GetTextMetricsUnicode(platform::HDC dc, platform::TEXTMETRICW& metrics);
// A run of `count` characters (-1: all) at (x, y) with ETO_* options and an optional clip
// rectangle, without a spacing array.
bool TextOutUnicode(TCanvas* canvas, int x, int y, unsigned options, const TRect* clipRect, const String& text,
                    int count = -1);
// Whether any part of `rect` lies in the canvas's clipping region.
bool IsRectVisible(TCanvas* canvas, const TRect& rect);

// The clipboard's text; empty when it cannot be opened or holds none.
String ClipboardGetText();
// Replaces the clipboard's contents with `text` as Unicode and as 8-bit text. Returns false
// when the clipboard could not be opened or the text not placed.
bool ClipboardSetText(const String& text);

}  // namespace kestrel
