#pragma once
// A font family by name, resolved through the program's private font configuration: a family is
// found when a configured face carries its name or the configuration maps the name onto one
// (the Windows names the configuration aliases). Metrics are in font design units.

#include <memory>

#include "platform/core/Unicode.h"
#include "platform/gdiplus/GdiPlusTypes.h"

namespace kestrel::platform {

class TGPFontFamily : public StatusKeeper {
 public:
  TGPFontFamily() { Remember(FontFamilyNotFound); }  // no family: fonts cannot be made from it
  explicit TGPFontFamily(const WCHAR* name);
  explicit TGPFontFamily(const String& name) : TGPFontFamily(name.c_str()) {}

  static std::unique_ptr<TGPFontFamily> GenericSansSerif();
  static std::unique_ptr<TGPFontFamily> GenericSerif();
  static std::unique_ptr<TGPFontFamily> GenericMonospace();

  std::unique_ptr<TGPFontFamily> Clone() const { return std::make_unique<TGPFontFamily>(*this); }
  BOOL IsAvailable() const { return found_ ? TRUE : FALSE; }
  // The name asked for; `name` must hold LF_FACESIZE (32) characters.
  TStatus GetFamilyName(WCHAR* name) const;
  const String& Name() const { return name_; }
  // The family of the face the name resolves to (UTF-8), as the text stack knows it.
  const std::string& FaceFamily() const { return faceFamily_; }

  // Design-unit metrics of the face for `style` (bold and italic choose the variant).
  UINT16 GetEmHeight(INT style) const;
  UINT16 GetCellAscent(INT style) const;
  UINT16 GetCellDescent(INT style) const;
  UINT16 GetLineSpacing(INT style) const;
  BOOL IsStyleAvailable(INT style) const { return found_ && style >= 0 && style <= 15 ? TRUE : FALSE; }

 private:
  struct Tables {
    int em = 2048, ascent = 0, descent = 0, lineSpacing = 0;
  };
  Tables MetricsFor(INT style) const;

  String name_;
  std::string faceFamily_;
  bool found_ = false;
};

}  // namespace kestrel::platform
