#pragma once
// Graphic classes by file extension: the registration a picture uses to pick the class that reads
// a file. Kept here until the framework's picture class takes it over.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "framework/Persistent.h"
#include "platform/core/Unicode.h"

namespace kestrel {

class TStream;

// What a registered graphic class offers to a picture.
class TGraphicInterface : public TPersistent {
  KESTREL_CLASS(TGraphicInterface)
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void LoadFromFile(const String& fileName) = 0;
  virtual bool Empty() const = 0;
  virtual std::uint32_t Width() const = 0;
  virtual std::uint32_t Height() const = 0;
};

using TGraphicFactory = std::function<std::unique_ptr<TGraphicInterface>()>;

struct TGraphicFormat {
  String Extension;    // without the dot, as registered
  String Description;
  TGraphicFactory Create;
};

// Registers (or replaces) the class for an extension.
void RegisterFileFormat(const String& extension, const String& description, TGraphicFactory create);
// The format for an extension, compared without regard to ASCII case ("png", ".PNG"); null if none.
const TGraphicFormat* FindFileFormat(String extension);
std::vector<TGraphicFormat> RegisteredFileFormats();

}  // namespace kestrel
