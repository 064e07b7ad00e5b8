#pragma once
// The edit tests' stage: a shown form of the headless backend with one focused edit on it, and
// the ways a test talks to the edit's window.

#include "edit/KsEdit.h"
#include "tests/framework/visual/VisualTestSupport.h"

namespace kestrel::testing {

namespace pf = platform;

// A shown form with one focused edit on it.
struct EditOnForm {
  ShownForm form{400, 300};
  TKsEdit* edit;
  explicit EditOnForm(bool multiline = false) {
    edit = new TKsEdit(form.form);
    edit->SetParent(form.form);
    edit->SetMultiline(multiline);
    edit->SetBounds(10, 10, 200, multiline ? 120 : 24);
    edit->SetFocus();
    Pump();
  }
  pf::LRESULT Send(pf::UINT msg, pf::WPARAM w = 0, pf::LPARAM l = 0) const {
    return pf::SendMessageW(edit->Handle(), msg, w, l);
  }
  // Client point of the caret position of character Index.
  pf::POINT ScreenPointOf(int index) const {
    const TKsCaretPos pos = edit->CaretFromChar(index);
    const TPoint p = edit->PosFromCaret(pos.X, pos.Y);
    return edit->ClientToScreen(Point(p.x + 1, p.y + 2));
  }
  void ClickAt(int index) {
    pf::InjectClick(ScreenPointOf(index));
    Pump();
  }
};

}  // namespace kestrel::testing
