#pragma once
// The markup renderer: prepares captions into data objects (parse, wrap, measure), paints them
// onto any canvas, answers which item and link lie under a point, and keeps the interaction
// state of the text (selected item, input under the mouse, check states), optionally driven by a
// hook on the host control.

#include <functional>
#include <memory>

#include "framework/Accessible.h"
#include "framework/Canvas.h"
#include "framework/ControlMessages.h"
#include "framework/LifeToken.h"
#include "html/HTMLData.h"
#include "html/HTMLMeasurer.h"

namespace kestrel {

class TControl;
class TBitmap;
class TPicture;
class THTMLMessageHook;

using TVnHTMLVariableNeededEvent = std::function<void(TObject* Sender, const String& aVarName, String& aVarValue)>;
// The handler may point `Image` (null at first) at a bitmap it keeps; the renderer copies it.
using TVnHTMLImageNeededEvent = std::function<void(TObject* Sender, const String& Src, TBitmap*& Image)>;
// The handler fills the picture.
using TVnHTMLImageNeededExEvent = std::function<void(TObject* Sender, const String& SourceName, TPicture* Image)>;
using TVnHTMLInputItemChangedEvent = std::function<void(TObject* Sender, TVnHTMLInputItem* InputItem)>;

class TVnHTMLRender : public TObject {
  KESTREL_CLASS(TVnHTMLRender)
  TVnHTMLRender();
  ~TVnHTMLRender() override;
  TVnHTMLRender(const TVnHTMLRender&) = delete;
  TVnHTMLRender& operator=(const TVnHTMLRender&) = delete;

  // Prepares `Text` into the current data. MaxWidth is the wrap width, used with AutoWrap only.
  void PrepareText(const String& Text, int MaxWidth, bool AutoWrap);
  void PrepareToData(const String& Text, int MaxWidth, bool AutoWrap, TVnHTMLData*& CurData);

  TVnHTMLData* CreateData();
  // Frees a data object made by CreateData; when it was current, Data() becomes null.
  void DestroyData(TVnHTMLData* Data);
  // Makes `NewData` current (null selects the renderer's own data).
  void SetData(TVnHTMLData* NewData);
  TVnHTMLData* Data() const { return FData; }

  // The plain text of the current data.
  String AsText() const;
  // The plain text as read out (line breaks as one '\n'), with the links in it (runs of one
  // link that follow each other count as one).
  String AsAccessibleText(std::vector<TAccessibleLink>& links) const;

  // Measuring device (see THTMLMeasurer); null is ignored. The font cache goes with the old
  // device, so measurements follow the new one.
  void SetDC(platform::HDC DC) { FMeasurer.SetDC(DC); }
  THTMLMeasurer& Measurer() { return FMeasurer; }

  // The host control: embedded controls are made for it, and the hook drives the interaction
  // from its messages (keys always; mouse moves and left-button releases while HookMouse is on).
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  bool HookMouse() const { return FHookMouse; }
  void SetHookMouse(bool Value) { FHookMouse = Value; }

  // Asks the image events for `Src`; false when neither produced a graphic.
  bool RequestImage(const String& Src, TPicture& Picture);

  // ---- painting ----
  // Paints the current data into `R` of `Canvas`; SrcPoint is the text point shown at R's
  // top-left corner. AdjustFromColor other than clNone makes text contrast against it.
  void DrawText(TCanvas* Canvas, const TPoint& SrcPoint, const TRect& R, TColor AdjustFromColor);
  // As DrawText; with UseOverColors text without a colour of its own is painted in AColor on
  // ABkColor, and the selected item in ASelColor on ASelBkColor.
  void DrawTextEx(TCanvas* ACanvas, const TPoint& ASrcPoint, const TRect& AR, bool UseOverColors, TColor AColor,
                  TColor ABkColor, TColor ASelColor, TColor ASelBkColor, TColor AAdjustFromColor);
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
  // Where the painted rectangle's coordinates lie in the host's client area (used to place
  // embedded controls when the host paints through a bitmap of its own).
  TPoint ControlOffset() const { return FControlOffset; }
  void SetControlOffset(const TPoint& Value) { FControlOffset = Value; }

  // ---- hit testing (Point in the coordinates of R; an empty R means the last painted one) ----
  TVnHTMLItem* ItemAt(const TPoint& Point, const TPoint& SrcPoint, const TRect& R) const;
  bool IsCursorOverLink(const TPoint& Point, const TPoint& SrcPoint, const TRect& R, String& href) const;
  void SelectLinkAt(const TPoint& Point, const TPoint& SrcPoint, const TRect& R);

  // ---- keyboard focus among links, inputs and controls ----
  void SelectNextLink();
  void SelectPrevLink();
  void SelectNextSuitableItem();
  void SelectPrevSuitableItem();
  // The first input after FindFrom (from the start when null) whose name is AName; names are
  // compared without case, as the parser stores them lower-cased.
  TVnHTMLInputItem* FindInputItemByName(const String& AName, const TVnHTMLItem* FindFrom) const;

  // ---- interaction ----
  void MouseMoveTransfer(TShiftState Shift, int X, int Y, const TRect& R);
  void ClickTransfer(int X, int Y, const TRect& R);
  void KeyDownTransfer(platform::WORD& Key, TShiftState Shift);
  // Raises OnChange.
  void Change();
  // Whether the renderer still exists, for code that raises an event that may free it.
  TLifeWatch Life() const { return FLife.Watch(); }
  bool LinkSelect() const { return FLinkSelect; }
  void SetLinkSelect(bool Value) { FLinkSelect = Value; }

  TVnHTMLVariableNeededEvent OnVariableNeeded;
  TVnHTMLImageNeededEvent OnImageNeeded;
  TVnHTMLImageNeededExEvent OnImageNeededEx;
  TNotifyEvent OnChange;
  TVnHTMLInputItemChangedEvent OnInputItemChecked;
  TVnHTMLInputItemChangedEvent OnInputItemTextChanged;
  // The list counter of <ul>/<ol>/<li> (not stacked across nested lists).
  int FCurListItem = 0;

 private:
  void SelectLinkStep(int direction);
  void SelectSuitableStep(int direction);
  void SelectItem(TVnHTMLItem* item);
  void HookMessage(TMessage& m);

  bool FLinkSelect = false;
  TLifeToken FLife;
  std::unique_ptr<THTMLMessageHook> FHook;
  std::unique_ptr<TVnHTMLData> FOwnData;
  std::vector<std::unique_ptr<TVnHTMLData>> FCreated;
  TVnHTMLData* FData = nullptr;
  TControl* FControl = nullptr;
  bool FHookMouse = true;
  THTMLMeasurer FMeasurer;
  std::unique_ptr<TBitmap> FBitmap;
  bool FDoubleBuffered = true;
  TPoint FControlOffset{};

  friend class THTMLPainter;
};

}  // namespace kestrel
