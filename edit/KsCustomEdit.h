#pragma once
// TCustomKsEdit: the library's windowed text-entry control. It keeps its text in its own
// paragraph store (through the editing core, edit/KsEditCore.h), keeps its own caret and
// selection, turns keys into numbered commands through its key command list and records undo
// steps. Single-line by default; Multiline makes it a multi-line, optionally word-wrapping editor.
// Further translation units of this class: KsCustomEditWindow.cpp (window, layout, focus,
// caret, scrolling), KsCustomEditMessages.cpp (the window messages it answers) and
// KsCustomEditInput.cpp (mouse, keys, characters, input methods).

#include <memory>

#include "controls/BorderPainter.h"
#include "controls/DrawingTypes.h"
#include "controls/ImgFormChangeLink.h"
#include "controls/KsXPThemedControl.h"
#include "controls/ThemedElements.h"
#include "edit/KsCharInput.h"
#include "edit/KsClickCounter.h"
#include "edit/KsDeadCharList.h"
#include "edit/KsDisplayReadOnlyOptions.h"
#include "edit/KsEditCore.h"
#include "edit/KsEditCoreEvents.h"
#include "edit/KsEditTypes.h"
#include "edit/KsKeyCommandList.h"
#include "edit/KsKeyDispatch.h"
#include "edit/KsTextPainter.h"
#include "edit/KsValidation.h"
#include "framework/Bitmap.h"
#include "framework/Form.h"

namespace kestrel {

class TCustomKsImageForm;
class TKsCtrlScrollBarStyles;
class TKsSBController;
class TKsEditHostLink;
class TKsEditPainter;
class TKsEditBorderPainter;

using TKsKeyPressExEvent = std::function<void(TObject* Sender, String& Key)>;
using TKsPasteClipboardEvent = std::function<void(TObject* Sender, String& AClipboardText)>;
using TKsValidationErrorEvent = std::function<void(TObject* Sender, int ErrorLevel)>;

class TCustomKsEdit : public TKsXPThemedControl, public IKsEditCoreEvents, public IKsValidatedControl {
  KESTREL_CLASS(TCustomKsEdit)
  explicit TCustomKsEdit(TComponent* owner);
  ~TCustomKsEdit() override;

  // ---- text ----
  // The store's text. (TControl::Text(), reached through a base pointer, does not hold it.)
  String Text() const { return core_->Text(); }
  void SetText(const String& value) override;
  TStrings* Lines() const { return &core_->Lines(); }
  void SetLines(const TStrings* value);
  int LinesCount() const { return core_->LinesCount(); }
  bool Modified() const { return core_->Modified(); }
  void SetModified(bool value) { core_->SetModified(value); }

  // ---- layout of the text ----
  bool Multiline() const { return FMultiline; }
  void SetMultiline(bool value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  bool RightAlignedText() const { return FRightAlignedText; }
  bool RightAlignedView() const { return FRightAlignedView; }
  int LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(int value);
  int RightMargin() const { return FRightMargin; }
  void SetRightMargin(int value);
  int TopMargin() const { return FTopMargin; }
  void SetTopMargin(int value);
  bool AlignBottom() const { return FAlignBottom; }
  void SetAlignBottom(bool value);
  int TabSpaces() const { return FTabSpaces; }
  void SetTabSpaces(int value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);

  // ---- editing ----
  virtual bool ReadOnly() const { return core_->ReadOnly(); }
  virtual void SetReadOnly(bool value);
  int MaxLength() const { return core_->MaxLength(); }
  virtual void SetMaxLength(int value);
  // The mask as typed into the property; its first character masks the text.
  const String& PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(const String& value);
  char16_t PasswordMask() const { return FPasswordChar.empty() ? char16_t{0} : FPasswordChar[0]; }
  TKsEditCharCase CharCase() const { return core_->CharCase(); }
  void SetCharCase(TKsEditCharCase value) { core_->SetCharCase(value); }
  bool WantTabs() const { return core_->WantTabs(); }
  void SetWantTabs(bool value) { core_->SetWantTabs(value); }
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool value) { FWantReturns = value; }
  bool HandleDialogKeys() const { return FHandleDialogKeys; }
  void SetHandleDialogKeys(bool value) { FHandleDialogKeys = value; }
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool value) { FAutoSelect = value; }
  int MaxUndoLevel() const { return core_->MaxUndoLevel(); }
  void SetMaxUndoLevel(int value) { core_->SetMaxUndoLevel(value); }
  bool NotifyUserChangeOnly() const { return core_->NotifyUserChangeOnly(); }
  void SetNotifyUserChangeOnly(bool value) { core_->SetNotifyUserChangeOnly(value); }
  TShortCut StressShortCut() const { return FStressShortCut; }
  void SetStressShortCut(TShortCut value);
  const String& CueBanner() const { return FCueBanner; }
  void SetCueBanner(const String& value);

