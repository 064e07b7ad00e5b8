#pragma once
// "Is this program already running, and what is its window?" An instance lock decides whether a
// live previous instance exists (a killed process releases it); a small named shared block
// carries the running instance's handles for the next one to read.

#include <cstdint>
#include <memory>

#include "platform/core/Unicode.h"
#include "platform/core/WinTypes.h"
#include "platform/os/InstanceLock.h"

namespace kestrel {

class TVnInstanceProbe {
 public:
  struct Handles {
    platform::HINSTANCE instance = nullptr;
    platform::HWND appWindow = nullptr;
    platform::HWND mainForm = nullptr;
  };

  // The block: three handle slots of 8 bytes each (instance, application window, main form), so
  // a handle is never cut to 32 bits. The order follows the classic 4-byte layout.
  static constexpr std::uint32_t kBlockSize = 32;
  static constexpr std::uint32_t kAppWindowOffset = 8;

  // Probes under `name`. The first live instance writes `own` into the block; a later one only
  // reads the previous instance's application window.
  TVnInstanceProbe(const String& name, const Handles& own);
  ~TVnInstanceProbe();
  TVnInstanceProbe(const TVnInstanceProbe&) = delete;
  TVnInstanceProbe& operator=(const TVnInstanceProbe&) = delete;

  // The first instance's handles that were not known at probing time (the application window is
  // made later): rewrites the block; a later instance changes nothing.
  void UpdateOwnHandles(const Handles& own);

  bool IsPrevRunning() const { return prevRunning_; }
  platform::HWND PreviousAppWin() const { return previousAppWin_; }

  // The probe's name for an executable: its file name part, upper-cased ("/opt/x/kestrel" ->
  // "KESTREL").
  static String NameForExecutable(const String& exePath);

 private:
  void ReadOrWriteBlock(bool primary, const Handles& own);

  std::unique_ptr<platform::InstanceLock> lock_;
  platform::HANDLE mapping_ = nullptr;
  bool prevRunning_ = false;
  platform::HWND previousAppWin_ = nullptr;
};

}  // namespace kestrel
