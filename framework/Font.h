#pragma once
// TFont: a logical font (face, size in points or height in pixels, style, colour) and its HFONT.

#include "framework/EnumSet.h"
#include "framework/GraphicsObject.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TEnumSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont : public TGraphicsObject {
  KESTREL_CLASS(TFont)
  TFont();
  ~TFont() override;

  void Assign(const TPersistent* source) override;
  using TPersistent::Assign;

  const String& Name() const { return name_; }
  void SetName(const String& value);
  // Points at the screen's 96 dpi; Height is the negative pixel height (character height).
  int Size() const;
  void SetSize(int value);
  int Height() const { return height_; }
  void SetHeight(int value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch value);
  int Charset() const { return charset_; }
  void SetCharset(int value);
  // Same face, size, style, pitch and colour.
  bool Equals(const TFont& other) const;

  // Made on first use, owned by the font, replaced after every change.
  platform::HFONT Handle() const { return static_cast<platform::HFONT>(CachedHandle()); }

 protected:
  void* MakeHandle() const override;

 private:
  String name_ = u"Tahoma";
  int height_ = -11;
  TFontStyles style_;
  TColor color_ = clWindowText;
  TFontPitch pitch_ = fpDefault;
  int charset_ = 1;  // DEFAULT_CHARSET
};

}  // namespace kestrel
