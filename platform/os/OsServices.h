#pragma once
// Everything the OS services offer, for code that reads like the Windows calls it was written
// against: environment, files and paths, code pages, language, clock, shell, registry, shared
// memory and the single-instance lock.

#include "platform/os/Clock.h"
#include "platform/os/CodePage.h"
#include "platform/os/Environment.h"
#include "platform/os/FileSystem.h"
#include "platform/os/GlobalMemory.h"
#include "platform/os/InstanceLock.h"
#include "platform/os/KernelObject.h"
#include "platform/os/Language.h"
#include "platform/os/Locale.h"
#include "platform/os/OsErrors.h"
#include "platform/os/Paths.h"
#include "platform/os/Registry.h"
#include "platform/os/SharedMemory.h"
#include "platform/os/Shell.h"
