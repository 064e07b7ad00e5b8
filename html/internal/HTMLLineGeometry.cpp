#include "html/internal/HTMLLineGeometry.h"

#include <algorithm>

#include "html/HTMLRender.h"

namespace kestrel {

int THTMLLineGeometry::LineStart(const TVnHTMLBreakItem& line, int available) {
  const int width = line.FWidth;
  switch (line.Alignment()) {
    case 1: return (std::max(width, available) - width - 1) / 2;
    case 2: return std::max(width, available) - width - 1;
    default: return line.FIndent;
  }
}

int THTMLLineGeometry::Advance(TVnHTMLItem& item, int x) {
  switch (item.ItemType()) {
    case hitChar:
    case hitVar:
    case hitInput:
    case hitControl: return x + item.FWidth;
    case hitIndent: return (item.FBoolState & hbsAbsolute) ? item.FWidth : x + item.FWidth;
    case hitBitmap: return x + item.FWidth + 1;
    case hitLI: return x + ListNumberWidth(static_cast<TVnHTMLBreakItem&>(item));
    default: return x;
  }
}

String THTMLLineGeometry::ListNumberText(const TVnHTMLBreakItem& item) {
  if (item.FListItemN < 1) return {};
  const std::string number = std::to_string(item.FListItemN) + ".";
  return String(number.begin(), number.end());
}

int THTMLLineGeometry::ListNumberWidth(TVnHTMLBreakItem& item) {
  const String text = ListNumberText(item);
  if (text.empty() || !item.FOwner || !item.FOwner->Render()) return 0;
  THTMLMeasurer& measurer = item.FOwner->Render()->Measurer();
  if (!measurer.Valid()) return 0;
  return measurer.Font(item.FFontRef, item.EffectiveFontHeight(), item.FontStyle, item.FOwner->Charset())
      .TextWidth(text);
}

int THTMLLineGeometry::BaselineShift(TVnHTMLItem& item) {
  if (!item.IsSuper() && !item.IsSub()) return 0;
  int descent = 0;
  const int height = item.GetHeight(descent);
  return item.IsSuper() ? -height / 2 : height / 4;
}

TVnHTMLItem* THTMLLineGeometry::ItemAt(TVnHTMLData& data, int px, int py, int available) {
  int y0 = 0;
  const int count = data.ItemCount();
  for (int i = 0; i < count; ++i) {
    TVnHTMLItem* first = data.Item(i);
    if (!first->IsBreakItem()) continue;
    auto& line = static_cast<TVnHTMLBreakItem&>(*first);
    const int bottom = y0 + line.FHeight;
    if (bottom <= py) {
      y0 = bottom;
      continue;
    }
    // The first line reaching below the point is the only one searched.
    int x = Advance(line, LineStart(line, available));
    for (int j = i + 1; j < count && !data.Item(j)->IsBreakItem(); ++j) {
      TVnHTMLItem& item = *data.Item(j);
      const bool shifted =
          (item.ItemType() == hitChar || item.ItemType() == hitVar) && (item.IsSub() || item.IsSuper());
      int descent = 0;
      const int h = shifted ? item.GetHeight(descent) : item.FHeight;
      const int s = shifted && item.IsSuper() ? h / 2 : 0;
      if (item.ItemType() == hitIndent && (item.FBoolState & hbsAbsolute)) {
        x = item.FWidth;
        continue;
      }
      if (x <= px && px <= x + item.FWidth && bottom - h - s <= py && py <= bottom - s) return &item;
      x = Advance(item, x);
    }
    return nullptr;
  }
  return nullptr;
}

}  // namespace kestrel
