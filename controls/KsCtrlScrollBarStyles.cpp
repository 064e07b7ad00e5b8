#include "controls/KsCtrlScrollBarStyles.h"

#include "controls/KsImageForm.h"
#include "framework/PublishColour.h"
#include "framework/TypeInfo.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TKsCtrlScrollBarStyles, TKsSBHandlerCustom)

namespace {

const TEnumInfo& SecButtonsKindInfo() {
  static const TEnumInfo info(u"TKsSecButtonsKind", {u"sbkOpposite", u"sbkPage", u"sbkCustom"});
  return info;
}

const TEnumInfo& ScrollThumbModeInfo() {
  static const TEnumInfo info(u"TKsScrollThumbMode", {u"etmFixed", u"etmAuto"});
  return info;
}

}  // namespace

TKsCtrlScrollBarStyles::TKsCtrlScrollBarStyles(TKsSBControllerLink* controller) : TKsSBHandlerCustom(controller) {}

bool TKsCtrlScrollBarStyles::IsDepthStored() const { return !UseSystemMetrics(); }

void TKsCtrlScrollBarStyles::PublishProperties(TClassBuilder<TKsCtrlScrollBarStyles>& b) {
  using P = TKsCtrlScrollBarStyles;
  const auto flag = [&b](const char16_t* name, bool (TKsSBHandlerCustom::*getter)() const,
                         void (TKsSBHandlerCustom::*setter)(bool),
                         bool def) { b.Property(name, getter, setter).Default(def); };
  flag(u"ActiveFlat", &P::ActiveFlat, &P::SetActiveFlat, false);
  flag(u"AltDisablingArrows", &P::AltDisablingArrows, &P::SetAltDisablingArrows, true);
  PublishColour(b, u"ArrowColor", &P::ArrowColor, &P::SetArrowColor, clBtnText);
  PublishColour(b, u"ArrowHotTrackColor", &P::ArrowHotTrackColor, &P::SetArrowHotTrackColor, clHighlight);
  PublishColour(b, u"BarColor", &P::BarColor, &P::SetBarColor, clBtnShadow);
  b.Property(u"BarOffset", &P::BarOffset, &P::SetBarOffset).Default(2);
  flag(u"BlendBackground", &P::BlendBackground, &P::SetBlendBackground, true);
  b.Property(u"ButtonSize", &P::ButtonSize, &P::SetButtonSize).Default(17);
  flag(u"ChangeColorsOnScroll", &P::ChangeColorsOnScroll, &P::SetChangeColorsOnScroll, true);
  PublishColour(b, u"Color", &P::Color, &P::SetColor, clBtnFace);
  b.Property(u"Width", &P::Depth, &P::SetDepth).NoDefault().Stored(&P::IsDepthStored);
  flag(u"DrawArrowFrames", &P::DrawArrowFrames, &P::SetDrawArrowFrames, true);
  flag(u"DrawBars", &P::DrawBars, &P::SetDrawBars, true);
  flag(u"ShowBorder", &P::ShowBorder, &P::SetShowBorder, true);
  flag(u"Flat", &P::Flat, &P::SetFlat, true);
  PublishColour(b, u"HintColor", &P::HintColor, &P::SetHintColor, clInfoBk);
  PublishColour(b, u"HintTextColor", &P::HintTextColor, &P::SetHintTextColor, clInfoText);
  flag(u"IsHTML", &P::IsHTML, &P::SetIsHTML, false);
  b.Property(u"MinThumbSize", &P::MinThumbSize, &P::SetMinThumbSize).Default(12);
  flag(u"NoDisableButtons", &P::NoDisableButtons, &P::SetNoDisableButtons, false);
  flag(u"NoSunkenThumb", &P::NoSunkenThumb, &P::SetNoSunkenThumb, false);
  flag(u"OwnerDraw", &P::OwnerDraw, &P::SetOwnerDraw, false);
  flag(u"SecondaryButtons", &P::SecondaryButtons, &P::SetSecondaryButtons, false);
  b.Enum(u"SecondBtnKind", &P::SecondBtnKind, &P::SetSecondBtnKind, SecButtonsKindInfo()).Default(sbkOpposite);
  flag(u"ShowLeftArrows", &P::ShowLeftArrows, &P::SetShowLeftArrows, true);
  flag(u"ShowRightArrows", &P::ShowRightArrows, &P::SetShowRightArrows, true);
  flag(u"ShowTrackHint", &P::ShowTrackHint, &P::SetShowTrackHint, false);
  b.Property(u"Step", &P::Step, &P::SetStep).Default(1);
  flag(u"SystemBkColor", &P::SystemBkColor, &P::SetSystemBkColor, true);
  flag(u"ThinFrame", &P::ThinFrame, &P::SetThinFrame, false);
  b.Enum(u"ThumbMode", &P::ThumbMode, &P::SetThumbMode, ScrollThumbModeInfo()).Default(etmAuto);
  b.Property(u"ThumbSize", &P::ThumbSize, &P::SetThumbSize).Default(0);
  flag(u"UseSystemMetrics", &P::UseSystemMetrics, &P::SetUseSystemMetrics, true);
  flag(u"UseSystemStep", &P::UseSystemStep, &P::SetUseSystemStep, true);
  b.Enum(u"ThemeMode", &P::ThemeMode, &P::SetThemeMode, VnThemeModeInfo()).Default(ttmPlatform);
  flag(u"ThemeGlobalMode", &P::ThemeGlobalMode, &P::SetThemeGlobalMode, false);
  b.Object(u"ImageForm", &P::ImageForm, &P::SetImageForm);
}

}  // namespace kestrel
