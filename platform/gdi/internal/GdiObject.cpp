#include "platform/gdi/internal/GdiObject.h"

#include "platform/core/HandleTable.h"

namespace kestrel::platform {

namespace {
HandleTable<GdiObject>& Table() {
  static HandleTable<GdiObject> table(static_cast<std::uint8_t>(HandleTag::GdiObject));
  return table;
}
}  // namespace

HGDIOBJ RegisterGdiObject(std::shared_ptr<GdiObject> object) {
  if (!object) return nullptr;
  auto value = Table().Insert(std::move(object));
  if (value == 0) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return reinterpret_cast<HGDIOBJ>(value);
}

std::shared_ptr<GdiObject> LookupGdiObject(HGDIOBJ handle) {
  return Table().Lookup(reinterpret_cast<std::uintptr_t>(handle));
}

std::shared_ptr<GdiObject> UnregisterGdiObject(HGDIOBJ handle) {
  return Table().Remove(reinterpret_cast<std::uintptr_t>(handle));
}

void RetainSelection(HGDIOBJ handle) {
  auto object = LookupGdiObject(handle);
  if (object && !object->IsStock()) object->AddSelection();
}

void ReleaseSelection(HGDIOBJ handle) {
  auto object = LookupGdiObject(handle);
  if (object && !object->IsStock() && object->RemoveSelection()) UnregisterGdiObject(handle);
}

}  // namespace kestrel::platform
