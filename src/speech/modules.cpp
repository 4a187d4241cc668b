#include "speech/modules.h"

#include "audio/ovwav.h"
#include "console/ovcrt.h"
#include "diphone/ovinter.h"
#include "diphone/ovtradut.h"
#include "engines/ovsapi.h"
#include "speech/ovwin.h"

namespace ovwin {

void startAllModules() {
    ovcrt::startUp();
    ovwav::startUp();
    ovsapi::startUp();
    ovtradut::startUp();
    ovinter::startUp();
    ovwin::startUp();
}

}  // namespace ovwin
