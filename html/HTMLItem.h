#pragma once
// The formatted items a caption is turned into. Every item carries its complete formatting, so
// layout and painting never look at the markup again; break items start lines and hold the
// line's metrics.

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "framework/ColorIdentifiers.h"
#include "framework/ControlMessages.h"
#include "framework/Object.h"
#include "platform/core/Unicode.h"

namespace kestrel {

class TVnHTMLData;
class TVnHTMLControlPainter;
class THTMLMessageHook;

enum TVnHTMLItemType : std::uint8_t {
  hitChar,
  hitSoftBreak,
  hitBreak,
  hitPara,
  hitBitmap,
  hitHR,
  hitLI,
  hitUL,
  hitOL,
  hitIndent,
  hitInput,
  hitControl,
  hitVar,
};

// Font style bits of an item.
using TVnHTMLFontStyles = std::uint8_t;
constexpr TVnHTMLFontStyles hfsBold = 1;
constexpr TVnHTMLFontStyles hfsItalic = 2;
constexpr TVnHTMLFontStyles hfsUnderline = 4;
constexpr TVnHTMLFontStyles hfsStrikeOut = 8;

// Bits of FBoolState.
constexpr std::uint32_t hbsLink = 0x1;
constexpr std::uint32_t hbsSub = 0x2;
constexpr std::uint32_t hbsSuper = 0x4;
constexpr std::uint32_t hbsAbsolute = 0x8;
constexpr std::uint32_t hbsClosePara = 0x80000000u;

// "Not measured" value of the run-width cache.
constexpr std::uint16_t kHTMLWidthUnknown = 0xFFFF;

// Clamps a pixel size into the 16-bit size fields.
std::uint16_t ClampHTMLSize(long long value);

class TVnHTMLItem : public TObject {
  KESTREL_CLASS(TVnHTMLItem)
  explicit TVnHTMLItem(TVnHTMLData* Owner, TVnHTMLItemType Kind = hitChar);
  ~TVnHTMLItem() override = default;

  // The item re-written as markup (empty for plain items).
  virtual String GetItemHTML() const { return {}; }
  // Measured width and height (height without LineGap is extended by it here); BaseLine receives
  // the descent. Both need the owner's renderer for fonts; without one they are 0.
  virtual int GetWidth();
  virtual int GetHeight(int& BaseLine);
  // Copies the formatting (not the kind, text, sizes, transparency or tag).
  virtual void Assign(const TVnHTMLItem& Source);
  virtual bool IsBreakItem() const { return false; }

  TVnHTMLItemType ItemType() const { return FItemType; }
  const String& Text() const { return FText; }
  void SetText(const String& Value) {
    FText = Value;
    FTWidth = kHTMLWidthUnknown;
  }
  const String& LinkRef() const { return FLinkRef; }
  void SetLinkRef(const String& Value) { FLinkRef = Value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }
  bool IsLink() const { return (FBoolState & hbsLink) != 0; }
  void SetIsLink(bool Value) { SetFlag(hbsLink, Value); }
  bool IsSub() const { return (FBoolState & hbsSub) != 0; }
  void SetIsSub(bool Value) { SetFlag(hbsSub, Value); }
  bool IsSuper() const { return (FBoolState & hbsSuper) != 0; }
  void SetIsSuper(bool Value) { SetFlag(hbsSuper, Value); }
  void SetFlag(std::uint32_t Bit, bool Value) { FBoolState = Value ? (FBoolState | Bit) : (FBoolState & ~Bit); }
  // The font height the item is measured and painted with (sub- and superscript text is two
  // pixels smaller in magnitude).
  int EffectiveFontHeight() const;