  // ---- selection ----
  bool HideSelection() const { return FHideSelection; }
  virtual void SetHideSelection(bool value);
  TColor FocusedSelectColor() const { return FFocusedSelectColor; }
  virtual void SetFocusedSelectColor(TColor value);
  TColor FocusedSelectTextColor() const { return FFocusedSelectTextColor; }
  virtual void SetFocusedSelectTextColor(TColor value);
  TColor HideSelectColor() const { return FHideSelectColor; }
  virtual void SetHideSelectColor(TColor value);
  TColor HideSelectTextColor() const { return FHideSelectTextColor; }
  virtual void SetHideSelectTextColor(TColor value);
  int HighlightAlphaLevel() const { return FHighlightAlphaLevel; }
  virtual void SetHighlightAlphaLevel(int value);

  // ---- border ----
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  TVnBorderSides BorderSides() const { return FBorderSides; }
  void SetBorderSides(TVnBorderSides value);
  bool Flat() const { return FFlat; }
  virtual void SetFlat(bool value);
  TKsFlatBorderType ActiveBorderType() const { return FActiveBorderType; }
  virtual void SetActiveBorderType(TKsFlatBorderType value);
  TKsFlatBorderType InactiveBorderType() const { return FInactiveBorderType; }
  virtual void SetInactiveBorderType(TKsFlatBorderType value);
  TColor LineBorderActiveColor() const { return FLineBorderActiveColor; }
  virtual void SetLineBorderActiveColor(TColor value);
  TColor LineBorderInactiveColor() const { return FLineBorderInactiveColor; }
  virtual void SetLineBorderInactiveColor(TColor value);
  const TKsBorderColors& BorderColors() const { return FBorderColors; }
  TColor BorderColorDkShadow() const { return FBorderColors.DkShadow; }
  void SetBorderColorDkShadow(TColor value) { SetBorderColor(FBorderColors.DkShadow, value); }
  TColor BorderColorFace() const { return FBorderColors.Face; }
  void SetBorderColorFace(TColor value) { SetBorderColor(FBorderColors.Face, value); }
  TColor BorderColorShadow() const { return FBorderColors.Shadow; }
  void SetBorderColorShadow(TColor value) { SetBorderColor(FBorderColors.Shadow, value); }
  TColor BorderColorHighlight() const { return FBorderColors.Highlight; }
  void SetBorderColorHighlight(TColor value) { SetBorderColor(FBorderColors.Highlight, value); }
  TColor BorderColorWindow() const { return FBorderColors.Window; }
  void SetBorderColorWindow(TColor value) { SetBorderColor(FBorderColors.Window, value); }

  // ---- scroll bars ----
  bool FlatFocusedScrollBars() const { return FFlatFocusedScrollBars; }
  void SetFlatFocusedScrollBars(bool value);
  bool UseCustomScrollBars() const { return FUseCustomScrollBars; }
  void SetUseCustomScrollBars(bool value);
  TKsCtrlScrollBarStyles* VertScrollBarStyles() const;
  void SetVertScrollBarStyles(const TKsCtrlScrollBarStyles* value);
  TKsCtrlScrollBarStyles* HorzScrollBarStyles() const;
  void SetHorzScrollBarStyles(const TKsCtrlScrollBarStyles* value);
  TKsSBController* ScrollBarController() const { return FSBController.get(); }
  // Paints the border, the flat platform scroll bars and the corner between custom bars.
  TKsEditBorderPainter& BorderPainter() const { return *borderPainter_; }

