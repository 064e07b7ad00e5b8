// TCustomKsEdit: the window messages the control answers itself (text, clipboard, the EM_
// family, focus, scrolling, the context menu's commands); everything else goes on to the base.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "edit/KsCustomEdit.h"
#include "edit/KsEditContextMenu.h"
#include "edit/KsEditMessages.h"
#include "edit/KsEditPainter.h"
#include "framework/ControlMessages.h"
#include "framework/PopupMenu.h"
#include "platform/window/Ime.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

const pf::WCHAR* TextArgument(pf::LPARAM lParam) { return reinterpret_cast<const pf::WCHAR*>(lParam); }

// A NUL-terminated text from a message, where it lies; empty for a null pointer.
std::u16string_view TextOf(pf::LPARAM lParam) {
  const pf::WCHAR* text = TextArgument(lParam);
  return text ? std::u16string_view(text) : std::u16string_view();
}

}  // namespace

pf::LRESULT TCustomKsEdit::DialogCode() const {
  pf::LRESULT code = TKsXPThemedControl::DialogCode() & ~pf::DLGC_WANTALLKEYS;
  code |= pf::DLGC_WANTARROWS | pf::DLGC_HASSETSEL | pf::DLGC_WANTCHARS;
  if (WantTabs()) code |= pf::DLGC_WANTTAB;
  if (FHandleDialogKeys || (FMultiline && FWantReturns)) code |= pf::DLGC_WANTALLKEYS;
  return code;
}

void TCustomKsEdit::WndProc(TMessage& message) {
  if (HandleEditMessage(message) || HandleTextMessage(message) || HandleLineMessage(message)) return;
  TKsXPThemedControl::WndProc(message);
}

bool TCustomKsEdit::HandleEditMessage(TMessage& m) {
  switch (m.Msg) {
    case pf::WM_NCCALCSIZE: CalcNonClientSize(m); return true;
    case pf::WM_NCPAINT: PaintNonClient(m); return true;
    case pf::WM_ERASEBKGND:
      painter_->EraseBackground(reinterpret_cast<pf::HDC>(m.WParam));
      m.Result = 1;
      return true;
    case pf::WM_SIZE:
      TKsXPThemedControl::WndProc(m);
      SizeChanged();
      return true;
    case pf::WM_WINDOWPOSCHANGED:
      TKsXPThemedControl::WndProc(m);
      PlaceLinkedControl();
      return true;
    case pf::WM_SETFOCUS:
      TKsXPThemedControl::WndProc(m);
      GotFocus();
      return true;
    case pf::WM_KILLFOCUS:
      TKsXPThemedControl::WndProc(m);
      LostFocus(reinterpret_cast<pf::HWND>(m.WParam));
      return true;
    case pf::WM_ENABLE:
      TKsXPThemedControl::WndProc(m);
      if (m.WParam && Focused()) MakeCaret();
      else KillCaret();
      return true;
    case pf::WM_VSCROLL:
      VertScroll(static_cast<TKsScrollRequest>(pf::LOWORD(m.WParam)), ThumbPosition(pf::SB_VERT, pf::HIWORD(m.WParam)));
      return true;
    case pf::WM_HSCROLL:
      HorzScroll(static_cast<TKsScrollRequest>(pf::LOWORD(m.WParam)), ThumbPosition(pf::SB_HORZ, pf::HIWORD(m.WParam)));
      return true;
    case pf::WM_MOUSEWHEEL:
      // A single-line edit leaves the wheel to whoever else scrolls.
      if (!FMultiline) return false;
      MouseWheel(static_cast<short>(pf::HIWORD(m.WParam)));
      return true;
    case pf::WM_KEYDOWN: KeyDownMessage(m); return true;
    case pf::WM_LBUTTONDOWN:
    case pf::WM_LBUTTONDBLCLK:
    case pf::WM_RBUTTONDOWN:
    case pf::WM_MBUTTONDOWN: ButtonDownMessage(m); return true;
    case pf::WM_DEADCHAR: charInput_.DeadChar(static_cast<char16_t>(m.WParam)); return true;
    case pf::WM_UNICHAR: UniCharMessage(m); return true;
    case pf::WM_IME_STARTCOMPOSITION:
      StartComposition();
      TKsXPThemedControl::WndProc(m);
      return true;
    case pf::WM_IME_COMPOSITION: CompositionMessage(m); return true;
    case pf::WM_INPUTLANGCHANGE:
      FCharset = static_cast<pf::BYTE>(m.WParam);
      TKsXPThemedControl::WndProc(m);
      return true;
    case pf::WM_COMMAND:
      if (m.LParam != 0) return false;
      MenuCommand(pf::LOWORD(m.WParam));
      return true;
    case CM_FONTCHANGED:
      TKsXPThemedControl::WndProc(m);
      FTextPainter.reset();
      FontMetricsChanged();
      return true;
    case CM_TEXTCHANGED:
      // The text lives in the store; the window answers WM_GETTEXT from there.
      return true;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      // The base keeps the hover state and fires OnMouseEnter / OnMouseLeave.
      const bool wasOver = MouseInControl();
      TKsXPThemedControl::WndProc(m);
      if (m.LParam != 0 || MouseInControl() == wasOver) return true;
      if (MouseInControl()) MouseEnter();
      else MouseLeave();
      return true;
    }
    case CM_ENABLEDCHANGED:
      TKsXPThemedControl::WndProc(m);
      Invalidate();
      return true;
    default: return false;
  }
}

