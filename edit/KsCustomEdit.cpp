#include "edit/KsCustomEdit.h"

#include <algorithm>

#include "controls/KsCtrlScrollBarStyles.h"
#include "controls/KsImageForm.h"
#include "controls/KsSBController.h"
#include "edit/KsEditBorderPainter.h"
#include "edit/KsEditHostLink.h"
#include "edit/KsEditPainter.h"
#include "edit/KsLinkedControlPlacement.h"
#include "edit/KsWinTextPainter.h"
#include "framework/Accessible.h"
#include "framework/ControlMessages.h"
#include "framework/PublishColour.h"
#include "framework/Reader.h"
#include "framework/TypeInfo.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TCustomKsEdit, TKsXPThemedControl)

void TCustomKsEdit::PublishProperties(TClassBuilder<TCustomKsEdit>& b) {
  using E = TCustomKsEdit;
  // The text lives in the store: Caption reads it too, and only Text is stored.
  b.Property(u"Caption", &E::Text, &E::SetText).TypeName(u"TCaption").Stored(false);
  b.Property(u"Text", &E::Text, &E::SetText).TypeName(u"TCaption");
  b.Property(u"TabStop", &E::TabStop, &E::SetTabStop).Default(true);
  b.Property(u"Cursor", &E::Cursor, &E::SetCursor).Default(crIBeam).TypeName(u"TCursor");
  PublishColour(b, u"BorderColorDkShadow", &E::BorderColorDkShadow, &E::SetBorderColorDkShadow, cl3DDkShadow);
  PublishColour(b, u"BorderColorFace", &E::BorderColorFace, &E::SetBorderColorFace, clBtnFace);
  PublishColour(b, u"BorderColorShadow", &E::BorderColorShadow, &E::SetBorderColorShadow, clBtnShadow);
  PublishColour(b, u"BorderColorHighlight", &E::BorderColorHighlight, &E::SetBorderColorHighlight, clBtnHighlight);
  PublishColour(b, u"BorderColorWindow", &E::BorderColorWindow, &E::SetBorderColorWindow, clWindow);
  b.Object(u"DisplayReadOnlyOptions", &E::DisplayReadOnlyOptions, &E::SetDisplayReadOnlyOptions);
  b.Property(u"StressShortCut", &E::StressShortCut, &E::SetStressShortCut).Default(0).TypeName(u"TShortCut");
  b.Property(u"NotifyUserChangeOnly", &E::NotifyUserChangeOnly, &E::SetNotifyUserChangeOnly).Default(true);
  b.Property(u"CueBanner", &E::CueBanner, &E::SetCueBanner);
  b.Object(u"Validator", &E::Validator, &E::SetValidator);
  b.Property(u"ValidationMsgString", &E::ValidationMsgString, &E::SetValidationMsgString);
  b.Enum(u"ImeMode", &E::ImeMode, &E::SetImeMode, ImeModeInfo()).Default(imDontCare);
  b.Property(u"ImeName", &E::ImeName, &E::SetImeName);
  b.Event(
      u"OnValidationError", [](const E& e) { return static_cast<bool>(e.OnValidationError); },
      u"TKsValidationErrorEvent");
}

