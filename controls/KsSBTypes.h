#pragma once
// Value types shared by the owner-drawn scroll bars and the controller that attaches them.

#include <cstdint>
#include <functional>

#include "framework/Canvas.h"
#include "framework/Object.h"

namespace kestrel {

enum TScrollBarKind : std::uint8_t { sbHorizontal, sbVertical };

// Left stands for the start of a bar (left end, top), Right for its end. sbpLeftTop and
// sbpRightBottom are the track before and after the thumb.
enum TKsScrollBarPart : std::uint8_t {
  sbpNowhere,
  sbpLeftArrow,
  sbpRightSndArrow,
  sbpRightArrow,
  sbpLeftSndArrow,
  sbpThumb,
  sbpLeftTop,
  sbpRightBottom
};

enum TKsSecButtonsKind : std::uint8_t { sbkOpposite, sbkPage, sbkCustom };
enum TKsScrollThumbMode : std::uint8_t { etmFixed, etmAuto };

enum TKsScrollCode : std::uint8_t {
  escLineUp,
  escLineDown,
  escPageUp,
  escPageDown,
  escPosition,
  escTrack,
  escTop,
  escBottom,
  escEndScroll,
  escSndLineUp,
  escSndLineDown
};

using TKsSBScrollEvent = std::function<void(TObject* sender, TKsScrollCode code, int& scrollPos, bool& doChange)>;
using TKsScrollDrawPartEvent =
    std::function<void(TObject* sender, TCanvas* canvas, const TRect& r, TKsScrollBarPart part, bool enabled,
                       bool focused, bool pressed, bool& defaultDraw)>;
using TKsScrollHintNeededEvent = std::function<void(TObject* sender, int trackPosition, String& hint)>;
using TKsScrollHitTestEvent =
    std::function<void(TObject* sender, int x, int y, TKsScrollBarPart& part, bool& defaultTest)>;

}  // namespace kestrel
