#pragma once
// Runs an undo step when the scope it guards is left by an exception, and not otherwise: the
// cleanup of a half-done change without catching and re-throwing.

#include <exception>
#include <utility>

namespace kestrel {

template <class Undo>
class OnFailure {
 public:
  explicit OnFailure(Undo undo) : undo_(std::move(undo)), exceptions_(std::uncaught_exceptions()) {}
  ~OnFailure() {
    if (std::uncaught_exceptions() > exceptions_) undo_();
  }
  OnFailure(const OnFailure&) = delete;
  OnFailure& operator=(const OnFailure&) = delete;

 private:
  Undo undo_;
  int exceptions_;
};

}  // namespace kestrel