TCustomKsEdit::TCustomKsEdit(TComponent* owner)
    : TKsXPThemedControl(owner),
      hostLink_(std::make_unique<TKsEditHostLink>(*this)),
      FCommandCenter(std::make_unique<TKsKeyCommandList>()),
      FDeadCharList(std::make_unique<TKsDeadCharList>()),
      FDisplayReadOnlyOptions(std::make_unique<TKsDisplayReadOnlyOptions>()),
      FBackground(std::make_unique<TBitmap>()),
      FImgFormChLink(std::make_unique<TImgFormChangeLink>()),
      FSBController(std::make_unique<TKsSBController>(nullptr)),
      painter_(std::make_unique<TKsEditPainter>(*this)),
      borderPainter_(std::make_unique<TKsEditBorderPainter>(*this)),
      charInput_(*FDeadCharList) {
  core_ = std::make_unique<TKsEditCore>(*hostLink_, *this);
  SetControlStyle({csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
  SetBounds(Left(), Top(), 200, 100);
  SetParentColor(false);
  SetColor(clWindow);
  SetCursor(crIBeam);
  SetTabStop(true);
  FCommandCenter->DefaultKeyBind();
  FDisplayReadOnlyOptions->OnChange = [this](TObject*) { ReadOnlyOptionsChanged(); };
  FBackground->OnChange = [this](TObject*) { Invalidate(); };
  FImgFormChLink->OnChange = [this](TObject*) { Invalidate(); };
  HookScrollBarEvents();
  ReadFontMetrics();
  ResetEditRect();
}

TCustomKsEdit::~TCustomKsEdit() {
  TComponent::Destroying();
  // The window goes while the store and the scroll-bar controller its messages reach still exist.
  if (HandleAllocated()) DestroyHandle();
  SetLinkedControl(nullptr);
  SetImageForm(nullptr);
  SetValidator(nullptr);
}

TKsTextPainter& TCustomKsEdit::TextPainter() const {
  if (!FTextPainter) FTextPainter = const_cast<TCustomKsEdit*>(this)->CreateTextPainter();
  return *FTextPainter;
}

std::unique_ptr<TKsTextPainter> TCustomKsEdit::CreateTextPainter() {
  return std::make_unique<TKsWinTextPainter>(*hostLink_, Canvas(), Font());
}

bool TCustomKsEdit::LoadingOrReading() const {
  return ComponentState().Contains(csLoading) || ComponentState().Contains(csReading);
}

void TCustomKsEdit::DefineProperties(TFiler& filer) {
  TKsXPThemedControl::DefineProperties(filer);
  // Names older forms stored: read with today's meaning, never written again.
  filer.DefineProperty(
      u"LinkControlPosition",
      [this](TReader& reader) {
        const int value = GetEnumValue(KsLinkCtlPosInfo(), reader.ReadIdent());
        if (value >= 0) SetLinkedControlPosition(static_cast<TKsLinkCtlPos>(value));
      },
      nullptr, false);
  filer.DefineProperty(
      u"RTLContent", [this](TReader& reader) { SetRightAlignedText(reader.ReadBoolean()); }, nullptr, false);
  filer.DefineProperty(
      u"ChangeDisabledText", [this](TReader& reader) { SetUseDisabledColors(reader.ReadBoolean()); }, nullptr, false);
}

// ---- text ----

void TCustomKsEdit::SetText(const String& value) {
  if (LoadingOrReading() || IsDestroying()) {
    core_->SetText(value, true);
    return;
  }
  if (value == core_->Text()) return;
  if (!HandleAllocated()) {
    // CharCase, both undo lists cleared, the text written, caret to the start.
    core_->SetText(value);
    return;
  }
  // Through the window, so that hooks and replaced window procedures see the new text.
  core_->ClearUndo();
  // Without a case to apply the caller's text goes as it is: a long text is not copied for it.
  String cased;
  const String& sent = core_->CharCase() == eecNormal ? value : (cased = core_->CasedText(value));
  Perform(pf::WM_SETTEXT, 0, reinterpret_cast<pf::LPARAM>(sent.c_str()));
}

void TCustomKsEdit::SetLines(const TStrings* value) { core_->Lines().Assign(value); }

void TCustomKsEdit::TextContentChanged() {
  if (!painting_ && core_) NotifyAccessible(this, TAccessibleChange::Text);
}

void TCustomKsEdit::GetAccessibleInfo(TAccessibleInfo& info) const {
  TKsXPThemedControl::GetAccessibleInfo(info);
  info.Role = TAccessibleRole::Text;
  info.Name.clear();  // a label names the edit; the text is its content
  info.HasText = true;
  const String text = core_->Text();
  info.Text = PasswordMask() != 0 ? String(text.size(), PasswordMask()) : text;
  info.Caret = core_->CaretChar();
  info.Editable = !ReadOnly();
}

// ---- layout of the text ----

void TCustomKsEdit::RecreateOrUpdate() {
  if (HandleAllocated() && !LoadingOrReading()) RecreateWnd();
  else UpdateScrollBars();
}

void TCustomKsEdit::SetMultiline(bool value) {
  if (value == FMultiline) return;
  FMultiline = value;
  if (value) FAlignBottom = false;
  else FScrollBars = ssNone;
  RecreateOrUpdate();
  // The store splits the text into paragraphs only when multi-line: write it again.
  FUpdate = true;
  const String text = core_->Text();
  core_->Lines().SetText(text);
  FUpdate = false;
  ResetEditRect();
}

void TCustomKsEdit::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  core_->Rewrap();
  Invalidate();
  UpdateScrollBars();
}

void TCustomKsEdit::SetScrollBars(TScrollStyle value) {
  if (!FMultiline && !LoadingOrReading()) value = ssNone;
  if (value == FScrollBars) return;
  FScrollBars = value;
  RecreateOrUpdate();
  ResetEditRect();
  UpdateScrollBars();
}

void TCustomKsEdit::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  if (value != taLeftJustify && !FRightAlignedText) SetWordWrap(true);
  Invalidate();
  CaretMoved();
}

