#include "smooth/internal/FillClipboard.h"

#include <cstring>
#include <memory>

#include "framework/Exceptions.h"
#include "framework/MemoryStream.h"
#include "framework/Reader.h"
#include "framework/TypeInfo.h"
#include "framework/Writer.h"
#include "platform/os/GlobalMemory.h"
#include "platform/window/Clipboard.h"
#include "smooth/GDIPFill.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TSaver, TComponent)

void TSaver::PublishProperties(TClassBuilder<TSaver>& b) {
  // Read-only: a stream may fill the fill in, never point the holder elsewhere.
  b.Object(u"SaveObject", &TSaver::SaveObject, nullptr);
}

namespace {

// The clipboard, open for the length of a scope.
class TOpenClipboard {
 public:
  TOpenClipboard() {
    if (!pf::OpenClipboard(nullptr)) throw EInvalidOperation(u"Cannot open clipboard");
  }
  ~TOpenClipboard() { pf::CloseClipboard(); }
  TOpenClipboard(const TOpenClipboard&) = delete;
  TOpenClipboard& operator=(const TOpenClipboard&) = delete;
};

// A global block, freed unless the clipboard took it.
struct FreeGlobalBlock {
  void operator()(void* block) const noexcept { pf::GlobalFree(block); }
};
using OwnedGlobalBlock = std::unique_ptr<void, FreeGlobalBlock>;

}  // namespace

pf::UINT TFillClipboard::Format() {
  static const pf::UINT format = pf::RegisterClipboardFormatW(u"GDI+ Fill");
  return format;
}

std::vector<std::uint8_t> TFillClipboard::Encode(const TGDIPFill& fill) {
  TSaver saver(nullptr);
  saver.SetSaveObject(const_cast<TGDIPFill*>(&fill));  // only read by the writer
  TMemoryStream stream;
  WriteObjectProperties(stream, &saver);
  return std::vector<std::uint8_t>(stream.Memory(), stream.Memory() + stream.Size());
}

void TFillClipboard::Decode(TGDIPFill& fill, const std::uint8_t* data, std::size_t size) {
  // Read into a fresh fill, so that what the block leaves at its defaults is the default and a
  // block that fails half way changes nothing.
  TGDIPFill loaded;
  TSaver saver(nullptr);
  saver.SetSaveObject(&loaded);
  TMemoryStream stream;
  if (size) stream.WriteBuffer(data, size);
  stream.SetPosition(0);
  ReadObjectProperties(stream, &saver);
  fill.Assign(&loaded);
}

void TFillClipboard::Save(const TGDIPFill& fill) { Put(Encode(fill)); }

void TFillClipboard::Put(const std::vector<std::uint8_t>& bytes) {
  // The block is made and filled before the clipboard is emptied, so a failure keeps what it held.
  OwnedGlobalBlock block(pf::GlobalAlloc(pf::GMEM_MOVEABLE, bytes.size()));
  if (!block) throw EOutOfResources(u"Out of memory for the clipboard");
  void* p = pf::GlobalLock(block.get());
  if (!p) throw EOutOfResources(u"Cannot fill the clipboard block");
  std::memcpy(p, bytes.data(), bytes.size());
  pf::GlobalUnlock(block.get());
  TOpenClipboard open;
  pf::EmptyClipboard();
  if (!pf::SetClipboardData(Format(), block.get())) throw EInvalidOperation(u"Cannot put the fill on the clipboard");
  block.release();
}

void TFillClipboard::Load(TGDIPFill& fill) {
  std::vector<std::uint8_t> bytes;
  {
    TOpenClipboard open;
    pf::HANDLE block = pf::GetClipboardData(Format());
    if (!block) return;
    const pf::SIZE_T size = pf::GlobalSize(block);
    const void* p = pf::GlobalLock(block);
    if (!p) return;
    bytes.assign(static_cast<const std::uint8_t*>(p), static_cast<const std::uint8_t*>(p) + size);
    pf::GlobalUnlock(block);
  }
  Decode(fill, bytes.data(), bytes.size());
}

}  // namespace kestrel
