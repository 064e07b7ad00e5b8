#pragma once
// TKsCtrlScrollBarStyles: the owner-drawn scroll bar with its look published for stored forms.

#include "controls/KsSBHandlerCustom.h"

namespace kestrel {

class TKsCtrlScrollBarStyles : public TKsSBHandlerCustom {
  KESTREL_CLASS(TKsCtrlScrollBarStyles)
  explicit TKsCtrlScrollBarStyles(TKsSBControllerLink* controller = nullptr);
  // The depth is stored only when it does not follow the platform metrics.
  bool IsDepthStored() const;
};

}  // namespace kestrel