void TCustomKsEdit::SetRightAlignedText(bool value) {
  if (value == FRightAlignedText) return;
  FRightAlignedText = value;
  core_->Rewrap();
  Invalidate();
}

void TCustomKsEdit::SetRightAlignedView(bool value) {
  if (value == FRightAlignedView) return;
  FRightAlignedView = value;
  RecreateOrUpdate();
}

void TCustomKsEdit::SetLeftMargin(int value) {
  if (value == FLeftMargin) return;
  FLeftMargin = value;
  core_->Rewrap();
  Invalidate();
  CaretMoved();
}

void TCustomKsEdit::SetRightMargin(int value) {
  if (value == FRightMargin) return;
  FRightMargin = value;
  core_->Rewrap();
  Invalidate();
  CaretMoved();
}

void TCustomKsEdit::SetTopMargin(int value) {
  if (FAlignBottom || value == FTopMargin) return;
  FTopMargin = value;
  UpdateLinesInRect();
  Invalidate();
  CaretMoved();
}

void TCustomKsEdit::SetAlignBottom(bool value) {
  if (value == FAlignBottom) return;
  FAlignBottom = value;
  if (value) FTopMargin = 0;
  UpdateLinesInRect();
  Invalidate();
}

void TCustomKsEdit::SetTabSpaces(int value) {
  // A tab always stands for at least one space.
  if (value <= 0 || value == FTabSpaces) return;
  FTabSpaces = value;
  core_->Rewrap();
  Invalidate();
}

void TCustomKsEdit::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  AdjustHeight();
}

// ---- editing ----

void TCustomKsEdit::SetReadOnly(bool value) {
  core_->SetReadOnly(value);
  InvalidateEditRect();
}

void TCustomKsEdit::SetMaxLength(int value) { core_->SetMaxLength(value); }

void TCustomKsEdit::SetPasswordChar(const String& value) {
  if (value == FPasswordChar) return;
  FPasswordChar = value;
  core_->Rewrap();
  Invalidate();
}

void TCustomKsEdit::SetStressShortCut(TShortCut value) {
  FStressShortCut = value;
  FCommandCenter->SetStressShortCut(value);
}

void TCustomKsEdit::SetCueBanner(const String& value) {
  if (value == FCueBanner) return;
  FCueBanner = value;
  Invalidate();
}

// ---- selection ----

void TCustomKsEdit::SetHideSelection(bool value) {
  if (value == FHideSelection) return;
  FHideSelection = value;
  if (!Focused()) Invalidate();
}

namespace {
template <class V>
bool Assigned(V& field, V value) {
  if (field == value) return false;
  field = value;
  return true;
}
}  // namespace

void TCustomKsEdit::SetFocusedSelectColor(TColor value) {
  if (Assigned(FFocusedSelectColor, value)) InvalidateEditRect();
}
void TCustomKsEdit::SetFocusedSelectTextColor(TColor value) {
  if (Assigned(FFocusedSelectTextColor, value)) InvalidateEditRect();
}
void TCustomKsEdit::SetHideSelectColor(TColor value) {
  if (Assigned(FHideSelectColor, value)) InvalidateEditRect();
}
void TCustomKsEdit::SetHideSelectTextColor(TColor value) {
  if (Assigned(FHideSelectTextColor, value)) InvalidateEditRect();
}
void TCustomKsEdit::SetHighlightAlphaLevel(int value) {
  if (Assigned(FHighlightAlphaLevel, std::clamp(value, 0, 255))) InvalidateEditRect();
}

