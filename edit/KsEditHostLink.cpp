#include "edit/KsEditHostLink.h"

#include "edit/KsCustomEdit.h"

namespace kestrel {

bool TKsEditHostLink::Multiline() const { return edit_.Multiline(); }
bool TKsEditHostLink::WordWrap() const { return edit_.WordWrap(); }
bool TKsEditHostLink::RightAlignedText() const { return edit_.RightAlignedText(); }
int TKsEditHostLink::TabSpaces() const { return edit_.TabSpaces(); }
char16_t TKsEditHostLink::PasswordChar() const { return edit_.PasswordMask(); }
int TKsEditHostLink::LeftMargin() const { return edit_.LeftMargin(); }
int TKsEditHostLink::RightMargin() const { return edit_.RightMargin(); }
platform::RECT TKsEditHostLink::EditRect() const { return edit_.EditRect(); }
bool TKsEditHostLink::HasWindow() const { return edit_.HandleAllocated(); }

platform::SIZE TKsEditHostLink::TextExtent(std::u16string_view s) const { return edit_.TextPainter().TextSize(s); }

int TKsEditHostLink::TextFit(std::u16string_view s, int width) const { return edit_.TextPainter().TextFit(s, width); }

bool TKsEditHostLink::RunExtents(std::u16string_view s, std::vector<int>& extents) const {
  return edit_.TextPainter().RunExtents(s, extents);
}

int TKsEditHostLink::PrintableAsciiAdvance() const { return edit_.TextPainter().PrintableAsciiAdvance(); }

void TKsEditHostLink::UpdateScrollBars() { edit_.UpdateScrollBars(); }
void TKsEditHostLink::TextChanged() {
  if (edit_.core_) edit_.core_->KeepInText();
  edit_.InvalidateEditRect();
  edit_.TextContentChanged();
}

void TKsEditHostLink::TextReset() {
  if (edit_.core_) edit_.core_->TextReset();
  edit_.TextContentChanged();
}

bool TKsEditHostLink::ResplitPending() const { return edit_.FUpdate; }

}  // namespace kestrel
