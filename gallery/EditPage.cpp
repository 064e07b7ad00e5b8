#include "EditPage.h"
#include "GalleryPages.h"

#include "edit/KsEdit.h"
#include "framework/Label.h"
#include "framework/SysUtils.h"

namespace kestrel::gallery {

namespace {

// An edit with its caption linked above it: the caption follows the edit wherever it goes.
TKsEdit* AddEdit(TForm* form, int left, int top, int width, const String& caption) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetBounds(0, 0, width, 16);
  label->SetCaption(caption);
  auto* edit = new TKsEdit(form);
  edit->SetParent(form);
  edit->SetBounds(left, top, width, 24);
  edit->SetLinkedControlSpacing(2);
  edit->SetLinkedControl(label);
  return edit;
}

const char16_t kWrappedText[] =
    u"A multi-line edit wraps its words at the right margin, so a long paragraph reads as a column "
    u"of lines. Resize the page and the lines follow.\r\n"
    u"A second paragraph starts after a line break; the caret, the selection and undo all work "
    u"in character positions, whatever the wrapping.";

}  // namespace

TEditForm::TEditForm(TComponent* owner) : TForm(owner) {
  SetCaption(u"Kestrel gallery: edit controls");
  SetClientWidth(560);
  SetClientHeight(330);
  AddHeading(this, u"Single-line edits", 8);
  const int left = 12, width = 220, step = 48;
  int top = 52;
  TKsEdit* password = AddEdit(this, left, top, width, u"Password (hidden as you type)");
  password->SetPasswordChar(u"*");
  password->SetText(u"secret");
  TKsEdit* cue = AddEdit(this, left, top += step, width, u"Cue banner (shown while empty)");
  cue->SetCueBanner(u"Search the documents");
  TKsEdit* readOnly = AddEdit(this, left, top += step, width, u"Read-only");
  readOnly->SetText(u"Select and copy, but not change");
  readOnly->SetReadOnly(true);
  TKsEdit* limited = AddEdit(this, left, top += step, width, u"At most 8 characters");
  limited->SetMaxLength(8);
  limited->SetText(u"12345678");
  TKsEdit* upper = AddEdit(this, left, top += step, width, u"Upper case");
  upper->SetCharCase(eecUpperCase);
  upper->SetText(u"typed in capitals");
  TKsEdit* right = AddEdit(this, left, top += step, width, u"Right-aligned");
  right->SetAlignment(taRightJustify);
  right->SetText(u"12,345.67");

  auto* wrapHeading = new TLabel(this);
  wrapHeading->SetParent(this);
  wrapHeading->SetBounds(260, 8, 280, 17);
  wrapHeading->Font()->SetStyle({fsBold});
  wrapHeading->SetCaption(u"Multi-line, word wrap");
  TKsEdit* memo = AddEdit(this, 260, 52, 288, u"Notes");
  memo->SetMultiline(true);
  memo->SetWordWrap(true);
  memo->SetScrollBars(ssVertical);
  memo->SetHeight(120);
  memo->SetText(kWrappedText);
  // Long lines without wrapping: both owner-drawn bars with their thumbs, and the corner.
  TKsEdit* log = AddEdit(this, 260, 196, 288, u"Log, no wrap");
  log->SetMultiline(true);
  log->SetScrollBars(ssBoth);
  log->SetHeight(124);
  String lines;
  for (int i = 1; i <= 24; ++i)
    lines += u"Entry " + IntToStr(i) + u": a line longer than the edit is wide, scrolled sideways\r\n";
  log->SetText(lines);
  SetActiveControl(memo);  // the cue banner shows only while its edit is unfocused
}

}  // namespace kestrel::gallery

KESTREL_GALLERY_PAGE("edit", u"Edit", kestrel::gallery::TEditForm)
