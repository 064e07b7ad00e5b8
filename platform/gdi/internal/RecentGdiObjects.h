#pragma once
// The last few objects a thread looked up by handle, for calls that ask for the same handles
// over and over (each text run asks for the DC's font and bitmap). Handles carry a generation,
// so a handle never names a different object later; entries are weak, so a deleted object is
// neither kept alive nor returned once its last owner lets go. Used from one thread each
// (declare the instance thread_local); the handle table's lock is taken only on a miss.

#include <array>
#include <cstddef>
#include <memory>

#include "platform/gdi/internal/GdiObject.h"

namespace kestrel::platform {

template <class T, std::size_t N = 4>
class RecentGdiObjects {
 public:
  std::shared_ptr<T> Find(HGDIOBJ handle) {
    if (!handle) return nullptr;
    for (Entry& entry : entries_)
      if (entry.handle == handle)
        if (std::shared_ptr<T> object = entry.object.lock()) return object;
    std::shared_ptr<T> object = LookupGdi<T>(handle);
    if (object) {
      entries_[next_] = {handle, object};
      next_ = (next_ + 1) % N;
    }
    return object;
  }

 private:
  struct Entry {
    HGDIOBJ handle = nullptr;
    std::weak_ptr<T> object;
  };
  std::array<Entry, N> entries_{};
  std::size_t next_ = 0;
};

}  // namespace kestrel::platform
