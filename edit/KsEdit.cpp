#include "edit/KsEdit.h"

#include "controls/DrawingTypeInfo.h"
#include "controls/KsCtrlScrollBarStyles.h"
#include "controls/KsImageForm.h"
#include "framework/PublishColour.h"
#include "framework/TypeInfo.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TKsEdit, TCustomKsEdit)

namespace {
using E = TCustomKsEdit;
}  // namespace

void TKsEdit::PublishProperties(TClassBuilder<TKsEdit>& b) {
  // Multiline first: a single-line store would keep only one of the lines read after it.
  b.Property(u"Multiline", &E::Multiline, &E::SetMultiline).Default(false);
  b.Object(u"Lines", &E::Lines, &E::SetLines);
  b.Property(u"WordWrap", &E::WordWrap, &E::SetWordWrap).Default(false);
  b.Enum(u"ScrollBars", &E::ScrollBars, &E::SetScrollBars, ScrollStyleInfo()).Default(ssNone);
  b.Enum(u"Alignment", &E::Alignment, &E::SetAlignment, AlignmentTypeInfo()).Default(taLeftJustify);
  b.Property(u"RightAlignedText", &E::RightAlignedText, &E::SetRightAlignedText).Default(false);
  b.Property(u"RightAlignedView", &E::RightAlignedView, &E::SetRightAlignedView).Default(false);
  // Always written: Multiline, read before it, changes it.
  b.Property(u"AlignBottom", &E::AlignBottom, &E::SetAlignBottom).NoDefault();
  b.Property(u"LeftMargin", &E::LeftMargin, &E::SetLeftMargin).Default(1);
  b.Property(u"RightMargin", &E::RightMargin, &E::SetRightMargin).Default(1);
  b.Property(u"TopMargin", &E::TopMargin, &E::SetTopMargin).Default(0);
  b.Property(u"TabSpaces", &E::TabSpaces, &E::SetTabSpaces).Default(4);
  b.Property(u"AutoSize", &E::AutoSize, &E::SetAutoSize).Default(true);
  PublishEditing(b);
  PublishBorder(b);
  PublishLook(b);
  PublishEvents(b);
}

void TKsEdit::PublishEditing(TClassBuilder<TKsEdit>& b) {
  b.Property(u"ReadOnly", &E::ReadOnly, &E::SetReadOnly).Default(false);
  b.Property(u"MaxLength", &E::MaxLength, &E::SetMaxLength).Default(0);
  b.Property(u"PasswordChar", &E::PasswordChar, &E::SetPasswordChar);
  b.Enum(u"CharCase", &E::CharCase, &E::SetCharCase, KsEditCharCaseInfo()).Default(eecNormal);
  b.Property(u"WantTabs", &E::WantTabs, &E::SetWantTabs).Default(false);
  b.Property(u"WantReturns", &E::WantReturns, &E::SetWantReturns).Default(false);
  b.Property(u"HandleDialogKeys", &E::HandleDialogKeys, &E::SetHandleDialogKeys).Default(false);
  b.Property(u"AutoSelect", &E::AutoSelect, &E::SetAutoSelect).Default(false);
  b.Property(u"MaxUndoLevel", &E::MaxUndoLevel, &E::SetMaxUndoLevel).Default(0);
  b.Property(u"HideSelection", &E::HideSelection, &E::SetHideSelection).Default(true);
  b.Property(u"HighlightAlphaLevel", &E::HighlightAlphaLevel, &E::SetHighlightAlphaLevel).Default(255);
  b.Property(u"UseSystemMenu", &E::UseSystemMenu, &E::SetUseSystemMenu).Default(true);
  b.Property(u"LocalizedSystemMenu", &E::LocalizedSystemMenu, &E::SetLocalizedSystemMenu).Default(false);
  b.Object(u"LinkedControl", &E::LinkedControl, &E::SetLinkedControl);
  b.Enum(u"LinkedControlPosition", &E::LinkedControlPosition, &E::SetLinkedControlPosition, KsLinkCtlPosInfo())
      .Default(lcpTopLeft);
  b.Property(u"LinkedControlSpacing", &E::LinkedControlSpacing, &E::SetLinkedControlSpacing).Default(0);
}

