// A build for another system has no Win32 backend.
#include "platform/driver.h"

namespace platform {

std::unique_ptr<Driver> makeWin32Driver() { return nullptr; }

}  // namespace platform
