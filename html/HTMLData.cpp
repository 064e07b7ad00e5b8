#include "html/HTMLData.h"

#include <algorithm>

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TVnHTMLData, TObject)

TVnHTMLData::TVnHTMLData() = default;
TVnHTMLData::~TVnHTMLData() { ClearArray(); }

void TVnHTMLData::ClearArray() {
  FControlsArray.clear();
  FRadioList.clear();
  FActiveItem = nullptr;
  FSelectedItem = nullptr;
  FArray.clear();
}

int TVnHTMLData::LineCount() const {
  return static_cast<int>(
      std::count_if(FArray.begin(), FArray.end(), [](const auto& item) { return item->IsBreakItem(); }));
}

String TVnHTMLData::GenerateHTML() const {
  String html = u"<html>";
  for (const auto& item : FArray) {
    switch (item->ItemType()) {
      case hitChar: html += item->Text(); break;
      case hitBreak: html += u"<br>\r\n"; break;
      case hitInput:
      case hitControl: html += item->GetItemHTML() + u"\r\n"; break;
      case hitVar: html += u"<~~" + item->Text() + u">"; break;
      default: break;
    }
  }
  return html + u"</html>";
}

void TVnHTMLData::Append(std::unique_ptr<TVnHTMLItem> Item) { FArray.push_back(std::move(Item)); }

void TVnHTMLData::Insert(int Index, std::unique_ptr<TVnHTMLItem> Item) {
  FArray.insert(FArray.begin() + Index, std::move(Item));
}

std::unique_ptr<TVnHTMLItem> TVnHTMLData::Extract(int Index) {
  auto item = std::move(FArray[static_cast<size_t>(Index)]);
  FArray.erase(FArray.begin() + Index);
  if (FSelectedItem == item.get()) FSelectedItem = nullptr;
  if (FActiveItem == item.get()) FActiveItem = nullptr;
  return item;
}

void TVnHTMLData::ReplaceInControls(const TVnHTMLItem* Item, TVnHTMLItem* Successor) {
  if (!Item || !Item->FInControls) return;
  // Only recent entries can be the item on its way out: search from the end.
  for (auto it = FControlsArray.rbegin(); it != FControlsArray.rend(); ++it) {
    if (*it != Item) continue;
    if (Successor) {
      *it = Successor;
      Successor->FInControls = true;
    } else {
      FControlsArray.erase(std::next(it).base());
    }
    return;
  }
}

int TVnHTMLData::RadioGroup(const String& Name) {
  auto found = std::find(FRadioList.begin(), FRadioList.end(), Name);
  if (found != FRadioList.end()) return static_cast<int>(found - FRadioList.begin()) + 1;
  FRadioList.push_back(Name);
  return static_cast<int>(FRadioList.size());
}

int TVnHTMLData::IndexOf(const TVnHTMLItem* Item) const {
  if (FIndexHint >= 0 && FIndexHint < ItemCount() && FArray[static_cast<size_t>(FIndexHint)].get() == Item) {
    return FIndexHint;
  }
  for (size_t i = 0; i < FArray.size(); ++i) {
    if (FArray[i].get() == Item) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace kestrel