void TCustomKsEdit::SetSelStart(int value) { core_->SetSelStart(value); }
void TCustomKsEdit::SetSelLength(int value) { core_->SetSelLength(value); }

void TCustomKsEdit::SetSelText(const String& value) {
  // Recorded by the core, so that undo stays in step with the text.
  core_->SetSelText(value);
  InvalidateEditRect();
}

void TCustomKsEdit::SelectAll() {
  core_->SelectAll();
  InvalidateEditRect();
}

// ---- border ----

void TCustomKsEdit::SetBorderStyle(TFormBorderStyle value) {
  if (Assigned(FBorderStyle, value)) RecreateOrUpdate();
}
void TCustomKsEdit::SetBorderSides(TVnBorderSides value) {
  if (Assigned(FBorderSides, value)) RecreateOrUpdate();
}
void TCustomKsEdit::SetFlat(bool value) {
  if (!Assigned(FFlat, value)) return;
  RecreateOrUpdate();
  UpdateScrollBars();
}
void TCustomKsEdit::SetActiveBorderType(TKsFlatBorderType value) {
  if (Assigned(FActiveBorderType, value)) InvalidateBorder();
}
void TCustomKsEdit::SetInactiveBorderType(TKsFlatBorderType value) {
  if (Assigned(FInactiveBorderType, value)) InvalidateBorder();
}
void TCustomKsEdit::SetLineBorderActiveColor(TColor value) {
  if (Assigned(FLineBorderActiveColor, value)) InvalidateBorder();
}
void TCustomKsEdit::SetLineBorderInactiveColor(TColor value) {
  if (Assigned(FLineBorderInactiveColor, value)) InvalidateBorder();
}
void TCustomKsEdit::SetBorderColor(TColor& field, TColor value) {
  // The sunken border of a control that is not flat wears these colours too.
  if (Assigned(field, value)) InvalidateBorder();
}

// ---- scroll bars ----

void TCustomKsEdit::SetFlatFocusedScrollBars(bool value) {
  if (Assigned(FFlatFocusedScrollBars, value)) InvalidateBorder();
}

void TCustomKsEdit::SetUseCustomScrollBars(bool value) {
  if (Assigned(FUseCustomScrollBars, value)) RecreateOrUpdate();
}

TKsCtrlScrollBarStyles* TCustomKsEdit::VertScrollBarStyles() const { return FSBController->VertScrollBarStyles(); }
void TCustomKsEdit::SetVertScrollBarStyles(const TKsCtrlScrollBarStyles* value) {
  FSBController->SetVertScrollBarStyles(value);
}
TKsCtrlScrollBarStyles* TCustomKsEdit::HorzScrollBarStyles() const { return FSBController->HorzScrollBarStyles(); }
void TCustomKsEdit::SetHorzScrollBarStyles(const TKsCtrlScrollBarStyles* value) {
  FSBController->SetHorzScrollBarStyles(value);
}

// ---- background and colours ----

void TCustomKsEdit::SetTransparent(bool value) {
  if (!Assigned(FTransparent, value)) return;
  TControlStyle style = ControlStyle();
  if (value) style.Exclude(csOpaque);
  else style.Include(csOpaque);
  SetControlStyle(style);
  RecreateOrUpdate();
}

void TCustomKsEdit::SetBackground(const TBitmap* value) { FBackground->Assign(value); }
void TCustomKsEdit::SetUseBackground(bool value) {
  if (Assigned(FUseBackground, value)) Invalidate();
}

void TCustomKsEdit::SetImageForm(TCustomKsImageForm* value) {
  if (value == FImageForm) return;
  if (FImageForm) {
    FImageForm->RemoveFreeNotification(this);
    FImageForm->UnregisterChanges(FImgFormChLink.get());
  }
  FImageForm = value;
  if (FImageForm) {
    FImageForm->FreeNotification(this);
    // A background borrowed from the image form is painted again whenever it changes.
    FImageForm->RegisterChanges(FImgFormChLink.get());
  }
  Invalidate();
}

