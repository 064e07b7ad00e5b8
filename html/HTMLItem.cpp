#include "html/HTMLItem.h"

#include <algorithm>
#include <cstdlib>

#include "framework/Control.h"
#include "framework/TypeInfo.h"
#include "html/HTMLData.h"
#include "html/HTMLRender.h"
#include "html/internal/HTMLCheckBoxPainter.h"
#include "html/internal/HTMLMessageHook.h"
#include "platform/window/WindowDefs.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TVnHTMLItem, TObject)
KESTREL_IMPLEMENT_CLASS(TVnHTMLBreakItem, TVnHTMLItem)
KESTREL_IMPLEMENT_CLASS(TVnHTMLInputItem, TVnHTMLItem)
KESTREL_IMPLEMENT_CLASS(TVnHTMLControlItem, TVnHTMLItem)

std::uint16_t ClampHTMLSize(long long value) {
  return static_cast<std::uint16_t>(std::clamp<long long>(value, 0, 0xFFFF));
}

namespace {

// The font an item is measured with, or null without a measuring device.
const THTMLFont* ItemFont(const TVnHTMLItem& item, int height) {
  if (!item.FOwner || !item.FOwner->Render()) return nullptr;
  THTMLMeasurer& measurer = item.FOwner->Render()->Measurer();
  if (!measurer.Valid()) return nullptr;
  return &measurer.Font(item.FFontRef, height, item.FontStyle, item.FOwner->Charset());
}

int LineGapOf(const TVnHTMLItem& item) { return item.FOwner ? item.FOwner->LineGap() : 0; }

}  // namespace

// ---- TVnHTMLItem -------------------------------------------------------------------------

TVnHTMLItem::TVnHTMLItem(TVnHTMLData* Owner, TVnHTMLItemType Kind) : FOwner(Owner), FItemType(Kind) {}

int TVnHTMLItem::EffectiveFontHeight() const {
  if ((FItemType == hitChar || FItemType == hitVar) && (FBoolState & (hbsSub | hbsSuper))) {
    return FontHeight - 2 * ((FontHeight > 0) - (FontHeight < 0));
  }
  return FontHeight;
}

int TVnHTMLItem::GetWidth() {
  if (FItemType != hitChar && FItemType != hitVar) return FWidth;
  if (FTWidth != kHTMLWidthUnknown) return FTWidth;
  const THTMLFont* font = ItemFont(*this, EffectiveFontHeight());
  if (!font) return 0;
  // One pixel more than the advances, as a single-line DT_CALCRECT rectangle measures.
  FTWidth = static_cast<std::uint16_t>(std::min(font->TextWidth(FText) + 1, 0xFFFE));
  return FTWidth;
}

int TVnHTMLItem::GetHeight(int& BaseLine) {
  int height = 0;
  switch (FItemType) {
    case hitChar:
      if (const THTMLFont* font = ItemFont(*this, EffectiveFontHeight())) {
        height = std::abs(static_cast<int>(font->Metrics().tmHeight));
        BaseLine = font->Metrics().tmDescent;
      }
      break;
    case hitBitmap:
    case hitInput:
    case hitControl: height = FHeight; break;
    default: break;
  }
  return height + LineGapOf(*this);
}

void TVnHTMLItem::Assign(const TVnHTMLItem& Source) {
  FontStyle = Source.FontStyle;
  FontHeight = Source.FontHeight;
  FontBgColor = Source.FontBgColor;
  FontColor = Source.FontColor;
  FLinkRef = Source.FLinkRef;
  FFontRef = Source.FFontRef;
  FIndent = Source.FIndent;
  FFntCnt = Source.FFntCnt;
  FBoolState = Source.FBoolState;
}

// ---- TVnHTMLBreakItem --------------------------------------------------------------------

TVnHTMLBreakItem::TVnHTMLBreakItem(TVnHTMLData* Owner, TVnHTMLItemType Kind) : TVnHTMLItem(Owner, Kind) {}

int TVnHTMLBreakItem::GetWidth() {
  if (FItemType != hitLI && FItemType != hitUL && FItemType != hitOL) return 0;
  const THTMLFont* font = ItemFont(*this, FontHeight);
  if (!font) return 0;
  return FItemType == hitLI ? font->Metrics().tmAveCharWidth : font->Metrics().tmMaxCharWidth;
}

int TVnHTMLBreakItem::GetHeight(int& BaseLine) {
  int height = 0;
  if (FItemType == hitSoftBreak || FItemType == hitBreak || FItemType == hitLI) {
    // Only an empty line takes its height from its break.
    bool emptyLine = true;
    if (FOwner) {
      int index = FOwner->IndexOf(this);
      emptyLine = index < 0 || index + 1 >= FOwner->ItemCount() || FOwner->Item(index + 1)->IsBreakItem();
    }
    if (emptyLine) {
      if (const THTMLFont* font = ItemFont(*this, FontHeight)) {
        height = font->Metrics().tmHeight;
        BaseLine = font->Metrics().tmDescent;
      }
    }
  }
  if (FOwner && FOwner->LineSpacing() != 0) height = std::max(height, FOwner->LineSpacing());
  return height + LineGapOf(*this);
}

void TVnHTMLBreakItem::Assign(const TVnHTMLItem& Source) {
  TVnHTMLItem::Assign(Source);
  if (Source.IsBreakItem()) {
    const auto& brk = static_cast<const TVnHTMLBreakItem&>(Source);
    FListLevel = brk.FListLevel;
    FListItemN = brk.FListItemN;
    FParams = brk.FParams & ~std::uint32_t{3};
  }
}

