#pragma once
// The largest heap allocation a stretch of a test makes, seen through the address sanitizer's
// allocation hooks (the suites run under it). In a build without it Available() is false and a
// test that needs the watch skips.

#include <atomic>
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define KESTREL_ALLOCATION_HOOKS 1
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                                         void (*free_hook)(const volatile void*));
#endif

namespace kestrel::testing {

class AllocationWatch {
 public:
  AllocationWatch() {
#ifdef KESTREL_ALLOCATION_HOOKS
    // The runtime has a few hook slots and gives none back: one pair for the whole process.
    static const int installed = __sanitizer_install_malloc_and_free_hooks(&Allocated, [](const volatile void*) {});
    (void)installed;
#endif
    largest_ = 0;
    watching_ = true;
  }
  ~AllocationWatch() { watching_ = false; }
  AllocationWatch(const AllocationWatch&) = delete;
  AllocationWatch& operator=(const AllocationWatch&) = delete;

  static bool Available() {
#ifdef KESTREL_ALLOCATION_HOOKS
    return true;
#else
    return false;
#endif
  }
  std::size_t Largest() const { return largest_; }

 private:
  static void Allocated(const volatile void*, std::size_t size) {
    if (!watching_) return;
    std::size_t seen = largest_;
    while (size > seen && !largest_.compare_exchange_weak(seen, size)) {
    }
  }

  static inline std::atomic<bool> watching_{false};
  static inline std::atomic<std::size_t> largest_{0};
};

}  // namespace kestrel::testing