  // ---- background and colours ----
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  TBitmap* Background() const { return FBackground.get(); }
  void SetBackground(const TBitmap* value);
  bool UseBackground() const { return FUseBackground; }
  void SetUseBackground(bool value);
  TCustomKsImageForm* ImageForm() const { return FImageForm; }
  virtual void SetImageForm(TCustomKsImageForm* value);
  bool UseDisabledColors() const { return FUseDisabledColors; }
  void SetUseDisabledColors(bool value);
  TColor DisabledColor() const { return FDisabledColor; }
  void SetDisabledColor(TColor value);
  TColor DisabledFontColor() const { return FDisabledFontColor; }
  void SetDisabledFontColor(TColor value);
  TKsDisplayReadOnlyOptions* DisplayReadOnlyOptions() const { return FDisplayReadOnlyOptions.get(); }
  void SetDisplayReadOnlyOptions(const TKsDisplayReadOnlyOptions* value) { FDisplayReadOnlyOptions->Assign(value); }

  // ---- linked control ----
  TControl* LinkedControl() const { return FLinkedControl; }
  void SetLinkedControl(TControl* value);
  TKsLinkCtlPos LinkedControlPosition() const { return FLinkedControlPosition; }
  void SetLinkedControlPosition(TKsLinkCtlPos value);
  int LinkedControlSpacing() const { return FLinkedControlSpacing; }
  void SetLinkedControlSpacing(int value);
  // Puts the linked control next to the edit (nothing while it is already being placed).
  void PlaceLinkedControl();
  // Moving the edit moves its linked control along.
  void SetBounds(int left, int top, int width, int height) override;

  // ---- context menu, input method, validation ----
  bool UseSystemMenu() const { return FUseSystemMenu; }
  void SetUseSystemMenu(bool value) { FUseSystemMenu = value; }
  bool LocalizedSystemMenu() const { return FLocalizedSystemMenu; }
  void SetLocalizedSystemMenu(bool value) { FLocalizedSystemMenu = value; }
  TImeMode ImeMode() const { return FImeMode; }
  // Both reach the input method at once while the edit has the focus, else when it gets it.
  void SetImeMode(TImeMode value);
  const String& ImeName() const { return FImeName; }
  void SetImeName(const String& value);
  TComponent* Validator() const { return FValidator; }
  void SetValidator(TComponent* value);
  const String& ValidationMsgString() const override { return FValidationMsgString; }
  void SetValidationMsgString(const String& value) { FValidationMsgString = value; }
  String ValidationValue() const override { return Text(); }
  void RespondToError(int errorLevel) override;
  int ErrorLevel() const { return FErrorLevel; }

  // ---- theme: each new value goes to the scroll-bar controller too, then the window is remade ----
  void SetThemeMode(TVnThemeMode value) override;
  void SetThemeGlobalMode(bool value) override;
  void SetUseXPThemes(bool value) override;

  // ---- caret, selection and view ----
  int CaretX() const { return core_->CaretX(); }
  void SetCaretX(int value) { core_->SetCaretX(value); }
  int CaretY() const { return core_->CaretY(); }
  void SetCaretY(int value) { core_->SetCaretY(value); }
  TKsCaretPos CaretXY() const { return core_->CaretXY(); }
  void SetCaretXY(TKsCaretPos value) { core_->SetCaretXY(value); }
  virtual int SelStart() const { return core_->SelStart(); }
  virtual void SetSelStart(int value);
  virtual int SelLength() const { return core_->SelLength(); }
  virtual void SetSelLength(int value);
  String SelText() const { return core_->SelText(); }
  // Replaces the selection with Value, recorded as one undo step (so that later undos still
  // meet the text their records describe).
  virtual void SetSelText(const String& value);
  String SelectedText() const { return core_->SelectedText(); }
  int TopLine() const { return core_->TopLine(); }
  void SetTopLine(int value) { core_->SetTopLine(value); }
  int LeftChar() const { return core_->LeftChar(); }
  void SetLeftChar(int value) { core_->SetLeftChar(value); }
  bool MouseOver() const { return FMouseOver; }
  bool DragAllowed() const { return FDragAllowed; }
  void SetDragAllowed(bool value) { FDragAllowed = value; }
  bool CanUndo() const { return core_->CanUndo(); }
  TKsDeadCharList* DeadCharList() const { return FDeadCharList.get(); }
  TFont* ControlFont() const { return Font(); }
  TBrush* ControlBackBrush() const { return Brush(); }
  TKsKeyCommandList& KeyCommands() { return *FCommandCenter; }
  TKsEditCore& Core() { return *core_; }
  // The text as content (masked with a password character), the caret, whether it is editable.
  void GetAccessibleInfo(TAccessibleInfo& info) const override;
  const TKsEditCore& Core() const { return *core_; }

