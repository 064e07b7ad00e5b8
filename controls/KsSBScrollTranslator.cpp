#include "controls/KsSBScrollTranslator.h"

#include "platform/core/ScopeGuard.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

using namespace platform;

void TKsSBScrollTranslator::Send(WORD code, int position) {
  UINT msg = vertical_ ? WM_VSCROLL : WM_HSCROLL;
  SendMessageW(control_, msg, MAKEWPARAM(code, static_cast<WORD>(position)), 0);
}

void TKsSBScrollTranslator::SendPosition(int position) {
  bool tracked = SetScrollTrackPos(control_, BarFlag(), position);
  ScopeGuard end([&] {
    if (tracked) EndScrollTrack(control_, BarFlag());
  });
  Send(SB_THUMBPOSITION, position);
}

void TKsSBScrollTranslator::Track(TKsSBScrollSide& bar, bool& doChange, int& position) {
  if (position == bar.Position()) {
    doChange = false;
    return;
  }
  int before = bar.TrackPos();
  {
    bool tracked = SetScrollTrackPos(control_, BarFlag(), position);
    ScopeGuard end([&] {
      if (tracked) EndScrollTrack(control_, BarFlag());
    });
    Send(SB_THUMBTRACK, position);
  }
  bar.Reread();
  if (bar.TrackPos() != before) {
    position = bar.TrackPos();
  } else {
    SendPosition(position);
    bar.Reread();
    position = bar.Position();
  }
  doChange = position != before;
}

void TKsSBScrollTranslator::Translate(TKsSBScrollSide& bar, TKsScrollCode step, bool& doChange, int& position) {
  doChange = true;
  int old = bar.Position();
  switch (step) {
    case escSndLineUp:
    case escSndLineDown: return;
    case escTrack: Track(bar, doChange, position); return;
    case escLineUp:
    case escLineDown:
      if (bar.UseSystemStep()) Send(step == escLineUp ? SB_LINEUP : SB_LINEDOWN);
      else if (position != old) SendPosition(position);
      break;
    case escPageUp:
    case escPageDown:
    case escPosition:
      if (position != old) SendPosition(position);
      break;
    case escTop:
      if (old != bar.Min()) Send(SB_TOP);
      break;
    case escBottom:
      if (old != bar.Max()) Send(SB_BOTTOM);
      break;
    case escEndScroll: Send(SB_ENDSCROLL); break;
  }
  bar.Reread();
  doChange = bar.Position() != old;
  if (doChange) position = bar.Position();
}

}  // namespace kestrel
