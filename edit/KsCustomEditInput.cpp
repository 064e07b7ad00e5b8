// TCustomKsEdit: the mouse (click series, word selection, drag pending), the keys, the typed
// characters and the input methods.

#include <cstdlib>

#include "edit/KsCustomEdit.h"
#include "edit/KsEditDragDrop.h"
#include "edit/KsEditPainter.h"
#include "framework/Form.h"
#include "platform/core/ScopeGuard.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/SystemColors.h"
#include "platform/text/Font.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Ime.h"
#include "platform/window/KeyboardLayout.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

// Keys whose characters the key commands deal with.
bool LeftToCommands(char16_t ch) {
  return ch == pf::VK_BACK || ch == pf::VK_TAB || ch == pf::VK_RETURN || ch == pf::VK_ESCAPE || ch == 127;
}

String CodePointText(char32_t code) {
  if (code < 0x10000) return String(1, static_cast<char16_t>(code));
  code -= 0x10000;
  return String{static_cast<char16_t>(0xD800 + (code >> 10)), static_cast<char16_t>(0xDC00 + (code & 0x3FF))};
}

bool LeftButtonHeld() { return pf::GetKeyState(pf::VK_LBUTTON) < 0; }

}  // namespace

// ---- keys ----

void TCustomKsEdit::KeyDownMessage(TMessage& m) {
  // What an earlier key translated into is never typed for this one.
  charInput_.KeyDown();
  const auto key = static_cast<pf::UINT>(pf::LOWORD(m.WParam));
  const bool ctrl = pf::GetKeyState(pf::VK_CONTROL) < 0;
  if (FMultiline && ctrl && key == pf::VK_RETURN) {
    // Raises the key press with Enter, which types nothing.
    Perform(pf::WM_CHAR, pf::VK_RETURN, m.LParam);
    return;
  }
  bool translated = false;
  if (!ctrl && key != pf::VK_BACK && key != pf::VK_TAB && key != pf::VK_RETURN && key != pf::VK_ESCAPE) {
    pf::BYTE state[256] = {};
    pf::GetKeyboardState(state);
    pf::WCHAR chars[5] = {};
    const auto scanCode = static_cast<pf::UINT>((m.LParam >> 16) & 0xFF);
    const int count = pf::ToUnicode(key, scanCode, state, chars, 5, pf::kToUnicodeNoStateChange);
    if (count > 0) translated = charInput_.Translated(std::u16string_view(chars, static_cast<size_t>(count)));
  }
  TKsXPThemedControl::WndProc(m);
  if (translated) m.Result = 0;
}

void TCustomKsEdit::KeyDown(pf::WORD& key, TShiftState shift) {
  TKsXPThemedControl::KeyDown(key, shift);
  // While the left button selects text, keys run no commands.
  if (key == 0 || FSelecting) return;
  const bool completesChord = keyDispatch_.ChordPending();
  const TKsCommand command =
      keyDispatch_.KeyDown(*FCommandCenter, key, shift, TKsKeyDispatch::TLayout{FMultiline, FRightAlignedText});
  // A key that runs a command or belongs to a chord types nothing (Ctrl+K then 3 sets a bookmark).
  if (command != 0 || completesChord || keyDispatch_.ChordPending())
    charInput_.DropKeyText(completesChord && !keyDispatch_.ChordPending());
  if (command == 0) return;
  CommandCenter(command, 0, {});
  key = 0;
}

void TCustomKsEdit::KeyPress(char16_t& key) {
  TKsXPThemedControl::KeyPress(key);
  if (LeftToCommands(key) || FSelecting) return;
  if (ReadOnly() || key < 32) {
    charInput_.ClearKeys();
    return;
  }
  // Characters arrive as UTF-16 and are typed as they are.
  const String text = charInput_.CharTyped(key);
  if (!text.empty() && core_->RoomToType()) TypeChars(text);
}

void TCustomKsEdit::TypeChars(const String& text) {
  painter_->BeginTyping();
  const pf::ScopeGuard endTyping([this] { painter_->EndTyping(); });
  CommandCenter(kscmd::Type, 0, text);
  InvalidateEditRect();
}