  // ---- geometry ----
  const TRect& EditRect() const { return FEditRect; }
  int LineHeight() const { return FLineHeight; }
  int LinesInRect() const { return core_->LinesInRect(); }
  int Ascent() const { return FAscent; }
  // Pixels between the margins of the edit rectangle.
  int Room() const;
  // Where line Y starts when PaintedWidth pixels of it show (its alignment and LeftChar).
  int LineStartX(int y, int paintedWidth) const;

  // ---- operations ----
  void SelectAll();
  TKsCaretPos CaretFromChar(int charNum) const { return core_->CaretFromChar(charNum); }
  int CharFromCaret(int x, int y) const { return core_->CharFromCaret(x, y); }
  void Undo() { core_->Undo(); }
  void ClearUndo() { core_->ClearUndo(); }
  void Scroll(int direction);
  void ScrollCaret();
  TKsCaretPos GetNextWord(TKsCaretPos caret) const { return core_->GetNextWord(caret); }
  TKsCaretPos GetPrevWord(TKsCaretPos caret) const { return core_->GetPrevWord(caret); }

  // ---- the virtual operations descendants may replace ----
  virtual void ReadOnlyOptionsChanged();
  // Pixels kept free below the text.
  virtual int ExtraBottomSpace() const { return 0; }
  // OnChange, then the validator.
  void Change() override;
  // OnSelectionChange.
  void SelectionChange() override;
  void BeforeCommand(TKsCommand command, char16_t ch, const String& data) override;
  void AfterCommand(TKsCommand command, char16_t ch, const String& data) override;
  // The mouse came over the edit or left it (OnMouseEnter / OnMouseLeave have fired).
  virtual void MouseEnter();
  virtual void MouseLeave();
  // Makes the painter the text is measured and drawn with.
  virtual std::unique_ptr<TKsTextPainter> CreateTextPainter();
  virtual void SetEditRect(const TRect& value);
  virtual void SetRightAlignedView(bool value);
  virtual void SetRightAlignedText(bool value);
  void AfterChange() override;
  // OnKeyPressEx: may rewrite or empty the text about to be typed.
  void KeyPressEx(String& key) override;
  void PasteClipboardText(String& text) override;
  // The colours the text is painted in now.
  virtual TColor BackgroundColor() const;
  virtual TColor TextColor() const;
  // The theme's edit part the background is drawn with in the control's state.
  virtual TThemedElementDetails ThemeDetails() const;
  // Whether the theme's part is drawn even where the application paints themed controls in
  // their Color (a drop-down-list combo box).
  virtual bool DrawsThemeElementAlways() const { return false; }
  // Single-line with AutoSize: the height follows the font.
  virtual void AdjustHeight();
  // Runs a command between the before- and after-command hooks.
  virtual void CommandCenter(TKsCommand command, char16_t ch, const String& data);
  virtual void ExecuteCommand(TKsCommand command, char16_t ch, const String& data);
  virtual void SetStress(int x, int y) { core_->SetStress(x, y); }
  virtual void SetBookmark(int index) { core_->SetBookmark(index); }
  virtual void GotoBookmark(int index) { core_->GotoBookmark(index); }
  // Pixel point (client coordinates) of a caret position; raises EKsEditorError for a line
  // beyond the text.
  virtual TPoint PosFromCaret(int x, int y) const;
  virtual TKsCaretPos CaretFromPos(TPoint point) const;
  // Each answers whether it did anything.
  virtual bool CutToClipboard();
  virtual bool CopyToClipboard();
  virtual bool PasteFromClipboard();

  // The painter (made on first use).
  TKsTextPainter& TextPainter() const;

  // Text dragged over and dropped on the edit (edit/KsEditDragDrop.h).
  void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override;
  void DragDrop(TObject* source, int x, int y) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnSelectionChange;
  TKsKeyPressExEvent OnKeyPressEx;
  TKsPasteClipboardEvent OnPasteClipboardText;
  TKsValidationErrorEvent OnValidationError;

