#pragma once
// The prepared form of one caption: the flat item list, the focus order of links and inputs,
// radio groups, the formatting defaults the parser starts from and the measured text size.

#include <memory>
#include <vector>

#include "html/HTMLItem.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

class TVnHTMLRender;

class TVnHTMLData : public TObject {
  KESTREL_CLASS(TVnHTMLData)
  TVnHTMLData();
  ~TVnHTMLData() override;
  TVnHTMLData(const TVnHTMLData&) = delete;
  TVnHTMLData& operator=(const TVnHTMLData&) = delete;

  // Frees every item, empties the lists and forgets the active item.
  void ClearArray();
  int ItemCount() const { return static_cast<int>(FArray.size()); }
  TVnHTMLItem* Item(int Index) const { return FArray[static_cast<size_t>(Index)].get(); }
  // Number of break items, that is, of lines.
  int LineCount() const;
  // The items written back as markup (text, breaks, inputs, controls and variables only).
  String GenerateHTML() const;

  // Item list maintenance (used by the parser).
  void Append(std::unique_ptr<TVnHTMLItem> Item);
  void Insert(int Index, std::unique_ptr<TVnHTMLItem> Item);
  std::unique_ptr<TVnHTMLItem> Extract(int Index);
  TVnHTMLItem* Last() const { return FArray.empty() ? nullptr : FArray.back().get(); }
  // Drops `Item` from the focus order, or lets `Successor` take its place there.
  void ReplaceInControls(const TVnHTMLItem* Item, TVnHTMLItem* Successor);
  const std::vector<TVnHTMLItem*>& ControlsArray() const { return FControlsArray; }
  const std::vector<String>& RadioList() const { return FRadioList; }
  // 1-based position of a radio group name, registering it when new.
  int RadioGroup(const String& Name);

  TVnHTMLRender* Render() const { return FRender; }
  void SetRender(TVnHTMLRender* Value) { FRender = Value; }

  TColor LinkColor() const { return FLinkColor; }
  void SetLinkColor(TColor Value) { FLinkColor = Value; }
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value) { FDefaultColor = Value; }
  TVnHTMLFontStyles LinkStyle() const { return FLinkStyle; }
  void SetLinkStyle(TVnHTMLFontStyles Value) { FLinkStyle = Value; }
  TVnHTMLFontStyles DefaultStyle() const { return FDefaultStyle; }
  void SetDefaultStyle(TVnHTMLFontStyles Value) { FDefaultStyle = Value; }
  int DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(int Value) { FDefaultHeight = Value; }
  std::uint8_t Charset() const { return FCharset; }
  void SetCharset(std::uint8_t Value) { FCharset = Value; }
  const String& DefaultFont() const { return FDefaultFont; }
  void SetDefaultFont(const String& Value) { FDefaultFont = Value; }
  int LineSpacing() const { return FLineSpacing; }
  void SetLineSpacing(int Value) { FLineSpacing = Value; }
  int LineGap() const { return FLineGap; }
  void SetLineGap(int Value) { FLineGap = Value; }
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int Value) { FMaxWidth = Value; }
  TColor DefaultBgColor() const { return FDefaultBgColor; }
  void SetDefaultBgColor(TColor Value) { FDefaultBgColor = Value; }
  TColor HighlightBgColor() const { return FHighlightBgColor; }
  void SetHighlightBgColor(TColor Value) { FHighlightBgColor = Value; }
  TColor HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor Value) { FHighlightColor = Value; }
  TVnHTMLItem* SelectedItem() const { return FSelectedItem; }
  void SetSelectedItem(TVnHTMLItem* Value) { FSelectedItem = Value; }
  const platform::RECT& Rect() const { return FRect; }
  void SetRect(const platform::RECT& Value) { FRect = Value; }
  const platform::SIZE& TextSize() const { return FTextSize; }
  void SetTextSize(const platform::SIZE& Value) { FTextSize = Value; }
  TVnHTMLInputItem* ActiveItem() const { return FActiveItem; }
  void SetActiveItem(TVnHTMLInputItem* Value) { FActiveItem = Value; }

  // Index of `Item` in the list; the layout passes the index it is measuring as a hint, so that
  // lookups during a measurement cost nothing.
  int IndexOf(const TVnHTMLItem* Item) const;
  void SetIndexHint(int Index) const { FIndexHint = Index; }

 private:
  std::vector<std::unique_ptr<TVnHTMLItem>> FArray;
  std::vector<TVnHTMLItem*> FControlsArray;
  std::vector<String> FRadioList;
  TVnHTMLRender* FRender = nullptr;
  TColor FLinkColor = 0xFF0000;
  TColor FDefaultColor = static_cast<TColor>(0xFF000008u);
  TVnHTMLFontStyles FLinkStyle = hfsUnderline;
  TVnHTMLFontStyles FDefaultStyle = 0;
  int FDefaultHeight = -11;
  std::uint8_t FCharset = 0;
  String FDefaultFont = u"MS Sans Serif";
  int FLineSpacing = 0;
  int FLineGap = 0;
  int FMaxWidth = 0;
  TColor FDefaultBgColor = 0x1FFFFFFF;
  TColor FHighlightBgColor = 0;
  TColor FHighlightColor = 0;
  TVnHTMLItem* FSelectedItem = nullptr;
  platform::RECT FRect{};
  platform::SIZE FTextSize{};
  TVnHTMLInputItem* FActiveItem = nullptr;
  mutable int FIndexHint = -1;

  friend class THTMLParser;
  void AddControl(TVnHTMLItem* Item) {
    Item->FInControls = true;
    FControlsArray.push_back(Item);
  }
};

}  // namespace kestrel
