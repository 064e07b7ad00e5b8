#include "platform/theme/ClassicParts.h"

#include "platform/gdi/Frames.h"
#include "platform/gdi/Primitives.h"
#include "platform/gdi/SystemColors.h"
#include "platform/theme/VsStyle.h"
#include "platform/theme/internal/ThemeDrawing.h"

namespace kestrel::platform {

namespace {
void FillSys(HDC hdc, const RECT& r, int colorIndex) { FillRect(hdc, &r, GetSysColorBrush(colorIndex)); }

void Edge(HDC hdc, const RECT& r, UINT edge, UINT flags) {
  RECT box = r;
  DrawEdge(hdc, &box, edge, flags);
}

void Frame(HDC hdc, const RECT& r, UINT type, UINT state) {
  RECT box = r;
  DrawFrameControl(hdc, &box, type, state);
}

// DFCS_ flags of a state in the "normal, hot, pressed, disabled" numbering.
UINT FrameStateOf(int stateInGroup) {
  switch (LookOf(stateInGroup)) {
    case PartLook::Hot: return DFCS_HOT;
    case PartLook::Pressed: return DFCS_PUSHED;
    case PartLook::Disabled: return DFCS_INACTIVE;
    default: return 0;
  }
}

int InGroup(int state) { return state <= 0 ? 0 : (state - 1) % 4 + 1; }

bool Button(HDC hdc, int part, int state, const RECT& r) {
  switch (part) {
    case BP_PUSHBUTTON:
      if (state == PBS_DEFAULTED) {
        FrameRect(hdc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        Frame(hdc, Inset(r, 1), DFC_BUTTON, DFCS_BUTTONPUSH);
      } else {
        Frame(hdc, r, DFC_BUTTON, DFCS_BUTTONPUSH | FrameStateOf(state));
      }
      return true;
    case BP_CHECKBOX: {
      const int group = state <= 0 ? 0 : (state - 1) / 4;
      const UINT kind = group == 2 ? DFCS_BUTTON3STATE | DFCS_CHECKED : DFCS_BUTTONCHECK | (group ? DFCS_CHECKED : 0);
      Frame(hdc, Centred(r, 13, 13), DFC_BUTTON, kind | FrameStateOf(InGroup(state)));
      return true;
    }
    case BP_RADIOBUTTON:
      Frame(hdc, Centred(r, 13, 13), DFC_BUTTON,
            DFCS_BUTTONRADIO | (state >= RBS_CHECKEDNORMAL ? DFCS_CHECKED : 0) | FrameStateOf(InGroup(state)));
      return true;
    case BP_GROUPBOX: Edge(hdc, r, EDGE_ETCHED, BF_RECT); return true;
    default: return false;
  }
}

UINT ScrollKind(int direction) {
  constexpr UINT kinds[] = {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT};
  return kinds[direction & 3];
}

bool ScrollBar(HDC hdc, int part, int state, const RECT& r) {
  switch (part) {
    case SBP_ARROWBTN:
      Frame(hdc, r, DFC_SCROLL, ScrollKind(state <= 0 ? 0 : (state - 1) / 4) | FrameStateOf(InGroup(state)));
      return true;
    case SBP_THUMBBTNHORZ:
    case SBP_THUMBBTNVERT: Edge(hdc, r, EDGE_RAISED, BF_RECT | BF_MIDDLE); return true;
    case SBP_LOWERTRACKHORZ:
    case SBP_UPPERTRACKHORZ:
    case SBP_LOWERTRACKVERT:
    case SBP_UPPERTRACKVERT: FillSys(hdc, r, state == SCRBS_PRESSED ? COLOR_3DDKSHADOW : COLOR_SCROLLBAR); return true;
    case SBP_SIZEBOX: Frame(hdc, r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP); return true;
    default: return false;
  }
}

UINT CaptionKind(int part) {
  switch (part) {
    case WP_MINBUTTON:
    case WP_MDIMINBUTTON: return DFCS_CAPTIONMIN;
    case WP_MAXBUTTON: return DFCS_CAPTIONMAX;
    case WP_RESTOREBUTTON:
    case WP_MDIRESTOREBUTTON: return DFCS_CAPTIONRESTORE;
    case WP_HELPBUTTON:
    case WP_MDIHELPBUTTON: return DFCS_CAPTIONHELP;
    default: return DFCS_CAPTIONCLOSE;
  }
}

bool Window(HDC hdc, int part, int state, const RECT& r) {
  if (part >= WP_CAPTION && part <= WP_SMALLMAXCAPTION) {
    FillSys(hdc, r, state == CS_INACTIVE || state == CS_DISABLED ? COLOR_INACTIVECAPTION : COLOR_ACTIVECAPTION);
    return true;
  }
  if (part >= WP_FRAMELEFT && part <= WP_SMALLFRAMEBOTTOM) {
    FillSys(hdc, r, state == FS_INACTIVE ? COLOR_INACTIVEBORDER : COLOR_ACTIVEBORDER);
    return true;
  }
  if (part >= WP_MINBUTTON && part <= WP_MDIHELPBUTTON) {
    Frame(hdc, r, DFC_CAPTION, CaptionKind(part) | FrameStateOf(state));
    return true;
  }
  if (part == WP_DIALOG) {
    FillSys(hdc, r, COLOR_BTNFACE);
    return true;
  }
  return false;
}

bool Toolbar(HDC hdc, int part, int state, const RECT& r) {
  if (part == TP_SEPARATOR) {
    Edge(hdc, Centred(r, 2, Height(r)), EDGE_ETCHED, BF_LEFT);
    return true;
  }
  if (part == TP_SEPARATORVERT) {
    Edge(hdc, Centred(r, Width(r), 2), EDGE_ETCHED, BF_TOP);
    return true;
  }
  if (state == TS_HOT) Edge(hdc, r, BDR_RAISEDINNER, BF_RECT);
  if (state == TS_PRESSED || state == TS_CHECKED || state == TS_HOTCHECKED) Edge(hdc, r, BDR_SUNKENOUTER, BF_RECT);
  return part >= TP_BUTTON && part <= TP_SPLITBUTTONDROPDOWN;
}

bool Progress(HDC hdc, int part, const RECT& r) {
  if (part == PP_BAR || part == PP_BARVERT) {
    FillSys(hdc, r, COLOR_BTNFACE);
    Edge(hdc, r, BDR_SUNKENOUTER, BF_RECT);
  } else {
    FillSys(hdc, Inset(r, 1), COLOR_HIGHLIGHT);
  }
  return true;
}
}  // namespace

bool DrawClassicPart(ThemeClass themeClass, HDC hdc, int part, int state, const RECT& r) {
  switch (themeClass) {
    case ThemeClass::Button: return Button(hdc, part, state, r);
    case ThemeClass::Edit:
      FillSys(hdc, r, state == ETS_DISABLED ? COLOR_BTNFACE : COLOR_WINDOW);
      Edge(hdc, r, EDGE_SUNKEN, BF_RECT);
      return true;
    case ThemeClass::ScrollBar: return ScrollBar(hdc, part, state, r);
    case ThemeClass::Window: return Window(hdc, part, state, r);
    case ThemeClass::Toolbar: return Toolbar(hdc, part, state, r);
    case ThemeClass::Status:
      if (part == SP_GRIPPER) Frame(hdc, r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
      else Edge(hdc, r, BDR_SUNKENOUTER, BF_RECT);
      return true;
    case ThemeClass::Tooltip:
      if (part == TTP_CLOSE) return Window(hdc, WP_CLOSEBUTTON, state, r);
      FillSys(hdc, r, COLOR_INFOBK);
      FrameRect(hdc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
      return true;
    case ThemeClass::Progress: return Progress(hdc, part, r);
    default: Edge(hdc, r, EDGE_RAISED, BF_RECT | BF_MIDDLE); return true;
  }
}

}  // namespace kestrel::platform
