// A build without SDL has no windowed backend on Linux.
#include "platform/driver.h"

namespace platform {

std::unique_ptr<Driver> makeSdlDriver() { return nullptr; }

}  // namespace platform

namespace platform {

bool playSoundOnDevice(int, int, int, const std::uint8_t*, std::size_t) { return false; }

}  // namespace platform
