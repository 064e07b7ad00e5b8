#pragma once
// One object of a kind per process: made on first use, freed when the program ends (at exit, or
// by Halt's finalisation while the windows still exist). nullptr once freed.

#include <cstdlib>
#include <utility>

#include "framework/Application.h"
#include "framework/Thread.h"

namespace kestrel {

template <class T, T* (*Make)()>
T* ProcessWideObject() {
  static constinit T* object = nullptr;
  static constinit bool finalised = false;
  if (object || finalised) return object;
  object = Make();
  // Registered after whatever the object's making used was made, so it goes before that does.
  // Only the GUI thread frees it: a worker calling Halt ends the process under the GUI thread.
  constexpr void (*finalise)() = [] {
    if (!object || !IsMainThread()) return;
    finalised = true;
    delete std::exchange(object, nullptr);
  };
  std::atexit(finalise);
  AddExitProc(finalise);
  return object;
}

}  // namespace kestrel