  TVnHTMLData* FOwner = nullptr;
  TVnHTMLItemType FItemType = hitChar;
  String FText;
  TVnHTMLFontStyles FontStyle = 0;
  std::int32_t FontHeight = 0;
  TColor FontBgColor = 0;
  TColor FontColor = 0;
  String FLinkRef;
  String FFontRef;
  std::int32_t FFntCnt = 0;
  std::uint16_t FTWidth = kHTMLWidthUnknown;
  std::uint16_t FWidth = 0;
  std::uint16_t FHeight = 0;
  std::int32_t FIndent = 0;
  std::uint32_t FBoolState = 0;
  bool FTransparent = false;
  std::int32_t FTag = 0;
  // Whether the data's focus order lists the item (saves searching it for every freed item).
  bool FInControls = false;
};

class TVnHTMLBreakItem : public TVnHTMLItem {
  KESTREL_CLASS(TVnHTMLBreakItem)
  explicit TVnHTMLBreakItem(TVnHTMLData* Owner, TVnHTMLItemType Kind = hitBreak);

  int GetWidth() override;
  int GetHeight(int& BaseLine) override;
  void Assign(const TVnHTMLItem& Source) override;
  bool IsBreakItem() const override { return true; }
  void AssignBreakProps(const TVnHTMLBreakItem* Source);

  int Alignment() const { return static_cast<int>(FParams & 0xFFFF); }
  void SetAlignment(int Value) { FParams = (FParams & 0xFFFF0000u) | (static_cast<std::uint32_t>(Value) & 0xFFFF); }
  int Descent() const { return static_cast<int>(FParams >> 16); }
  void SetDescent(int Value) {
    FParams = (FParams & 0xFFFF) | (static_cast<std::uint32_t>(ClampHTMLSize(Value)) << 16);
  }

  std::uint32_t FParams = 0;
  std::int32_t FListLevel = 0;
  std::int32_t FListItemN = 0;
};

enum TVnHTMLInputType : std::uint8_t { itCheckBox, itRadioButton };

class TVnHTMLInputItem : public TVnHTMLItem {
  KESTREL_CLASS(TVnHTMLInputItem)
  explicit TVnHTMLInputItem(TVnHTMLData* Owner);
  ~TVnHTMLInputItem() override;

  String GetItemHTML() const override;
  void Assign(const TVnHTMLItem& Source) override;

  bool Checked() const { return FChecked; }
  // A radio button of a group that becomes checked unchecks the rest of its group first; then
  // OnInputItemChecked and OnChange of the renderer follow.
  void SetChecked(bool Value);
  const String& Name() const { return FName; }
  const String& Value() const { return FValue; }
  // A new text raises OnInputItemTextChanged, then OnChange.
  void SetValue(const String& Value);
  TVnHTMLInputType InputType() const { return FInputType; }
  // A new type gets a new painter.
  void SetInputType(TVnHTMLInputType Value);
  TVnHTMLControlPainter* ControlPainter() const { return FControlPainter.get(); }

  // A click toggles the input (radio buttons too); Space does the same from the keyboard.
  void Click();
  void KeyDownTransfer(platform::WORD& Key, TShiftState Shift);

  bool FChecked = false;
  TVnHTMLInputType FInputType = itCheckBox;
  String FName;
  String FValue;
  std::unique_ptr<TVnHTMLControlPainter> FControlPainter;

 private:
  void Changed();
  // Raises OnInputItemChecked (or OnInputItemTextChanged), then the renderer's OnChange.
  void Report(bool textChanged);
};

// An attribute list entry: lower-cased name and its raw value.
using TVnHTMLAttribute = std::pair<String, String>;

class TVnHTMLControlItem : public TVnHTMLItem {
  KESTREL_CLASS(TVnHTMLControlItem)
  explicit TVnHTMLControlItem(TVnHTMLData* Owner);
  ~TVnHTMLControlItem() override;

  String GetItemHTML() const override;

  // The embedded control's class name; the control itself is owned by the host (its owner) and
  // by this item, whichever goes first: the hook hears when the host frees it.
  std::unique_ptr<THTMLMessageHook> FControlHook;
  String FControlClass;
  std::vector<TVnHTMLAttribute> FControlPropList;
  std::unique_ptr<TObject> FControl;

  // Takes `control` (made for this item) and hooks it.
  void AttachControl(std::unique_ptr<TObject> control);
  void FreeControl();
};

}  // namespace kestrel
