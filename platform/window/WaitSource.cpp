#include "platform/window/WaitSource.h"

namespace kestrel::platform {

namespace {
WaitSource* installed = nullptr;
}

void SetWaitSource(WaitSource* source) { installed = source; }
WaitSource* GetWaitSource() { return installed; }

}  // namespace kestrel::platform