void TKsEdit::PublishBorder(TClassBuilder<TKsEdit>& b) {
  b.Enum(u"BorderStyle", &E::BorderStyle, &E::SetBorderStyle, FormBorderStyleTypeInfo()).Default(bsSingle);
  b.Set(u"BorderSides", &E::BorderSides, &E::SetBorderSides, BorderSideInfo(), u"TVnBorderSides")
      .Default(AllBorderSides);
  b.Property(u"Flat", &E::Flat, &E::SetFlat).Default(false);
  b.Enum(u"ActiveBorderType", &E::ActiveBorderType, &E::SetActiveBorderType, FlatBorderTypeInfo()).Default(fbtSunken);
  b.Enum(u"InactiveBorderType", &E::InactiveBorderType, &E::SetInactiveBorderType, FlatBorderTypeInfo())
      .Default(fbtSunkenOuter);
  b.Property(u"FlatFocusedScrollBars", &E::FlatFocusedScrollBars, &E::SetFlatFocusedScrollBars).Default(false);
  b.Property(u"UseCustomScrollBars", &E::UseCustomScrollBars, &E::SetUseCustomScrollBars).Default(true);
  b.Object(u"VertScrollBarStyles", &E::VertScrollBarStyles, &E::SetVertScrollBarStyles)
      .Stored(&TKsEdit::IsVertScrollBarStylesStored);
  b.Object(u"HorzScrollBarStyles", &E::HorzScrollBarStyles, &E::SetHorzScrollBarStyles);
}

void TKsEdit::PublishLook(TClassBuilder<TKsEdit>& b) {
  PublishColour(b, u"FocusedSelectColor", &E::FocusedSelectColor, &E::SetFocusedSelectColor, clHighlight);
  PublishColour(b, u"FocusedSelectTextColor", &E::FocusedSelectTextColor, &E::SetFocusedSelectTextColor,
                clHighlightText);
  PublishColour(b, u"HideSelectColor", &E::HideSelectColor, &E::SetHideSelectColor, clBtnFace);
  PublishColour(b, u"HideSelectTextColor", &E::HideSelectTextColor, &E::SetHideSelectTextColor, clBtnShadow);
  PublishColour(b, u"LineBorderActiveColor", &E::LineBorderActiveColor, &E::SetLineBorderActiveColor, clBtnFace);
  PublishColour(b, u"LineBorderInactiveColor", &E::LineBorderInactiveColor, &E::SetLineBorderInactiveColor, clBtnFace);
  PublishColour(b, u"DisabledColor", &E::DisabledColor, &E::SetDisabledColor, clBtnFace);
  PublishColour(b, u"DisabledFontColor", &E::DisabledFontColor, &E::SetDisabledFontColor, clGrayText);
  b.Property(u"UseDisabledColors", &E::UseDisabledColors, &E::SetUseDisabledColors).Default(false);
  b.Property(u"Transparent", &E::Transparent, &E::SetTransparent).Default(false);
  b.Object(u"Background", &E::Background, &E::SetBackground);
  b.Property(u"UseBackground", &E::UseBackground, &E::SetUseBackground).Default(false);
  b.Object(u"ImageForm", &E::ImageForm, &E::SetImageForm);
}

void TKsEdit::PublishEvents(TClassBuilder<TKsEdit>& b) {
  b.Event(
      u"OnChange", [](const E& e) { return static_cast<bool>(e.OnChange); }, u"TNotifyEvent");
  b.Event(
      u"OnSelectionChange", [](const E& e) { return static_cast<bool>(e.OnSelectionChange); }, u"TNotifyEvent");
  b.Event(
      u"OnKeyPressEx", [](const E& e) { return static_cast<bool>(e.OnKeyPressEx); }, u"TKsKeyPressExEvent");
  b.Event(
      u"OnPasteClipboardText", [](const E& e) { return static_cast<bool>(e.OnPasteClipboardText); },
      u"TKsPasteClipboardEvent");
  b.Event(
      u"OnMouseEnter", [](const E& e) { return static_cast<bool>(e.OnMouseEnter); }, u"TNotifyEvent");
  b.Event(
      u"OnMouseLeave", [](const E& e) { return static_cast<bool>(e.OnMouseLeave); }, u"TNotifyEvent");
}

}  // namespace kestrel