void TCustomKsEdit::SetUseDisabledColors(bool value) {
  if (Assigned(FUseDisabledColors, value)) Invalidate();
}
void TCustomKsEdit::SetDisabledColor(TColor value) {
  if (Assigned(FDisabledColor, value)) Invalidate();
}
void TCustomKsEdit::SetDisabledFontColor(TColor value) {
  if (Assigned(FDisabledFontColor, value)) Invalidate();
}

void TCustomKsEdit::ReadOnlyOptionsChanged() { Invalidate(); }

TColor TCustomKsEdit::BackgroundColor() const {
  if (!Enabled() && FUseDisabledColors) return FDisabledColor;
  if (ReadOnly() && FDisplayReadOnlyOptions->Enabled()) return FDisplayReadOnlyOptions->BkColor();
  return Color();
}

TThemedElementDetails TCustomKsEdit::ThemeDetails() const { return painter_->ThemeDetails(); }

TColor TCustomKsEdit::TextColor() const {
  if (!Enabled()) return FUseDisabledColors && !IsThemed() ? FDisabledFontColor : clGrayText;
  if (ReadOnly() && FDisplayReadOnlyOptions->Enabled()) return FDisplayReadOnlyOptions->TextColor();
  return IsThemed() ? clWindowText : Font()->Color();
}

// ---- linked control ----

void TCustomKsEdit::SetLinkedControl(TControl* value) {
  if (value == this || value == FLinkedControl) return;
  if (FLinkedControl) FLinkedControl->RemoveFreeNotification(this);
  FLinkedControl = value;
  if (FLinkedControl) FLinkedControl->FreeNotification(this);
  PlaceLinkedControl();
}

void TCustomKsEdit::SetLinkedControlPosition(TKsLinkCtlPos value) {
  if (Assigned(FLinkedControlPosition, value)) PlaceLinkedControl();
}

void TCustomKsEdit::SetLinkedControlSpacing(int value) {
  if (Assigned(FLinkedControlSpacing, value)) PlaceLinkedControl();
}

void TCustomKsEdit::PlaceLinkedControl() {
  // Two edits linked to each other would move each other without end.
  if (!FLinkedControl || placingLinkedControl_ || LoadingOrReading()) return;
  placingLinkedControl_ = true;
  FLinkedControl->SetBoundsRect(TKsLinkedControlPlacement::Place(
      BoundsRect(), FLinkedControl->Width(), FLinkedControl->Height(), FLinkedControlPosition, FLinkedControlSpacing));
  placingLinkedControl_ = false;
}

void TCustomKsEdit::SetBounds(int left, int top, int width, int height) {
  TKsXPThemedControl::SetBounds(left, top, width, height);
  // With a window, the move reports itself (WM_WINDOWPOSCHANGED) and places the link there.
  if (!HandleAllocated()) PlaceLinkedControl();
}

// ---- validation ----

void TCustomKsEdit::SetValidator(TComponent* value) {
  if (value == FValidator) return;
  if (FValidator) FValidator->RemoveFreeNotification(this);
  FValidator = value;
  if (FValidator) FValidator->FreeNotification(this);
}

void TCustomKsEdit::RespondToError(int errorLevel) {
  if (errorLevel > 0) FErrorLevel = errorLevel;
  if (OnValidationError) OnValidationError(this, errorLevel);
}

void TCustomKsEdit::Notification(TComponent* component, TOperation operation) {
  TKsXPThemedControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FLinkedControl) FLinkedControl = nullptr;
  if (component == FImageForm) FImageForm = nullptr;
  if (component == FValidator) FValidator = nullptr;
}

// ---- theme ----

void TCustomKsEdit::SetThemeMode(TVnThemeMode value) {
  // A stored form holds the bars' own settings.
  if (!LoadingOrReading()) FSBController->SetThemeMode(value);
  TKsXPThemedControl::SetThemeMode(value);
  RecreateOrUpdate();
}

