#pragma once
// One preparation of a caption into a data object: the character loop, entities, tag reading and
// the tag actions, with the wrap check run after every added character. Internal to the renderer.

#include <memory>
#include <string_view>
#include <vector>

#include "html/HTMLData.h"
#include "html/HTMLMeasurer.h"
#include "html/internal/HTMLAttributes.h"
#include "html/internal/HTMLTables.h"

namespace kestrel {

class TVnHTMLRender;

struct TFontSettings {
  String FontName;
  std::int32_t Height = 0;
  TColor Color = 0;
  TColor BgColor = 0;
};

class THTMLParser {
 public:
  THTMLParser(TVnHTMLRender& render, TVnHTMLData& data, std::u16string_view text, int maxWidth, bool autoWrap);
  // Steps 2 to 6 of a preparation (the caller clears the data before and catches failures).
  void Run();

 private:
  // Character loop.
  void ScanCharacter();
  void ScanEntity();
  void ScanNumericEntity();
  void AddToRun(std::u16string_view units);
  void AppendUnits(std::u16string_view units, size_t constructStart, bool collapseSpace);
  void ReadTag();
  size_t NextSemicolon(size_t from);

  // Items.
  bool HasContent(const TVnHTMLItem& item) const;
  std::unique_ptr<TVnHTMLItem> NewChar(const TVnHTMLItem& from) const;
  void SetCurrent(std::unique_ptr<TVnHTMLItem> item);
  // Replaces the current item by `next`, freeing the old one.
  void ReplaceCurrent(std::unique_ptr<TVnHTMLItem> next);
  const THTMLFont& CurrentFont();
  void AppendItem(std::unique_ptr<TVnHTMLItem> item);
  // Frees an item that leaves the document; `successor` takes its place in the focus order.
  void Discard(std::unique_ptr<TVnHTMLItem> item, TVnHTMLItem* successor);
  void RemoveAt(int index, TVnHTMLItem* successor = nullptr);
  void UpdateLine();
  const TVnHTMLItem* LastNonLink();
  void Split();
  TVnHTMLBreakItem* StartLine(TVnHTMLItemType kind);
  TVnHTMLBreakItem* LastBreak();
  int LastBreakIndex();

  // Tags.
  void DoTag(THTMLTag tag, const THTMLAttributes& attrs);
  void DoStyle(TVnHTMLFontStyles bits, bool set);
  void DoParagraph(bool closing, const THTMLAttributes& attrs);
  void DoListStart(bool ordered);
  void DoListItem();
  void DoListEnd(bool ordered);
  void TakeListBreak();
  void DoRule(const THTMLAttributes& attrs);
  void DoIndent(const THTMLAttributes& attrs);
  void DoImage(const THTMLAttributes& attrs);
  void DoLink(const THTMLAttributes& attrs);
  void DoLinkEnd();
  void DoFont(const THTMLAttributes& attrs);
  void DoFontEnd();
  // Copies the current font settings into the current item.
  void ApplyFontSettings();
  void ApplyFontSize(const String& value, TFontSettings& settings) const;
  void DoInput(const THTMLAttributes& attrs);
  void DoControl(const THTMLAttributes& attrs);
  static void HideEmbeddedControl(TObject* control);
  void ApplyControlProperties(TVnHTMLControlItem& item, const THTMLAttributes& attrs);
  void DoVariable(const THTMLAttributes& attrs);
  void ContinueAfter(std::unique_ptr<TVnHTMLItem> previous);

  // Wrap check (layout).
  int RunStartPosition();
  void WrapCheck(size_t unitsAdded, size_t constructStart);
  int RunWidth();

  TVnHTMLRender& render_;
  TVnHTMLData& data_;
  std::u16string_view text_;
  int maxWidth_;
  bool autoWrap_;
  size_t pos_ = 0;
  // The first ';' at or after semicolonFrom_ (text size when none), so that a text full of '&'
  // is not searched again for every one.
  size_t semicolon_ = 0;
  size_t semicolonFrom_ = 0;
  bool semicolonKnown_ = false;

  std::unique_ptr<TVnHTMLItem> cur_;
  std::vector<TFontSettings> fontStack_;
  TFontSettings font_;
  int level_ = 0;

  // Advance sum of the current run, kept up to date as characters are added so that the wrap
  // check does not re-measure the whole run after every character.
  int runAdvance_ = 0;
  bool runAdvanceValid_ = false;
  const THTMLFont* curFont_ = nullptr;
  // Start position of the current line's next item: items [lineScanned_, size) are not summed
  // yet; lineBreak_ is the line's break item index (-1: none yet).
  int lineBreak_ = -1;
  int lineScanned_ = 0;
  long long lineSum_ = 0;
  bool lineValid_ = false;
  // Index of the last item in the list that is not a link (-1: none); only items at the end are
  // ever removed, so an index past the end means "search again".
  int lastNonLink_ = -1;
};

}  // namespace kestrel
