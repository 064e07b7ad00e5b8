#pragma once
// Data built into the program (images, default texts), registered at start-up under a type and
// a name or numeric id, and read back through a read-only stream.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/MemoryStream.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

constexpr char16_t RT_RCDATA[] = u"RCDATA";

// Registers `size` bytes at `data` (not copied: they must live as long as the program, as
// built-in arrays do). Names and types are compared without case; a numeric id is the name
// "#<id>". A later registration of the same name and type replaces the earlier one.
void RegisterResource(std::u16string_view type, std::u16string_view name, const std::uint8_t* data, std::size_t size);
bool FindResourceData(std::u16string_view type, std::u16string_view name, const std::uint8_t*& data, std::size_t& size);

class TResourceStream : public TMemoryStream {
  KESTREL_CLASS(TResourceStream)
  // EResNotFound "Resource %s not found" when nothing is registered under the name and type.
  TResourceStream(platform::HINSTANCE instance, const String& name, std::u16string_view type);
  static TResourceStream CreateFromID(platform::HINSTANCE instance, int id, std::u16string_view type);

  // Read-only: EStreamError "Can't write to a read-only resource stream".
  std::size_t Write(const void* buffer, std::size_t count) override;
  void SetSize(std::int64_t newSize) override;
};

}  // namespace kestrel
