#pragma once
// The colours of the themed look (COLORREF, 0x00BBGGRR).

#include "platform/core/WinTypes.h"

namespace kestrel::platform::theme_tokens {

constexpr COLORREF kSurface = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kSurfaceAlt = RGB(0xF3, 0xF3, 0xF3);
constexpr COLORREF kControl = RGB(0xFB, 0xFB, 0xFB);
constexpr COLORREF kControlHot = RGB(0xF0, 0xF0, 0xF0);
constexpr COLORREF kControlPressed = RGB(0xE4, 0xE4, 0xE4);
constexpr COLORREF kStroke = RGB(0xC8, 0xC8, 0xC8);
constexpr COLORREF kStrokeBottom = RGB(0xB0, 0xB0, 0xB0);
constexpr COLORREF kStrokeStrong = RGB(0x8A, 0x8A, 0x8A);
constexpr COLORREF kAccent = RGB(0x00, 0x67, 0xC0);
constexpr COLORREF kAccentHot = RGB(0x19, 0x75, 0xC5);
constexpr COLORREF kAccentPressed = RGB(0x31, 0x83, 0xCA);
constexpr COLORREF kOnAccent = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kText = RGB(0x1A, 0x1A, 0x1A);
constexpr COLORREF kTextDisabled = RGB(0xA0, 0xA0, 0xA0);
constexpr COLORREF kFocus = RGB(0x1A, 0x1A, 0x1A);
constexpr COLORREF kCaptionActive = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kCaptionInactive = RGB(0xF3, 0xF3, 0xF3);
constexpr COLORREF kCaptionTextActive = RGB(0x1A, 0x1A, 0x1A);
constexpr COLORREF kCaptionTextInactive = RGB(0x8A, 0x8A, 0x8A);
constexpr COLORREF kFrame = RGB(0x9A, 0x9A, 0x9A);
constexpr COLORREF kCloseHot = RGB(0xC4, 0x2B, 0x1C);
constexpr COLORREF kCloseHotPressed = RGB(0xA3, 0x26, 0x1A);
constexpr COLORREF kScrollThumb = RGB(0xA0, 0xA0, 0xA0);
constexpr COLORREF kScrollThumbHot = RGB(0x7A, 0x7A, 0x7A);
constexpr COLORREF kScrollThumbPressed = RGB(0x5A, 0x5A, 0x5A);
constexpr COLORREF kScrollArrow = RGB(0x60, 0x60, 0x60);
constexpr COLORREF kTooltipFace = RGB(0xF9, 0xF9, 0xF9);
constexpr COLORREF kTooltipBorder = RGB(0xC8, 0xC8, 0xC8);
constexpr COLORREF kGripper = RGB(0xA0, 0xA0, 0xA0);
constexpr COLORREF kError = RGB(0xC4, 0x2B, 0x1C);
constexpr COLORREF kPaused = RGB(0x9D, 0x5D, 0x00);

constexpr int kRadius = 3;

}  // namespace kestrel::platform::theme_tokens
