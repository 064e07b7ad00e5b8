#pragma once
// A fill on the clipboard, under the registered format "GDI+ Fill": the stored properties of a
// holder component (TSaver) whose SaveObject is the fill, in the framework's streaming text,
// pictures included. Reading checks the whole block before the fill changes: a fill that reads
// back completely is assigned with one announcement; a malformed block raises EReadError (or
// the error the reader met) and leaves the fill as it was.

#include <cstdint>
#include <vector>

#include "framework/Component.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

class TGDIPFill;

// The holder that the clipboard stream describes.
class TSaver : public TComponent {
  KESTREL_CLASS(TSaver)
  explicit TSaver(TComponent* owner) : TComponent(owner) {}
  TGDIPFill* SaveObject() const { return saveObject_; }
  void SetSaveObject(TGDIPFill* value) { saveObject_ = value; }

 private:
  TGDIPFill* saveObject_ = nullptr;
};

class TFillClipboard {
 public:
  // The "GDI+ Fill" format's number (registered on first use).
  static platform::UINT Format();
  static void Save(const TGDIPFill& fill);
  // Puts `bytes` on the clipboard as the format's block. A block that cannot be made or filled
  // raises EOutOfResources and leaves the clipboard as it was.
  static void Put(const std::vector<std::uint8_t>& bytes);
  // No "GDI+ Fill" block on the clipboard leaves the fill unchanged.
  static void Load(TGDIPFill& fill);

  // The block's bytes for a fill, and a fill from them.
  static std::vector<std::uint8_t> Encode(const TGDIPFill& fill);
  static void Decode(TGDIPFill& fill, const std::uint8_t* data, std::size_t size);
};

}  // namespace kestrel