void TCustomKsEdit::UniCharMessage(TMessage& m) {
  // The probe asks whether the control takes WM_UNICHAR at all.
  if (m.WParam == pf::UNICODE_NOCHAR) {
    m.Result = pf::TRUE;
    return;
  }
  m.Result = 0;
  const auto code = static_cast<char32_t>(m.WParam);
  if (ReadOnly() || code < 32 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return;
  if (core_->RoomToType()) TypeChars(CodePointText(code));
}

// ---- input methods ----

void TCustomKsEdit::StartComposition() {
  pf::HIMC context = pf::ImmGetContext(Handle());
  if (!context) return;
  pf::LOGFONTW font{};
  if (pf::GetObjectW(Font()->Handle(), sizeof font, &font) > 0) pf::ImmSetCompositionFontW(context, &font);
  pf::COMPOSITIONFORM form;
  form.dwStyle = pf::CFS_POINT | pf::CFS_RECT;
  const TPoint caret = PosFromCaret(CaretX(), CaretY());
  form.ptCurrentPos = caret;
  form.rcArea = TRect{FEditRect.left + FLeftMargin, FEditRect.top, FEditRect.right - FRightMargin, FEditRect.bottom};
  pf::ImmSetCompositionWindow(context, &form);
  pf::ImmReleaseContext(Handle(), context);
}

void TCustomKsEdit::CompositionMessage(TMessage& m) {
  if (!(m.LParam & pf::GCS_RESULTSTR) || ReadOnly()) {
    TKsXPThemedControl::WndProc(m);
    return;
  }
  pf::HIMC context = pf::ImmGetContext(Handle());
  String result;
  const pf::LONG bytes = pf::ImmGetCompositionStringW(context, static_cast<pf::DWORD>(pf::GCS_RESULTSTR), nullptr, 0);
  if (bytes > 0) {
    result.resize(static_cast<size_t>(bytes) / sizeof(char16_t));
    pf::ImmGetCompositionStringW(context, static_cast<pf::DWORD>(pf::GCS_RESULTSTR), result.data(),
                                 static_cast<pf::DWORD>(bytes));
  }
  pf::ImmReleaseContext(Handle(), context);
  if (const size_t zero = result.find(u'\0'); zero != String::npos) result.resize(zero);
  if (!result.empty()) CommandCenter(kscmd::TypeComposition, 0, result);
  InvalidateEditRect();
  m.Result = 0;
}

// ---- mouse ----

bool TCustomKsEdit::FocusingPress(int x, int y) {
  if (!CanFocus() || !Enabled() || Designing() || Focused()) return false;
  const TKsCaretPos pos = CaretFromPos(Point(x, y));
  // A selection the program made stays no longer than the click that puts the caret elsewhere
  // (the anchor and the range move to the caret together), unless the press may drag it.
  if (!MayDragFrom(pos)) core_->Deselect();
  core_->SetCaretXY(pos);
  core_->AnchorFollows();
  if (FAutoSelect) SelectAll();
  return true;
}

void TCustomKsEdit::ButtonDownMessage(TMessage& m) {
  pressing_ = true;
  focusingPress_ = FocusingPress(pf::GET_X_LPARAM(m.LParam), pf::GET_Y_LPARAM(m.LParam));
  TKsXPThemedControl::WndProc(m);
  pressing_ = false;
  focusingPress_ = false;
}

bool TCustomKsEdit::MayDragFrom(TKsCaretPos pos) const {
  // A password never leaves the edit, not even by dragging.
  return FDragAllowed && PasswordMask() == 0 && InsideSelection(pos);
}

bool TCustomKsEdit::InsideSelection(TKsCaretPos pos) const {
  if (!core_->Selected()) return false;
  const int at = core_->CharFromCaret(pos.X, pos.Y);
  const TKsCaretPos first = core_->SelFirst(), last = core_->SelLast();
  return at >= core_->CharFromCaret(first.X, first.Y) && at < core_->CharFromCaret(last.X, last.Y);
}

void TCustomKsEdit::SelectWordAt(TKsCaretPos pos) {
  core_->SetCaretXY(pos);
  const TKsCaretPos start = core_->GetPrevWord(pos);
  const TKsCaretPos end = core_->GetNextWord(pos);
  core_->SetCaretXY(start);
  core_->SetAnchorToCaret();
  core_->ExtendCaretTo(end);
  InvalidateEditRect();
}

void TCustomKsEdit::LeftPress(TShiftState shift, TKsCaretPos pos, bool focusingPress) {
  // The press that focused an auto-selecting edit keeps everything selected.
  if (focusingPress && FAutoSelect) return;
  const bool mayDrag = MayDragFrom(pos);
  core_->SetCaretXY(pos);
  if (mayDrag && !FWaitForDragging && !FDragging) {
    FWaitForDragging = true;
    dragStartCaret_ = core_->CaretXY();
    return;
  }
  if (!focusingPress) {
    if (shift.Contains(ssShift)) core_->ExtendSelection(core_->CaretX(), core_->CaretY());
    else {
      core_->Deselect();
      core_->AnchorFollows();
    }
  }
  FSelecting = true;
  InvalidateEditRect();
}

void TCustomKsEdit::TakeFocus() {
  if (!CanFocus() || Focused()) return;
  // The form must see a real change of focus.
  if (TCustomForm* form = GetParentForm(); form && form->ActiveControl() == this) form->SetActiveControl(nullptr);
  SetFocus();
}

void TCustomKsEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  FMouseDownPos = Point(x, y);
  const bool focusingPress = focusingPress_;
  focusingPress_ = false;
  const TKsCaretPos pos = CaretFromPos(Point(x, y));
  int clicks = 0;
  if (button == mbLeft) clicks = clickCounter_.Press(x, y, pf::GetMessageTime());
  // The platform flags every second press as a double click; the series decides: a press after
  // the third starts a new one.
  if (button == mbLeft && shift.Contains(ssDouble) && clicks == 2) SelectWordAt(pos);
  else if (button == mbLeft) LeftPress(shift, pos, focusingPress);
  else if (button == mbMiddle) PastePrimarySelection(x, y);
  if (clicks == 3) {
    SelectAll();
    // The mouse trembling while the button is still down must not shrink the selection again.
    FSelecting = false;
  }
  TakeFocus();
  TKsXPThemedControl::MouseDown(button, shift, x, y);
}