void TVnHTMLBreakItem::AssignBreakProps(const TVnHTMLBreakItem* Source) {
  if (!Source) return;
  FListLevel = Source->FListLevel;
  FListItemN = Source->FListItemN;
  FParams = Source->FParams;
}

// ---- TVnHTMLInputItem --------------------------------------------------------------------

TVnHTMLInputItem::TVnHTMLInputItem(TVnHTMLData* Owner)
    : TVnHTMLItem(Owner, hitInput), FControlPainter(std::make_unique<TVnHTMLCheckBoxPainter>(this)) {}
TVnHTMLInputItem::~TVnHTMLInputItem() = default;

void TVnHTMLInputItem::SetChecked(bool Value) {
  if (Value == FChecked) return;
  if (Value && FInputType == itRadioButton && FTag > 0 && FOwner) {
    for (TVnHTMLItem* other : FOwner->ControlsArray()) {
      if (other != this && other->ItemType() == hitInput && other->FTag == FTag)
        static_cast<TVnHTMLInputItem*>(other)->FChecked = false;
    }
  }
  FChecked = Value;
  Report(false);
}

void TVnHTMLInputItem::SetValue(const String& Value) {
  if (Value == FValue) return;
  FValue = Value;
  Report(true);
}

void TVnHTMLInputItem::Report(bool textChanged) {
  TVnHTMLRender* render = FOwner ? FOwner->Render() : nullptr;
  if (!render) return;
  const TLifeWatch life = render->Life();
  // The handler may free this item (a new caption re-prepares the text) or the renderer itself:
  // nothing of the item is touched afterwards.
  const TVnHTMLInputItemChangedEvent event = textChanged ? render->OnInputItemTextChanged : render->OnInputItemChecked;
  if (event) event(render, this);
  if (life.Alive()) render->Change();
}

void TVnHTMLInputItem::SetInputType(TVnHTMLInputType Value) {
  FInputType = Value;
  FControlPainter = std::make_unique<TVnHTMLCheckBoxPainter>(this);
}

void TVnHTMLInputItem::Click() {
  // Both kinds toggle: a second click on a checked radio button unchecks it.
  TVnHTMLRender* render = FOwner ? FOwner->Render() : nullptr;
  const TLifeWatch life = render ? render->Life() : TLifeWatch();
  SetChecked(!FChecked);
  // The item may be gone; the renderer is asked again only while it lives.
  if (life.Alive()) render->Change();
}

void TVnHTMLInputItem::KeyDownTransfer(platform::WORD& Key, TShiftState) {
  if (Key != platform::VK_SPACE) return;
  if (FInputType == itCheckBox) SetChecked(!FChecked);
  else SetChecked(true);
}

void TVnHTMLInputItem::Changed() {
  if (FOwner && FOwner->Render()) FOwner->Render()->Change();
}

String TVnHTMLInputItem::GetItemHTML() const {
  String html = FInputType == itRadioButton ? u"<input type=\"radio\" " : u"<input type=\"checkbox\" ";
  if (!FName.empty()) html += u"name=\"" + FName + u"\" ";
  if (FChecked) html += u"checked=\"True\" ";
  if (!FValue.empty()) html += u"value=\"" + FValue + u"\" ";
  return html + u">";
}

void TVnHTMLInputItem::Assign(const TVnHTMLItem& Source) {
  TVnHTMLItem::Assign(Source);
  if (const auto* input = dynamic_cast<const TVnHTMLInputItem*>(&Source)) {
    FName = input->FName;
    FChecked = input->FChecked;
    FInputType = input->FInputType;
    FValue = input->FValue;
  }
}

// ---- TVnHTMLControlItem ------------------------------------------------------------------

TVnHTMLControlItem::TVnHTMLControlItem(TVnHTMLData* Owner) : TVnHTMLItem(Owner, hitControl) {}

TVnHTMLControlItem::~TVnHTMLControlItem() { FreeControl(); }

void TVnHTMLControlItem::AttachControl(std::unique_ptr<TObject> control) {
  FreeControl();
  FControl = std::move(control);
  auto* component = dynamic_cast<TComponent*>(FControl.get());
  if (!component) return;
  FControlHook = std::make_unique<THTMLMessageHook>();
  FControlHook->OnControlFreed = [this] {
    // Its owner freed it: the item must not free it again.
    (void)FControl.release();
  };
  FControlHook->OnMessage = [this](TMessage& m) {
    // An embedded control that takes the focus becomes the selected item.
    if (m.Msg != platform::WM_SETFOCUS || !FOwner || FOwner->SelectedItem() == this) return;
    FOwner->SetSelectedItem(this);
    if (FOwner->Render()) FOwner->Render()->Change();
  };
  FControlHook->SetControl(component);
}

void TVnHTMLControlItem::FreeControl() {
  // The hook goes first, so that freeing the control is not reported back to this item.
  FControlHook.reset();
  FControl.reset();
}

String TVnHTMLControlItem::GetItemHTML() const {
  if (!FControl) return {};
  String html = u"<control vclclass=\"" + FControl->ClassName() + u"\" ";
  // The attribute names as the tag wrote them, each with the property's current value.
  for (const auto& [name, value] : FControlPropList) {
    const TPropInfo* prop = GetPropInfo(FControl.get(), name);
    if (!prop || !prop->IsReadable() || prop->Kind == tkClass || prop->Kind == tkMethod) continue;
    String text;
    if (prop->IsOrdinal() && prop->TypeName == u"TColor") {
      text = ColorToIdentOrDecimal(static_cast<TColor>(GetOrdProp(FControl.get(), *prop)));
    } else {
      text = GetPropText(FControl.get(), *prop);
    }
    html += name + u"=\"" + text + u"\" ";
  }
  return html + u">";
}

}  // namespace kestrel
