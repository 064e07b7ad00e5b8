#pragma once
// The edit control's small value types and the names their published properties stream with.

#include <cstdint>

#include "framework/ImeMode.h"
#include "framework/PropInfo.h"

namespace kestrel {

// Where the linked control (a caption, usually) sits next to the edit: the side first, then
// the edge it lines up with.
enum TKsLinkCtlPos : std::uint8_t {
  lcpLeftTop = 0,
  lcpLeftBottom = 1,
  lcpLeftCenter = 2,
  lcpTopLeft = 3,
  lcpTopRight = 4,
  lcpTopCenter = 5,
  lcpRightTop = 6,
  lcpRightBottom = 7,
  lcpRightCenter = 8,
  lcpBottomLeft = 9,
  lcpBottomRight = 10,
  lcpBottomCenter = 11,
};

// A key with 0x2000 Shift, 0x4000 Ctrl and 0x8000 Alt over its code.
using TShortCut = std::uint16_t;

const TEnumInfo& KsLinkCtlPosInfo();
const TEnumInfo& KsEditCharCaseInfo();
const TEnumInfo& ScrollStyleInfo();

}  // namespace kestrel