void TCustomKsEdit::MouseMove(TShiftState shift, int x, int y) {
  if (FWaitForDragging && LeftButtonHeld()) {
    // Outside the platform's drag rectangle in either direction.
    if (std::abs(x - FMouseDownPos.x) >= pf::GetSystemMetrics(pf::SM_CXDRAG) ||
        std::abs(y - FMouseDownPos.y) >= pf::GetSystemMetrics(pf::SM_CYDRAG)) {
      FWaitForDragging = false;
      StartDrag();
    }
  } else if (FDragging) {
    core_->SetCaretXY(CaretFromPos(Point(x, y)));
  } else if (FSelecting && LeftButtonHeld()) {
    core_->ExtendCaretTo(CaretFromPos(Point(x, y)));
    InvalidateEditRect();
  }
  TKsXPThemedControl::MouseMove(shift, x, y);
}

void TCustomKsEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  FSelecting = false;
  if (FWaitForDragging) {
    // A press inside the selection that never became a drag: a plain click there.
    FWaitForDragging = false;
    core_->Deselect();
    core_->AnchorFollows();
    InvalidateEditRect();
  }
  TKsXPThemedControl::MouseUp(button, shift, x, y);
}

void TCustomKsEdit::StartDrag() { TKsEditDragDrop::Start(*this); }

void TCustomKsEdit::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
  TKsEditDragDrop::Over(*this, source, x, y, state, accept);
  // The program's handler has the last word.
  if (OnDragOver) OnDragOver(this, source, x, y, state, accept);
}

void TCustomKsEdit::DragDrop(TObject* source, int x, int y) {
  TKsEditDragDrop::Drop(*this, source, x, y);
  TKsXPThemedControl::DragDrop(source, x, y);
}

void TCustomKsEdit::DoEndDrag(TObject* target, int x, int y) {
  TKsEditDragDrop::Ended(*this, target);
  TKsXPThemedControl::DoEndDrag(target, x, y);
}

void TCustomKsEdit::DragCancelled() {
  FWaitForDragging = false;
  if (!FDragging) return;
  FDragging = false;
  core_->SetCaretXY(dragStartCaret_);
}

// ---- the PRIMARY selection ----

void TCustomKsEdit::OfferPrimarySelection() {
  if (!core_->Selected() || PasswordMask() != 0 || LoadingOrReading()) return;
  pf::SetPrimarySelectionText(core_->SelText());
}

void TCustomKsEdit::PastePrimarySelection(int x, int y) {
  if (ReadOnly()) return;
  const String text = pf::GetPrimarySelectionText();
  if (text.empty()) return;
  core_->SetCaretXY(CaretFromPos(Point(x, y)));
  core_->Deselect();
  core_->AnchorFollows();
  if (core_->PasteText(text)) SetModified(true);
  InvalidateEditRect();
}

}  // namespace kestrel
