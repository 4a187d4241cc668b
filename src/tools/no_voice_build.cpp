// `oralis voice build` where espeak-ng is not at hand (the Windows tool): the
// recordings come with the installation, made by the Linux build.
#include "tools/voice/voice_build.h"

namespace voice {

int runVoiceBuild(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
    err << "oralis voice build: esta versão não constrói a voz; os sons vêm prontos na "
           "instalação (c:\\sonare\\som), feitos pela compilação do Linux.\n";
    return 1;
}

}  // namespace voice
