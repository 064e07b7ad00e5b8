#include "platform/core/ProcessWide.h"

#include <cstdlib>
#include <vector>

namespace kestrel::platform {

static_assert(std::is_trivially_destructible_v<ProcessWide<int>>, "a holder must never be destroyed as a static");

struct ProcessWideRegistry {
  // Every slot that ever made its object, newest first.
  static std::vector<ProcessWideSlot*> NewestFirst() {
    std::lock_guard lock(mutex);
    std::vector<ProcessWideSlot*> slots;
    for (ProcessWideSlot* slot = newest; slot; slot = slot->next_) slots.push_back(slot);
    return slots;
  }

  // One call per making of an object freed at exit, so each goes at its own turn: before
  // whatever was made ahead of it, after whatever was made later.
  static void FinaliseNewestAtExit() {
    for (ProcessWideSlot* slot : NewestFirst())
      if (slot->freedAtExit_ && slot->Finalise()) return;
  }

  static constinit std::mutex mutex;
  static constinit ProcessWideSlot* newest;
};

constinit std::mutex ProcessWideRegistry::mutex;
constinit ProcessWideSlot* ProcessWideRegistry::newest = nullptr;

const void* ProcessWideSlot::ThisThread() {
  static thread_local const char marker = 0;
  return &marker;
}

void ProcessWideSlot::Enlist(bool freedAtExit) {
  {
    std::lock_guard lock(ProcessWideRegistry::mutex);
    if (!enlisted_) {
      enlisted_ = true;
      freedAtExit_ = freedAtExit;
      next_ = ProcessWideRegistry::newest;
      ProcessWideRegistry::newest = this;
    }
  }
  if (freedAtExit) std::atexit(&ProcessWideRegistry::FinaliseNewestAtExit);
}

void ResetProcessWideState() {
  const std::vector<ProcessWideSlot*> newestFirst = ProcessWideRegistry::NewestFirst();
  std::vector<ProcessWideSlot*> existed;
  for (ProcessWideSlot* slot : newestFirst)
    if (slot->Drop()) existed.push_back(slot);
  for (auto it = existed.rbegin(); it != existed.rend(); ++it) (*it)->Remake();
}

void FinaliseProcessWideObjects() {
  for (ProcessWideSlot* slot : ProcessWideRegistry::NewestFirst())
    if (slot->freedAtExit_) slot->Finalise();
}

}  // namespace kestrel::platform
