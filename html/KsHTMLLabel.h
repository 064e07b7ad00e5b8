#pragma once
// TKsHTMLLabel: a windowless label that shows its caption as markup (or, with IsHTML off, as
// plain text). It wraps to its width, sizes itself to the text, places the text by Layout and
// Alignment inside its border, shows a hand cursor over links and reports link clicks; linked
// to a snippet store it shows a snippet, and links naming a snippet switch to it.

#include <functional>
#include <memory>

#include "html/HTMLRender.h"
#include "html/KsLabel.h"

namespace kestrel {

class TKsHTMLContainer;
class TKsHTMLChangeLink;
class TPopupMenu;

using TKsHTMLLinkClickEvent = std::function<void(TObject* Sender, const String& HRef)>;
using TKsHTMLImageNeededEvent = TVnHTMLImageNeededEvent;

class TKsHTMLLabel : public TCustomKsLabel {
  KESTREL_CLASS(TKsHTMLLabel)
  explicit TKsHTMLLabel(TComponent* AOwner);
  ~TKsHTMLLabel() override;

  bool IsHTML() const { return FIsHTML; }
  void SetIsHTML(bool Value);
  TColor LinkColor() const { return FLinkColor; }
  void SetLinkColor(TColor Value);
  TFontStyles LinkStyle() const { return FLinkStyle; }
  void SetLinkStyle(TFontStyles Value);
  TKsHTMLContainer* Container() const { return FContainer; }
  void SetContainer(TKsHTMLContainer* Value);
  int ContainerIndex() const { return FIndex; }
  void SetContainerIndex(int Value);
  bool CheckContainerLinks() const { return FCheck; }
  void SetCheckContainerLinks(bool Value) { FCheck = Value; }
  // The menu a right click on a link shows (HTML mode; other right clicks are ordinary).
  TPopupMenu* LinkPopupMenu() const { return FLinkPopupMenu; }
  void SetLinkPopupMenu(TPopupMenu* Value);
  // The label's own cursor; over links the hand is shown instead.
  int Cursor() const { return FCursor; }
  void SetCursor(int Value);

  // HTML mode: (0, 0, text width, text height); plain mode: the caption's measured extent.
  TRect TextRect();
  // HTML mode: the text without markup; plain mode: the caption.
  String PlainText() const;
  // A label whose text (without markup) is its name and content, its links as links.
  void GetAccessibleInfo(TAccessibleInfo& info) const override;
  TVnHTMLRender* Render() const { return FRender.get(); }

  void SetBounds(int left, int top, int width, int height) override;
  // Fits the bounds to the text (with AutoSize on).
  void AdjustBounds();
  // Where the text is painted inside the client area.
  TRect TextRectangle() const;

  TKsHTMLLinkClickEvent OnLinkClick;
  TKsHTMLImageNeededEvent OnImageNeeded;
  TVnHTMLImageNeededExEvent OnImageNeededEx;
  TVnHTMLVariableNeededEvent OnVariableNeeded;

 protected:
  virtual void DoLinkClick(const String& HRef);
  void Click() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void WndProc(TMessage& message) override;
  // Over a link the link menu takes the place of the control's own.
  TPopupMenu* PopupMenuAt(TPoint p) const override;
  void Paint() override;
  void Changed() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String LabelText() const override;

 private:
  // Parses and lays out the text again, then fits the bounds.
  void Prepare();
  bool ShowsSnippet() const;
  // The hand over a link, the label's own cursor elsewhere; shown at once.
  void ShowCursor(bool overLink);
  void PaintThemedBackground();
  // Whether client point (x, y) lies on a link (HTML mode).
  bool LinkAt(int x, int y) const;
  // Shows the link menu at a screen point; false when it did not show (no menu, no automatic
  // popup, plain mode, or no link under the point).
  bool PopupLinkMenu(const TPoint& screen);

  bool FAlreadyInSetBounds = false;
  TKsHTMLContainer* FContainer = nullptr;
  int FIndex = 0;
  std::unique_ptr<TKsHTMLChangeLink> FChangeLink;
  bool FCheck = true;
  int FCursor = crDefault;
  std::unique_ptr<TVnHTMLRender> FRender;
  bool FIsHTML = true;
  TColor FLinkColor = clBlue;
  TFontStyles FLinkStyle{fsUnderline};
  TPopupMenu* FLinkPopupMenu = nullptr;
};

}  // namespace kestrel
