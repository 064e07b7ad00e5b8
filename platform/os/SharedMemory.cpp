#include "platform/os/SharedMemory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>

#include "platform/core/ProcessWide.h"
#include "platform/core/UniqueFd.h"
#include "platform/os/FlockFile.h"
#include "platform/os/OsErrors.h"
#include "platform/os/internal/TextBuffer.h"

namespace kestrel::platform {

namespace {

constexpr std::uint64_t kAllocationGranularity = 65536;

class FileMapping : public KernelObject {
 public:
  ~FileMapping() override {
    fd.reset();
    if (shmName.empty()) return;
    // The last user removes the object, so the name does not outlive its section.
    FlockFile guard;
    if (guard.Open(guardPath) && guard.LockExclusive() && live.TryLockExclusive()) ::shm_unlink(shmName.c_str());
  }

  UniqueFd fd;
  std::uint64_t size = 0;
  bool writable = false;
  std::string shmName;    // empty for an unnamed section
  std::string guardPath;  // serialises creating, opening and removing the name
  FlockFile live;         // held shared by every user of the name
};

struct View {
  std::size_t length;
  std::shared_ptr<FileMapping> mapping;
};

std::mutex& ViewsMutex() {
  static std::mutex mutex;
  return mutex;
}
// Outlives exit-time callers; the views belong to their callers, so a reset keeps them.
using ViewMap = std::map<const void*, View>;
constinit ProcessWide<ViewMap> gViews(ProcessWideOptions<ViewMap>{.keptByReset = true});

ViewMap& Views() { return *gViews; }

struct Names {
  std::string shm, guard, live;
};

// A stable short tag of the runtime directory (FNV-1a), so that the section's name lives in the
// same scope as its lock files: two sessions with different runtime directories never share a
// section while each holds its own guard.
std::string ScopeTag(const std::string& directory) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : directory) hash = (hash ^ c) * 1099511628211ull;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// False when there is no private runtime directory for the lock files.
bool NamesFor(std::u16string_view name, Names& names) {
  std::string encoded = EncodeObjectName(name);
  std::string directory = RuntimeDirectory();
  if (directory.empty()) return false;
  names = {"/kestrel-" + std::to_string(::getuid()) + "-" + ScopeTag(directory) + "-" + encoded,
           directory + "/" + encoded + ".map-guard", directory + "/" + encoded + ".map-live"};
  return true;
}

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return nullptr;
}

// Gives up a named section that was being set up while the name's guard is held (the object's
// own clean-up would wait for that guard): removes what was created, if anything.
HANDLE Abandon(FileMapping& mapping, DWORD error, bool created) {
  if (created) ::shm_unlink(mapping.shmName.c_str());
  mapping.shmName.clear();
  return Fail(error);
}

HANDLE Register(std::shared_ptr<FileMapping> mapping, DWORD lastError) {
  std::shared_ptr<FileMapping> keep = mapping;
  HANDLE handle = InsertKernelObject(std::move(mapping));
  if (!handle) return Abandon(*keep, ERROR_NOT_ENOUGH_MEMORY, false);
  SetLastError(lastError);
  return handle;
}

bool SizeFromDescriptor(FileMapping& mapping) {
  struct stat info;
  if (::fstat(mapping.fd.get(), &info) != 0) return false;
  mapping.size = static_cast<std::uint64_t>(info.st_size);
  return true;
}

// Opens the named section when someone holds it; `exists` false when the name is free (then
// `live` is left locked exclusively for the caller to create it).
DWORD AttachExisting(FileMapping& mapping, bool& exists) {
  exists = !mapping.live.TryLockExclusive();
  if (!exists) return ERROR_SUCCESS;
  if (!mapping.live.LockShared()) return Win32ErrorFromErrno(errno);
  mapping.fd.reset(::shm_open(mapping.shmName.c_str(), mapping.writable ? O_RDWR : O_RDONLY, 0600));
  if (!mapping.fd || !SizeFromDescriptor(mapping)) return Win32ErrorFromErrno(errno);
  return ERROR_SUCCESS;
}

std::shared_ptr<FileMapping> Prepare(std::u16string_view name, FlockFile& guard, DWORD& error) {
  Names names;
  if (!NamesFor(name, names)) {
    error = ERROR_ACCESS_DENIED;
    return nullptr;
  }
  auto mapping = std::make_shared<FileMapping>();
  mapping->shmName = names.shm;
  mapping->guardPath = names.guard;
  if (!guard.Open(names.guard) || !guard.LockExclusive() || !mapping->live.Open(names.live)) {
    error = Win32ErrorFromErrno(errno);
    mapping->shmName.clear();  // nothing of ours to remove
    return nullptr;
  }
  error = ERROR_SUCCESS;
  return mapping;
}

