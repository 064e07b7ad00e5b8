#include "foundation/InstanceProbe.h"

#include <cstring>

#include "framework/SysUtils.h"
#include "platform/os/KernelObject.h"
#include "platform/os/SharedMemory.h"

namespace kestrel {

namespace pf = platform;

namespace {

std::uint64_t ToSlot(const void* handle) { return reinterpret_cast<std::uintptr_t>(handle); }

}  // namespace

String TVnInstanceProbe::NameForExecutable(const String& exePath) {
  const String upper = UpperCase(exePath);
  const auto slash = upper.find_last_of(u"/\\");
  return slash == String::npos ? upper : upper.substr(slash + 1);
}

TVnInstanceProbe::TVnInstanceProbe(const String& name, const Handles& own) {
  if (name.empty()) return;  // nothing to probe under: behave as the only instance
  lock_ = std::make_unique<pf::InstanceLock>(name);
  const auto outcome = lock_->Acquire();
  mapping_ = pf::CreateFileMappingW(pf::INVALID_HANDLE_VALUE, nullptr, pf::PAGE_READWRITE, 0, kBlockSize,
                                    reinterpret_cast<const pf::WCHAR*>(name.c_str()));
  const bool blockExisted = mapping_ && pf::GetLastError() == pf::ERROR_ALREADY_EXISTS;
  // The lock is the verdict; only when it cannot be used does the block's existence decide.
  prevRunning_ =
      outcome == pf::InstanceLock::Outcome::Failed ? blockExisted : outcome == pf::InstanceLock::Outcome::HeldElsewhere;
  if (mapping_) ReadOrWriteBlock(!prevRunning_, own);
}

TVnInstanceProbe::~TVnInstanceProbe() {
  if (mapping_) pf::CloseHandle(mapping_);
}

void TVnInstanceProbe::UpdateOwnHandles(const Handles& own) {
  if (mapping_ && !prevRunning_) ReadOrWriteBlock(true, own);
}

void TVnInstanceProbe::ReadOrWriteBlock(bool primary, const Handles& own) {
  void* view = pf::MapViewOfFile(mapping_, pf::FILE_MAP_WRITE, 0, 0, kBlockSize);
  if (!view) return;
  auto* bytes = static_cast<std::uint8_t*>(view);
  if (primary) {
    // Rewritten even when the block outlived a killed instance held open by a later one.
    const std::uint64_t slots[3] = {ToSlot(own.instance), ToSlot(own.appWindow), ToSlot(own.mainForm)};
    std::memcpy(bytes, slots, sizeof slots);
  } else {
    std::uint64_t appWindow = 0;
    std::memcpy(&appWindow, bytes + kAppWindowOffset, sizeof appWindow);
    previousAppWin_ = reinterpret_cast<pf::HWND>(static_cast<std::uintptr_t>(appWindow));
  }
  pf::UnmapViewOfFile(view);
}

}  // namespace kestrel
