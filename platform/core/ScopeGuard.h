#pragma once
// Runs a cleanup when a scope ends, however it ends, unless dismissed first: the cleanup that a
// catch-and-rethrow would otherwise repeat on both paths. Dismiss after the work succeeded for a
// cleanup meant only for failure.
//
// On the normal path the cleanup may throw, as the same call written after the work would. While
// an exception unwinds the scope, one thrown by the cleanup is dropped, so that the first failure
// is the one the caller sees.

#include <exception>
#include <utility>

namespace kestrel::platform {

template <class Cleanup>
class ScopeGuard {
 public:
  explicit ScopeGuard(Cleanup cleanup) : cleanup_(std::move(cleanup)), exceptions_(std::uncaught_exceptions()) {}
  ~ScopeGuard() noexcept(false) {
    if (dismissed_) return;
    if (std::uncaught_exceptions() <= exceptions_) {
      cleanup_();
      return;
    }
    try {
      cleanup_();
    } catch (...) {
    }
  }
  ScopeGuard(const ScopeGuard&) = delete;
  ScopeGuard& operator=(const ScopeGuard&) = delete;

  void Dismiss() noexcept { dismissed_ = true; }

 private:
  Cleanup cleanup_;
  int exceptions_;
  bool dismissed_ = false;
};

// Runs an undo step only when the scope is left by an exception: the undo of a half-done change,
// without catching and re-throwing. A throwing undo is dropped, as ScopeGuard's is while unwinding.
template <class Undo>
class OnFailure {
 public:
  explicit OnFailure(Undo undo) : undo_(std::move(undo)), exceptions_(std::uncaught_exceptions()) {}
  ~OnFailure() {
    if (std::uncaught_exceptions() <= exceptions_) return;
    try {
      undo_();
    } catch (...) {
    }
  }
  OnFailure(const OnFailure&) = delete;
  OnFailure& operator=(const OnFailure&) = delete;

 private:
  Undo undo_;
  int exceptions_;
};

}  // namespace kestrel::platform