bool TCustomKsEdit::HandleTextMessage(TMessage& m) {
  switch (m.Msg) {
    case pf::WM_SETTEXT: SetTextMessage(m); return true;
    case pf::WM_GETTEXT: GetTextMessage(m); return true;
    case pf::WM_GETTEXTLENGTH: m.Result = core_->TextLength(); return true;
    case pf::WM_CUT: CommandCenter(kscmd::Cut, 0, {}); return true;
    case pf::WM_COPY: CommandCenter(kscmd::Copy, 0, {}); return true;
    case pf::WM_PASTE: CommandCenter(kscmd::Paste, 0, {}); return true;
    case pf::WM_CLEAR:
      // Clearing is deleting the selection, which read-only forbids.
      if (!ReadOnly()) SetSelText(String());
      return true;
    case ksem::EM_GETSEL: GetSelMessage(m); return true;
    case ksem::EM_SETSEL: SetSelMessage(m); return true;
    case ksem::EM_REPLACESEL:
      if (m.WParam != 0) core_->DeleteSelection();
      SetSelText(String(TextOf(m.LParam)));
      return true;
    case ksem::EM_CANUNDO: m.Result = CanUndo() ? 1 : 0; return true;
    case ksem::EM_UNDO:
      m.Result = CanUndo() ? 1 : 0;
      CommandCenter(kscmd::Undo, 0, {});
      return true;
    default: return false;
  }
}

bool TCustomKsEdit::HandleLineMessage(TMessage& m) {
  switch (m.Msg) {
    case ksem::EM_GETLINECOUNT: m.Result = std::max(core_->Lines().Count(), 1); return true;
    case ksem::EM_LINEINDEX: LineIndexMessage(m); return true;
    case ksem::EM_LINEFROMCHAR: {
      int paragraph = 0, offset = 0;
      // -1 asks for the line of the selection's start, as on the platform.
      const int index = static_cast<int>(static_cast<pf::LONG>(m.WParam));
      const TKsCaretPos pos = core_->CaretFromChar(index == -1 ? SelStart() : index);
      core_->Lines().CaretToParagraph(pos.X, pos.Y, offset, paragraph);
      m.Result = paragraph;
      return true;
    }
    case ksem::EM_GETLINE: GetLineMessage(m); return true;
    case ksem::EM_GETFIRSTVISIBLELINE: m.Result = core_->TopLine(); return true;
    case ksem::EM_SCROLL: Scroll(static_cast<int>(m.WParam & 0xFF)); return true;
    case ksem::EM_LINESCROLL: {
      // Any count scrolls at most to an end of the text.
      const std::int64_t top = std::int64_t{core_->TopLine()} + static_cast<pf::LONG>(m.LParam);
      core_->SetTopLine(static_cast<int>(std::clamp<std::int64_t>(top, 0, core_->LinesCount())));
      return true;
    }
    case ksem::EM_SCROLLCARET: ScrollCaret(); return true;
    case ksem::EM_POSFROMCHAR: {
      const TKsCaretPos pos = core_->CaretFromChar(static_cast<int>(m.WParam));
      const TPoint p = PosFromCaret(pos.X, pos.Y);
      m.Result = pf::MAKELONG(static_cast<pf::WORD>(p.x), static_cast<pf::WORD>(p.y));
      return true;
    }
    case ksem::EM_SETRECT: SetRectMessage(m, true); return true;
    case ksem::EM_SETRECTNP: SetRectMessage(m, false); return true;
    default: return false;
  }
}

void TCustomKsEdit::SetTextMessage(TMessage& m) {
  core_->ApplyText(TextOf(m.LParam));
  UpdateScrollBars();
  m.Result = 1;
}

void TCustomKsEdit::GetTextMessage(TMessage& m) const {
  auto* buffer = reinterpret_cast<pf::WCHAR*>(m.LParam);
  const auto size = static_cast<size_t>(m.WParam);
  m.Result = 0;
  // A password stays inside the control.
  if (!FPasswordChar.empty() || size == 0 || !buffer) return;
  const String text = core_->Text();
  const size_t count = std::min(text.size(), size - 1);
  std::copy_n(text.data(), count, buffer);
  buffer[count] = 0;
  m.Result = static_cast<pf::LRESULT>(count);
}

