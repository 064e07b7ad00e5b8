#pragma once
// Measures and outputs runs of the edit control's text. The measuring rules (tab expansion,
// masking, characters that fit a width) are the text model's; a concrete painter supplies the
// extents and the output on a device.

#include <string_view>
#include <vector>

#include "edit/KsEditHost.h"
#include "framework/Canvas.h"
#include "framework/Font.h"
#include "platform/core/Unicode.h"

namespace kestrel {

class TKsTextPainter {
 public:
  // Canvas and Font are the control's: shared, not owned.
  TKsTextPainter(IKsEditHost& editor, TCanvas* canvas, TFont* font) : FEditor(editor), canvas_(canvas), FFont(font) {}
  virtual ~TKsTextPainter() = default;
  TKsTextPainter(const TKsTextPainter&) = delete;
  TKsTextPainter& operator=(const TKsTextPainter&) = delete;

  TColor Color() const { return FColor; }
  TColor BkColor() const { return FBkColor; }
  TFont* Font() const { return FFont; }
  // Both repaint the edit rectangle; the text colour also becomes the canvas's pen colour.
  virtual void SetColor(TColor value);
  virtual void SetBkColor(TColor value);

  // Text at (X, Y) with ETO_ options, clipped to Clip when the options ask for it.
  virtual void TextOut(TCanvas* canvas, int x, int y, unsigned options, const platform::RECT* clip,
                       std::u16string_view text) = 0;
  // How many leading UTF-16 units of S fit MaxExtent; Extents (when given) receives the extent up
  // to and including each unit of S.
  virtual int TextExtentEx(std::u16string_view s, int maxExtent, std::vector<int>* extents) const = 0;
  // The host's run query (see IKsEditHost::RunExtents): false unless the painter's extents add
  // up unit by unit. A painter that changes how the one it derives from measures answers false.
  virtual bool RunExtents(std::u16string_view s, std::vector<int>& extents) const {
    (void)s, (void)extents;
    return false;
  }
  // The host's shared advance (see IKsEditHost::PrintableAsciiAdvance), under the same condition.
  virtual int PrintableAsciiAdvance() const { return 0; }
  virtual int CharsFitRight(int aWidth, std::u16string_view s, int startPos) const;
  virtual int CharsFitLeft(int aWidth, std::u16string_view s, int startPos) const;
  // Extent of S as it stands; (0, 0) while the control has no window.
  virtual platform::SIZE TextSize(std::u16string_view s) const = 0;
  // Outputs already expanded text clipped to R and returns its extent in Size.
  virtual void DrawTabbedText(TCanvas* canvas, int x, platform::SIZE& size, std::u16string_view text,
                              const platform::RECT& r, int y);

  // The host's fit query: units of S that fit Width, through the extent query.
  int TextFit(std::u16string_view s, int width) const { return TextExtentEx(s, width, nullptr); }
  String ExpandTabs(std::u16string_view s) const;
  String MaskText(std::u16string_view s) const;

 protected:
  IKsEditHost& Editor() const { return FEditor; }
  // The control's canvas with the painter's font selected into it; null without a window or DC.
  TCanvas* FontCanvas() const;
  // Selects the painter's font into Canvas's DC; false when it has none.
  bool SelectFont(TCanvas* canvas) const;

 private:
  IKsEditHost& FEditor;
  TCanvas* canvas_;
  TFont* FFont;
  TColor FColor = clWindowText;
  TColor FBkColor = clWindow;
};

}  // namespace kestrel
