// A build without SDL has no sdl backend.
#include "platform/driver.h"

namespace platform {

std::unique_ptr<Driver> makeSdlDriver() { return nullptr; }

}  // namespace platform