void TCustomKsEdit::SetThemeGlobalMode(bool value) {
  // A stored form holds the bars' own settings.
  if (!LoadingOrReading()) FSBController->SetThemeGlobalMode(value);
  TKsXPThemedControl::SetThemeGlobalMode(value);
  RecreateOrUpdate();
}

void TCustomKsEdit::SetUseXPThemes(bool value) {
  // A stored form holds the bars' own settings.
  if (!LoadingOrReading()) FSBController->SetUseXPThemes(value);
  TKsXPThemedControl::SetUseXPThemes(value);
  RecreateOrUpdate();
}

// ---- events and hooks ----

void TCustomKsEdit::Change() {
  if (OnChange) OnChange(this);
  if (auto* validator = dynamic_cast<IKsValidator*>(FValidator)) validator->Validate(*this);
}

void TCustomKsEdit::SelectionChange() {
  OfferPrimarySelection();
  if (OnSelectionChange) OnSelectionChange(this);
}

void TCustomKsEdit::BeforeCommand(TKsCommand, char16_t, const String&) {}
void TCustomKsEdit::AfterCommand(TKsCommand, char16_t, const String&) {}
void TCustomKsEdit::AfterChange() {}

void TCustomKsEdit::KeyPressEx(String& key) {
  if (OnKeyPressEx) OnKeyPressEx(this, key);
}

void TCustomKsEdit::PasteClipboardText(String& text) {
  if (OnPasteClipboardText) OnPasteClipboardText(this, text);
}

void TCustomKsEdit::MouseEnter() {
  FMouseOver = true;
  if (IsThemed() || !Focused()) InvalidateBorder();
}

void TCustomKsEdit::MouseLeave() {
  FMouseOver = false;
  if (IsThemed() || !Focused()) InvalidateBorder();
}

// ---- commands ----

void TCustomKsEdit::CommandCenter(TKsCommand command, char16_t ch, const String& data) {
  BeforeCommand(command, ch, data);
  ExecuteCommand(command, ch, data);
  AfterCommand(command, ch, data);
}

void TCustomKsEdit::ExecuteCommand(TKsCommand command, char16_t ch, const String& data) {
  // The operations a descendant may replace run through their virtual functions here.
  if (command >= kscmd::SetBookmark0 && command < kscmd::SetBookmark0 + TKsEditCore::BookmarkCount)
    return SetBookmark(command - kscmd::SetBookmark0);
  if (command >= kscmd::GotoBookmark0 && command < kscmd::GotoBookmark0 + TKsEditCore::BookmarkCount)
    return GotoBookmark(command - kscmd::GotoBookmark0);
  switch (command) {
    // Undoing is editing: the user's undo waits until the edit is writable again.
    case kscmd::Undo:
      if (!ReadOnly()) core_->ExecuteCommand(command, ch, data);
      return;
    case kscmd::Cut:
      if (CutToClipboard()) SetModified(true);
      return;
    case kscmd::Copy: CopyToClipboard(); return;
    case kscmd::Paste:
      if (PasteFromClipboard()) SetModified(true);
      return;
    case kscmd::SetStress: SetStress(CaretX(), CaretY()); return;
    default: core_->ExecuteCommand(command, ch, data);
  }
}

bool TCustomKsEdit::CutToClipboard() { return core_->CutToClipboard(); }
bool TCustomKsEdit::CopyToClipboard() { return core_->CopyToClipboard(); }
bool TCustomKsEdit::PasteFromClipboard() { return core_->PasteFromClipboard(); }

void TCustomKsEdit::Loaded() {
  TKsXPThemedControl::Loaded();
  if (!FMultiline) FScrollBars = ssNone;
  UpdateScrollBars();
  AdjustHeight();
  ResetEditRect();
  PlaceLinkedControl();
}

void TCustomKsEdit::Paint() {
  painting_ = true;
  painter_->Paint(*Canvas());
  painting_ = false;
}

void TCustomKsEdit::PaintText() { painter_->PaintText(*Canvas()); }
void TCustomKsEdit::PaintLine(int y) { painter_->PaintLine(y); }
void TCustomKsEdit::PaintCueBanner() { painter_->PaintCueBanner(*Canvas()); }

}  // namespace kestrel
