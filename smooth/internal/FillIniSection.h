#pragma once
// A fill as one INI section: every stored setting as a decimal integer (colours as signed
// 32-bit values, enumerations as ordinals), then each picture's bytes as hexadecimal text with
// its length in characters ("Picture"/"PictureSize", "BackgroundPicture"/
// "BackgroundPictureSize"). The picture-size mode, whose key the hex length takes over, is kept
// under "PictureSizeMode".
//
// Loading checks the whole section before it changes anything: an enumeration out of range or
// a picture that is not hexadecimal raises EConvertError and leaves the fill as it was;
// otherwise the fill takes every value at once and announces one change. A key that is missing
// keeps the fill's value.

#include "platform/core/Unicode.h"

namespace kestrel {

class TCustomIniFile;
class TGDIPFill;

class TFillIniSection {
 public:
  static void Save(const TGDIPFill& fill, TCustomIniFile& ini, const String& section);
  static void Load(TGDIPFill& fill, TCustomIniFile& ini, const String& section);
  // The same through the INI file `fileName` (relative names are taken from the working folder).
  static void Save(const TGDIPFill& fill, const String& fileName, const String& section);
  static void Load(TGDIPFill& fill, const String& fileName, const String& section);
};

}  // namespace kestrel
