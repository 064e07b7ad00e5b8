#include "framework/internal/HandoffSpin.h"

#include <sched.h>

namespace kestrel {

int CurrentProcessor() { return sched_getcpu(); }

void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#elif defined(__aarch64__)
  asm volatile("yield");
#endif
}

}  // namespace kestrel
