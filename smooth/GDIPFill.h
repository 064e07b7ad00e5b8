#pragma once
// TGDIPFill: how a rectangular area is painted — a solid colour or a gradient (optionally split
// into an upper and a lower "mirror" half), rounded corners, a border, a drop shadow, a glow, a
// focus outline and two pictures, each colour with its own opacity. Controls own one per
// painted surface and repaint when it announces a change. Painting is in this class too
// (Fill); the two storage forms (INI section, clipboard) are in FillIniSection and
// FillClipboard.

#include <memory>

#include "framework/Colors.h"
#include "framework/Persistent.h"
#include "smooth/FillTypes.h"
#include "smooth/GDIPPicture.h"

namespace kestrel {

class TCustomIniFile;

// Every stored setting of a fill, in one value so that it can be copied, compared and checked
// as a whole.
struct TFillSettings {
  TColor Color = 0xC0C0C0;
  TColor ColorTo = 0x808080;
  TColor ColorMirror = clNone;
  TColor ColorMirrorTo = clNone;
  TGradientType GradientType = gtVertical;
  TGradientType GradientMirrorType = gtSolid;
  platform::HatchStyle HatchStyle = platform::HatchStyleHorizontal;
  platform::HatchStyle HatchStyleMirror = platform::HatchStyleHorizontal;
  bool BackGroundPictureAspectRatio = false;
  TFillPictureMode BackGroundPictureMode = pmOutsideFill;
  TFillPicturePosition BackGroundPicturePosition = ppTopLeft;
  int BackGroundPictureLeft = 0;
  int BackGroundPictureTop = 0;
  TPictureMode BackGroundPictureAspectMode = pmStretch;
  TFillPicturePosition PicturePosition = ppTopLeft;
  int PictureLeft = 0;
  int PictureTop = 0;
  TFillPictureSize PictureSize = psOriginal;
  int PictureWidth = 50;
  int PictureHeight = 50;
  bool PictureAspectRatio = false;
  TPictureMode PictureAspectMode = pmStretch;
  std::uint8_t Opacity = 255;
  std::uint8_t OpacityTo = 255;
  std::uint8_t OpacityMirror = 255;
  std::uint8_t OpacityMirrorTo = 255;
  TColor BorderColor = clNone;
  std::uint8_t BorderOpacity = 255;
  int BorderWidth = 1;
  int Rounding = 0;
  TFillRoundingType RoundingType = rtBoth;
  TColor ShadowColor = 0x808080;
  int ShadowOffset = 0;
  TShadowType ShadowType = stRightBottom;
  int Angle = 0;
  TGlowMode Glow = gmNone;
  TColor GlowGradientColor = 0xFFFFFF;
  TColor GlowRadialColor = 0xFFFFFF;

  bool operator==(const TFillSettings&) const = default;
};

class TGDIPFill : public TPersistent {
  KESTREL_CLASS(TGDIPFill)
  TGDIPFill();
  ~TGDIPFill() override;

  // Copies every stored setting and both pictures from another fill and announces once; other
  // sources are ignored. Focus settings are not copied.
  using TPersistent::Assign;
  void Assign(const TPersistent* source) override;

  void BeginUpdate() { ++FUpdateCount; }
  // Changes made inside the bracket stay unannounced.
  void EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
  }
  int UpdateCount() const { return FUpdateCount; }

  const TFillSettings& Settings() const { return values_; }
  // Replaces every setting at once, with one announcement when anything differs.
  void SetSettings(const TFillSettings& settings);

#define KESTREL_FILL_PROPERTY(Type, Name)    \
  Type Name() const { return values_.Name; } \
  void Set##Name(Type value) { Store(values_.Name, value); }
  KESTREL_FILL_PROPERTY(TColor, Color)
  KESTREL_FILL_PROPERTY(TColor, ColorTo)
  KESTREL_FILL_PROPERTY(TColor, ColorMirror)
  KESTREL_FILL_PROPERTY(TColor, ColorMirrorTo)
  KESTREL_FILL_PROPERTY(TGradientType, GradientType)
  KESTREL_FILL_PROPERTY(TGradientType, GradientMirrorType)
  KESTREL_FILL_PROPERTY(platform::HatchStyle, HatchStyle)
  KESTREL_FILL_PROPERTY(platform::HatchStyle, HatchStyleMirror)
  KESTREL_FILL_PROPERTY(bool, BackGroundPictureAspectRatio)
  KESTREL_FILL_PROPERTY(TFillPictureMode, BackGroundPictureMode)
  KESTREL_FILL_PROPERTY(TFillPicturePosition, BackGroundPicturePosition)
  KESTREL_FILL_PROPERTY(int, BackGroundPictureLeft)
  KESTREL_FILL_PROPERTY(int, BackGroundPictureTop)
  KESTREL_FILL_PROPERTY(TPictureMode, BackGroundPictureAspectMode)
  KESTREL_FILL_PROPERTY(TFillPicturePosition, PicturePosition)
  KESTREL_FILL_PROPERTY(int, PictureLeft)
  KESTREL_FILL_PROPERTY(int, PictureTop)
  KESTREL_FILL_PROPERTY(TFillPictureSize, PictureSize)
  KESTREL_FILL_PROPERTY(int, PictureWidth)
  KESTREL_FILL_PROPERTY(int, PictureHeight)
  KESTREL_FILL_PROPERTY(bool, PictureAspectRatio)
  KESTREL_FILL_PROPERTY(TPictureMode, PictureAspectMode)
  KESTREL_FILL_PROPERTY(std::uint8_t, Opacity)
  KESTREL_FILL_PROPERTY(std::uint8_t, OpacityTo)
  KESTREL_FILL_PROPERTY(std::uint8_t, OpacityMirror)
  KESTREL_FILL_PROPERTY(std::uint8_t, OpacityMirrorTo)
  KESTREL_FILL_PROPERTY(TColor, BorderColor)
  KESTREL_FILL_PROPERTY(std::uint8_t, BorderOpacity)
  KESTREL_FILL_PROPERTY(int, BorderWidth)
  KESTREL_FILL_PROPERTY(int, Rounding)
  KESTREL_FILL_PROPERTY(TFillRoundingType, RoundingType)
  KESTREL_FILL_PROPERTY(TColor, ShadowColor)
  KESTREL_FILL_PROPERTY(int, ShadowOffset)
  KESTREL_FILL_PROPERTY(TShadowType, ShadowType)
  KESTREL_FILL_PROPERTY(int, Angle)
  KESTREL_FILL_PROPERTY(TGlowMode, Glow)
  KESTREL_FILL_PROPERTY(TColor, GlowGradientColor)
  KESTREL_FILL_PROPERTY(TColor, GlowRadialColor)
#undef KESTREL_FILL_PROPERTY