HANDLE CreateUnnamed(std::uint64_t size, bool writable) {
  auto mapping = std::make_shared<FileMapping>();
  mapping->writable = writable;
  mapping->size = size;
  mapping->fd.reset(::memfd_create("kestrel-section", MFD_CLOEXEC));
  if (!mapping->fd || ::ftruncate(mapping->fd.get(), static_cast<off_t>(size)) != 0)
    return Fail(Win32ErrorFromErrno(errno));
  return Register(std::move(mapping), ERROR_SUCCESS);
}

}  // namespace

HANDLE CreateFileMappingW(HANDLE file, const void* /*securityAttributes*/, DWORD protect, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, const WCHAR* name) {
  if (file != INVALID_HANDLE_VALUE) return Fail(ERROR_NOT_SUPPORTED);
  DWORD pageProtection = protect & 0xFF;
  if (pageProtection != PAGE_READONLY && pageProtection != PAGE_READWRITE && pageProtection != PAGE_WRITECOPY)
    return Fail(ERROR_INVALID_PARAMETER);
  bool writable = pageProtection == PAGE_READWRITE;
  std::uint64_t size = (std::uint64_t{maximumSizeHigh} << 32) | maximumSizeLow;
  if (size == 0) return Fail(ERROR_INVALID_PARAMETER);
  std::u16string_view objectName = WideArg(name);
  if (objectName.empty()) return CreateUnnamed(size, writable);

  FlockFile guard;
  DWORD error;
  auto mapping = Prepare(objectName, guard, error);
  if (!mapping) return Fail(error);
  mapping->writable = writable;
  bool exists = false;
  if ((error = AttachExisting(*mapping, exists)) != ERROR_SUCCESS) return Abandon(*mapping, error, false);
  if (exists) return Register(std::move(mapping), ERROR_ALREADY_EXISTS);

  ::shm_unlink(mapping->shmName.c_str());  // left over by a process that died
  mapping->fd.reset(::shm_open(mapping->shmName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600));
  if (!mapping->fd) return Abandon(*mapping, Win32ErrorFromErrno(errno), false);
  if (::ftruncate(mapping->fd.get(), static_cast<off_t>(size)) != 0 || !mapping->live.LockShared())
    return Abandon(*mapping, Win32ErrorFromErrno(errno), true);
  mapping->size = size;
  return Register(std::move(mapping), ERROR_SUCCESS);
}

HANDLE OpenFileMappingW(DWORD desiredAccess, BOOL /*inheritHandle*/, const WCHAR* name) {
  std::u16string_view objectName = WideArg(name);
  if (objectName.empty()) return Fail(ERROR_INVALID_PARAMETER);
  FlockFile guard;
  DWORD error;
  auto mapping = Prepare(objectName, guard, error);
  if (!mapping) return Fail(error);
  mapping->writable = (desiredAccess & FILE_MAP_WRITE) != 0;
  bool exists = false;
  if ((error = AttachExisting(*mapping, exists)) != ERROR_SUCCESS) return Abandon(*mapping, error, false);
  if (!exists) return Abandon(*mapping, ERROR_FILE_NOT_FOUND, false);
  return Register(std::move(mapping), ERROR_SUCCESS);
}

void* MapViewOfFile(HANDLE handle, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes) {
  auto mapping = LookupKernelObject<FileMapping>(handle);
  if (!mapping) return nullptr;
  std::uint64_t offset = (std::uint64_t{offsetHigh} << 32) | offsetLow;
  if (offset % kAllocationGranularity != 0) return Fail(ERROR_MAPPED_ALIGNMENT);
  bool copy = (desiredAccess & FILE_MAP_COPY) != 0 && (desiredAccess & FILE_MAP_ALL_ACCESS) != FILE_MAP_ALL_ACCESS;
  bool write = (desiredAccess & FILE_MAP_WRITE) != 0 && !copy;
  if ((write && !mapping->writable) || offset >= mapping->size) return Fail(ERROR_ACCESS_DENIED);
  std::uint64_t length = bytes ? bytes : mapping->size - offset;
  if (length > mapping->size - offset) return Fail(ERROR_ACCESS_DENIED);
  int protection = PROT_READ | (write || copy ? PROT_WRITE : 0);
  void* address = ::mmap(nullptr, length, protection, copy ? MAP_PRIVATE : MAP_SHARED, mapping->fd.get(),
                         static_cast<off_t>(offset));
  if (address == MAP_FAILED) return Fail(Win32ErrorFromErrno(errno));
  std::lock_guard lock(ViewsMutex());
  Views()[address] = View{static_cast<std::size_t>(length), std::move(mapping)};
  return address;
}

BOOL UnmapViewOfFile(const void* address) {
  View view;
  {
    std::lock_guard lock(ViewsMutex());
    auto found = Views().find(address);
    if (found == Views().end()) {
      SetLastError(ERROR_INVALID_ADDRESS);
      return FALSE;
    }
    view = std::move(found->second);
    Views().erase(found);
  }
  ::munmap(const_cast<void*>(address), view.length);
  return TRUE;
}

}  // namespace kestrel::platform
