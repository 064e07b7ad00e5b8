#pragma once
// TKsCtrlScrollBarStyles: the owner-drawn scroll bar with its look published for stored forms.

#include "controls/KsSBHandlerCustom.h"

namespace kestrel {

class TKsCtrlScrollBarStyles : public TKsSBHandlerCustom {
  KESTREL_CLASS(TKsCtrlScrollBarStyles)
  explicit TKsCtrlScrollBarStyles(TKsSBControllerLink* controller = nullptr);
};

}  // namespace kestrel