  TGDIPPicture* Picture() const { return picture_.get(); }
  // Copies the given picture into the owned one (it is never replaced).
  void SetPicture(TGDIPPicture* value);
  TGDIPPicture* BackGroundPicture() const { return backGroundPicture_.get(); }
  void SetBackGroundPicture(TGDIPPicture* value);

  // Not stored: a dotted outline in FocusColor inside the border when Focus is set.
  bool Focus() const { return focus_; }
  void SetFocus(bool value) { Store(focus_, value); }
  TColor FocusColor() const { return focusColor_; }
  void SetFocusColor(TColor value) { Store(focusColor_, value); }
  // The area inside the border, as the last paint found it.
  platform::TGPRectF FocusRect;

  TNotifyEvent OnChange;

  // Storage: one INI section, in a named file or an open INI object (FillIniSection).
  void SaveToFile(const String& fileName, const String& section) const;
  void LoadFromFile(const String& fileName, const String& section);
  void SaveToFile(TCustomIniFile& ini, const String& section) const;
  void LoadFromFile(TCustomIniFile& ini, const String& section);
  // The clipboard format "GDI+ Fill" (FillClipboard).
  void SaveToClipBoard() const;
  void LoadFromClipBoard();

  // ---- Painting (see GDIPFillPaint.cpp) ----
  // Paints shadow, main fill, background picture, border, glow, focus outline and foreground
  // picture into `R`; an opacity argument of 255 means the fill's own. Returns `R` without the
  // shadow. The surface's clip, transform and smoothing are as they were afterwards.
  platform::TGPRectF Fill(platform::TGPGraphics* graphics, platform::TGPRectF R, std::uint8_t ABorderOpacity = 255,
                          std::uint8_t AOpacity = 255, std::uint8_t AOpacityTo = 255, std::uint8_t AOpacityMirror = 255,
                          std::uint8_t AOpacityMirrorTo = 255);
  // One gradient area: the whole fill, or its upper half (Mirror false) or lower half (true).
  void DrawGradientBackGround(platform::TGPGraphics& graphics, const platform::TGPRectF& R, bool Mirror,
                              std::uint8_t oc, std::uint8_t octo, std::uint8_t ocmr, std::uint8_t ocmrto) const;
  void DrawGlow(platform::TGPGraphics& graphics, const platform::TGPRectF& R) const;

  // Whether the main fill is painted as two halves.
  bool IsSplit() const;

 private:
  template <class V>
  void Store(V& field, V value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  void Changed();
  void PictureChanged(TObject*);

  void DrawShadow(platform::TGPGraphics& graphics, platform::TGPRectF& R) const;
  void DrawMainFill(platform::TGPGraphics& graphics, const platform::TGPRectF& R, std::uint8_t oc, std::uint8_t octo,
                    std::uint8_t ocmr, std::uint8_t ocmrto) const;
  void DrawBackGroundPicture(platform::TGPGraphics& graphics, const platform::TGPRectF& R) const;
  void DrawFocus(platform::TGPGraphics& graphics, std::uint8_t opacity) const;
  void DrawForeGroundPicture(platform::TGPGraphics& graphics, const platform::TGPRectF& R) const;

  TFillSettings values_;
  std::unique_ptr<TGDIPPicture> picture_;
  std::unique_ptr<TGDIPPicture> backGroundPicture_;
  bool focus_ = false;
  TColor focusColor_ = 0;
  int FUpdateCount = 0;
  bool assigning_ = false;  // picture copies inside Assign stay quiet
};

}  // namespace kestrel