 protected:
  // Paints the client area through the paint pass (edit/KsEditPainter.h): the background and
  // text, then the cue banner when it shows.
  void Paint() override;
  // The background and the visible lines.
  virtual void PaintText();
  virtual void PaintLine(int y);
  virtual void PaintCueBanner();
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler& filer) override;
  platform::LRESULT DialogCode() const override;
  void KeyDown(platform::WORD& key, TShiftState shift) override;
  void KeyPress(char16_t& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void DoContextPopup(TPoint mousePos, bool& handled) override;

  // IKsEditCoreEvents: what the core's changes mean on screen.
  void InvalidateEditRect() override;
  void CaretMoved() override;
  void ViewChanged() override;

  // The drag that a press inside the selection may start. A pending drag starts once the mouse
  // has moved far enough; the drag-and-drop wiring replaces StartDrag and DragCancelled.
  virtual void StartDrag();
  virtual void DragCancelled();
  void DoEndDrag(TObject* target, int x, int y) override;
  bool WaitingForDrag() const { return FWaitForDragging; }
  bool Dragging() const { return FDragging; }
  void SetDragging(bool value) { FDragging = value; }

  bool LoadingOrReading() const;
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }

 private:
  friend class TKsEditHostLink;
  // The drag-and-drop wiring (edit/KsEditDragDrop.*) drives the drag states below.
  friend class TKsEditDragDrop;
  friend class TKsEditPainter;
  friend class TKsEditLinePainter;
  friend class TKsEditBorderPainter;
  static void PublishBehaviour(TClassBuilder<TCustomKsEdit>& b);
  static void PublishLook(TClassBuilder<TCustomKsEdit>& b);

  void SetBorderColor(TColor& field, TColor value);
  void RecreateOrUpdate();
  void RebuildWindow();
  void InvalidateBorder();
  void FontMetricsChanged();
  void ReadFontMetrics();
  void ResetEditRect();
  void UpdateLinesInRect();
  void SizeChanged();
  // The text changed: accessibility hears of it.
  void TextContentChanged();

  // ---- input method (KsCustomEditIme.cpp) ----
  // ImeMode and ImeName into effect for the window; it has or is getting the focus.
  void ApplyIme();

  // ---- window side (KsCustomEditWindow.cpp) ----
  // Attaches the owner-drawn scroll bars; turns UseCustomScrollBars off when they cannot attach.
  void AttachScrollBars();
  void CalcNonClientSize(TMessage& message);
  // A flat single border without theming: the platform's border is replaced by the flat one.
  bool PaintsOwnBorder() const;
  void PaintNonClient(TMessage& message);
  void GotFocus();
  void LostFocus(platform::HWND focusGoesTo);
  void MakeCaret();
  void KillCaret();
  void PlaceCaret();
  void UpdateScrollBars();
  void UpdateVertScrollBar();
  void UpdateHorzScrollBar();
  // The whole thumb position of a scroll message that carries only its low 16 bits.
  int ThumbPosition(int bar, int low16);
  void VertScroll(TKsScrollRequest request, int thumbPos);
  void HorzScroll(TKsScrollRequest request, int thumbPos);
  // The owner-drawn bars' steps and visibility reach the view through these.
  void HookScrollBarEvents();
  void VertBarScrolled(int position);
  void HorzBarScrolled(int position);
  void BarVisibilityChanged();
  void MouseWheel(int delta);
  static int PlatformWheelLines();

  // ---- messages (KsCustomEditMessages.cpp) ----
  bool HandleEditMessage(TMessage& message);
  bool HandleTextMessage(TMessage& message);
  bool HandleLineMessage(TMessage& message);
  void SetTextMessage(TMessage& message);
  void GetTextMessage(TMessage& message) const;
  void GetSelMessage(TMessage& message) const;
  void SetSelMessage(TMessage& message);
  void LineIndexMessage(TMessage& message) const;
  void GetLineMessage(TMessage& message) const;
  void SetRectMessage(TMessage& message, bool invalidate);
  void MenuCommand(platform::WORD item);

  // ---- input (KsCustomEditInput.cpp) ----
  void KeyDownMessage(TMessage& message);
  void UniCharMessage(TMessage& message);
  void StartComposition();
  void CompositionMessage(TMessage& message);
  void TypeChars(const String& text);
  // A press on an unfocused edit: caret to the point (everything selected with AutoSelect).
  bool FocusingPress(int x, int y);
  void ButtonDownMessage(TMessage& message);
  void SelectWordAt(TKsCaretPos pos);
  void LeftPress(TShiftState shift, TKsCaretPos pos, bool focusingPress);
  bool InsideSelection(TKsCaretPos pos) const;
  // Whether a press at Pos may start dragging the selection.
  bool MayDragFrom(TKsCaretPos pos) const;
  void TakeFocus();
  void PastePrimarySelection(int x, int y);
  void OfferPrimarySelection();

  std::unique_ptr<TKsEditHostLink> hostLink_;
  mutable std::unique_ptr<TKsTextPainter> FTextPainter;
  std::unique_ptr<TKsEditCore> core_;
  std::unique_ptr<TKsKeyCommandList> FCommandCenter;
  std::unique_ptr<TKsDeadCharList> FDeadCharList;
  std::unique_ptr<TKsDisplayReadOnlyOptions> FDisplayReadOnlyOptions;
  std::unique_ptr<TBitmap> FBackground;
  std::unique_ptr<TImgFormChangeLink> FImgFormChLink;
  std::unique_ptr<TKsSBController> FSBController;
  std::unique_ptr<TKsEditPainter> painter_;
  std::unique_ptr<TKsEditBorderPainter> borderPainter_;
  TKsKeyDispatch keyDispatch_;
  TKsCharInput charInput_;
  TKsClickCounter clickCounter_;

  bool FMultiline = false;
  bool FWordWrap = false;
  TScrollStyle FScrollBars = ssNone;
  TAlignment FAlignment = taLeftJustify;
  bool FRightAlignedText = false;
  bool FRightAlignedView = false;
  bool FWantReturns = false;
  bool FHandleDialogKeys = false;
  bool FAutoSelect = false;
  bool FAutoSize = true;
  bool FAlignBottom = true;
  int FLeftMargin = 1;
  int FRightMargin = 1;
  int FTopMargin = 0;
  int FTabSpaces = 4;
  String FPasswordChar;
  bool FHideSelection = true;
  TColor FFocusedSelectColor = clHighlight;
  TColor FFocusedSelectTextColor = clHighlightText;
  TColor FHideSelectColor = clBtnFace;
  TColor FHideSelectTextColor = clBtnShadow;
  int FHighlightAlphaLevel = 255;
  TFormBorderStyle FBorderStyle = bsSingle;
  TVnBorderSides FBorderSides = AllBorderSides;
  bool FFlat = false;
  TKsFlatBorderType FActiveBorderType = fbtSunken;
  TKsFlatBorderType FInactiveBorderType = fbtSunkenOuter;
  TColor FLineBorderActiveColor = clBtnFace;
  TColor FLineBorderInactiveColor = clBtnFace;
  TKsBorderColors FBorderColors;
  bool FFlatFocusedScrollBars = false;
  bool FUseCustomScrollBars = true;
  bool readingBarVisibility_ = false;
  bool FTransparent = false;
  bool FUseBackground = false;
  TCustomKsImageForm* FImageForm = nullptr;
  bool FUseDisabledColors = false;
  TColor FDisabledColor = clBtnFace;
  TColor FDisabledFontColor = clGrayText;
  TControl* FLinkedControl = nullptr;
  TKsLinkCtlPos FLinkedControlPosition = lcpTopLeft;
  int FLinkedControlSpacing = 0;
  bool placingLinkedControl_ = false;
  bool FUseSystemMenu = true;
  bool FLocalizedSystemMenu = false;
  TShortCut FStressShortCut = 0;
  String FCueBanner;
  TComponent* FValidator = nullptr;
  String FValidationMsgString;
  int FErrorLevel = 0;
  TImeMode FImeMode = imDontCare;
  String FImeName;

  // View and metrics.
  TRect FEditRect{};
  int FLineHeight = 0;
  int textHeight_ = 0;  // the font's text height
  int FAscent = 0;
  int FDescent = 0;
  bool FHasCaret = false;
  bool FFocused = false;
  bool focusWentNowhere_ = false;
  platform::BYTE FCharset = 0;
  bool FUpdate = false;

  // Mouse.
  bool FMouseOver = false;
  TPoint FMouseDownPos{};
  bool FWaitForDragging = false;
  bool FDragging = false;
  bool FDragAllowed = false;
  bool FSelecting = false;
  TKsCaretPos dragStartCaret_{};
  bool focusingPress_ = false;
  bool pressing_ = false;

  bool painting_ = false;
};

}  // namespace kestrel
