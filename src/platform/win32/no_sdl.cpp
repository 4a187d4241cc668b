// The Windows programs have no SDL backend: the win32 one takes its place.
#include "platform/driver.h"

namespace platform {

std::unique_ptr<Driver> makeSdlDriver() { return nullptr; }

}  // namespace platform
