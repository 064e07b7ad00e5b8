#include "html/internal/HTMLLayout.h"

#include <algorithm>

#include "html/HTMLData.h"

namespace kestrel {

int MeasureHTMLLine(TVnHTMLData& data, int first) {
  const int count = data.ItemCount();
  long long sum = 0;
  int height = 0;
  int descent = 0;
  int k = first;
  do {
    TVnHTMLItem* item = data.Item(k);
    data.SetIndexHint(k);
    const int width = item->GetWidth();
    item->FWidth = ClampHTMLSize(width);
    sum += width;
    int baseLine = 0;
    const int h = item->GetHeight(baseLine);
    item->FHeight = ClampHTMLSize(h);
    if (item->ItemType() == hitIndent && (item->FBoolState & hbsAbsolute)) sum = width;
    if (item->ItemType() == hitChar && item->IsSub()) {
      baseLine += h / 4;
      item->FHeight = ClampHTMLSize(item->FHeight + item->FHeight / 4);
    } else if (item->ItemType() == hitChar && item->IsSuper()) {
      baseLine -= h / 2;
      item->FHeight = ClampHTMLSize(item->FHeight + item->FHeight * 2 / 3);
    }
    descent = std::max(descent, baseLine);
    height = std::max<int>(height, item->FHeight);
    ++k;
  } while (k < count && !data.Item(k)->IsBreakItem());
  data.SetIndexHint(-1);

  TVnHTMLItem* head = data.Item(first);
  head->FHeight = ClampHTMLSize(height);
  head->FWidth = ClampHTMLSize(head->FIndent + sum);
  if (head->IsBreakItem()) static_cast<TVnHTMLBreakItem*>(head)->SetDescent(descent);
  return k;
}

void MeasureHTMLLines(TVnHTMLData& data) {
  for (int i = 0; i < data.ItemCount();) i = MeasureHTMLLine(data, i);
  platform::SIZE size{};
  long long cy = 0;
  for (int i = 0; i < data.ItemCount(); ++i) {
    const TVnHTMLItem* item = data.Item(i);
    if (!item->IsBreakItem()) continue;
    size.cx = std::max<platform::LONG>(size.cx, item->FWidth);
    cy += item->FHeight + data.LineGap();
  }
  size.cy = static_cast<platform::LONG>(std::clamp<long long>(cy, INT32_MIN, INT32_MAX));
  data.SetTextSize(size);
}

}  // namespace kestrel
