#include "controls/KsSBStandaloneLink.h"

#include "controls/KsSBHandlerCustom.h"

namespace kestrel {

void TKsSBStandaloneLink::KsSBScrollEvent(int, TKsScrollCode code, bool& doChange, int& position) {
  doChange = true;
  // Tracking moves only the thumb; the end of a scroll and the secondary buttons move nothing.
  if (!bar_ || code == escTrack || code == escEndScroll || code >= escSndLineUp) return;
  platform::SCROLLINFO si;
  si.fMask = platform::SIF_POS;
  si.nPos = position;
  bar_->SetScrollInfo(si, false);
}

}  // namespace kestrel