void TCustomKsEdit::GetSelMessage(TMessage& m) const {
  const int start = SelStart();
  const int end = start + SelLength();
  if (auto* p = reinterpret_cast<pf::DWORD*>(m.WParam)) *p = static_cast<pf::DWORD>(start);
  if (auto* p = reinterpret_cast<pf::DWORD*>(m.LParam)) *p = static_cast<pf::DWORD>(end);
  m.Result = pf::MAKELONG(static_cast<pf::WORD>(start), static_cast<pf::WORD>(end));
}

void TCustomKsEdit::SetSelMessage(TMessage& m) {
  const int start = static_cast<int>(static_cast<pf::LONG>(m.WParam));
  int end = static_cast<int>(static_cast<pf::LONG>(m.LParam));
  if (start == -1) {
    core_->Deselect();
    InvalidateEditRect();
    return;
  }
  if (start == 0 && end == -1) return SelectAll();
  // Any other negative end means the end of the text, as on the platform; both ends are clamped.
  const int length = core_->TextLength();
  if (end < 0) end = length;
  end = std::min(end, length);
  const int startAt = std::clamp(start, 0, length);
  if (startAt < end) {
    // The caret goes to the start: the selection is laid from the end backwards.
    SetSelStart(end);
    SetSelLength(startAt - end);
  } else {
    SetSelStart(startAt);
    SetSelLength(end - startAt);
  }
  InvalidateEditRect();
}

// Lines here are paragraphs throughout, as EM_GETLINECOUNT and EM_LINEFROMCHAR count them.
void TCustomKsEdit::LineIndexMessage(TMessage& m) const {
  const int line = static_cast<int>(static_cast<pf::LONG>(m.WParam));
  const TKsEditStrings& lines = core_->Lines();
  int paragraph = line;
  if (line == -1) {
    int offset = 0;
    lines.CaretToParagraph(core_->CaretX(), core_->CaretY(), offset, paragraph);
  } else if (line < 0 || line >= std::max(lines.Count(), 1)) {
    m.Result = -1;
    return;
  }
  m.Result = lines.Count() == 0 ? 0 : lines.CharFromCaret(0, lines.FirstLineOf(paragraph));
}

void TCustomKsEdit::GetLineMessage(TMessage& m) const {
  auto* buffer = reinterpret_cast<pf::WCHAR*>(m.LParam);
  const int paragraph = static_cast<int>(m.WParam);
  m.Result = 0;
  if (!buffer || !FPasswordChar.empty() || paragraph < 0 || paragraph >= core_->Lines().Count()) return;
  // The caller's buffer announces its size in its first 16-bit word.
  const auto room = static_cast<size_t>(static_cast<pf::WORD>(buffer[0]));
  const String text = core_->Lines().Strings(paragraph);
  const size_t count = std::min(text.size(), room);
  std::copy_n(text.data(), count, buffer);
  m.Result = static_cast<pf::LRESULT>(count);
}

void TCustomKsEdit::SetRectMessage(TMessage& m, bool invalidate) {
  const auto* r = reinterpret_cast<const pf::RECT*>(m.LParam);
  // No rectangle: back to the client rectangle, as the platform does.
  if (r) SetEditRect(*r);
  else ResetEditRect();
  // The wrap width is the rectangle's: the lines follow it at once.
  core_->Rewrap();
  UpdateScrollBars();
  if (invalidate) Invalidate();
}

void TCustomKsEdit::MenuCommand(pf::WORD item) {
  switch (item) {
    case ksmenu::SelectAll:
    case ksmenu::SelectAllOld: CommandCenter(kscmd::SelectAll, 0, {}); break;
    case ksmenu::Cut: CommandCenter(kscmd::Cut, 0, {}); break;
    case ksmenu::Copy: CommandCenter(kscmd::Copy, 0, {}); break;
    case ksmenu::Paste: CommandCenter(kscmd::Paste, 0, {}); break;
    case ksmenu::Delete: CommandCenter(kscmd::DeleteSelection, 0, {}); break;
    case ksmenu::Undo: CommandCenter(kscmd::Undo, 0, {}); break;
    default: break;
  }
  InvalidateEditRect();
}

void TCustomKsEdit::DoContextPopup(TPoint mousePos, bool& handled) {
  TKsXPThemedControl::DoContextPopup(mousePos, handled);
  const bool fromKeyboard = mousePos.x == -1 && mousePos.y == -1;
  const TRect client = ClientRect();
  const bool inside =
      mousePos.x >= client.left && mousePos.x < client.right && mousePos.y >= client.top && mousePos.y < client.bottom;
  if (handled || (PopupMenu() && PopupMenu()->AutoPopup()) || !FUseSystemMenu || (!fromKeyboard && !inside)) return;
  // A keyboard request comes as (-1, -1): open at the client's top-left corner.
  const TPoint screen = fromKeyboard ? ClientToScreen(Point(0, 0)) : ClientToScreen(mousePos);
  handled = TKsEditContextMenu::Show(*this, screen.x, screen.y);
}

}  // namespace kestrel
