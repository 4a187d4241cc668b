// The dictionaries and checks shared by the translator's fuzz targets.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "diphone/ovtradut.h"

namespace tradfuzz {

// A small Portuguese rule set that uses every context symbol. No output holds
// a bracket, a slash, an underscore or a blank, so a phoneme string made with
// it can be parsed back.
constexpr const char* kRules =
    "(A~O)=aw~\n(A~)=a~\n(A')=a\n(A^)=a\n(A)=a\n(B)=b\n(CH)=x\n(C)+=s\n(C)=k\n(D)=d\n"
    "(E')=E\n(E^)=e\n%(E)X#=ez\n(E)\\%=i\n(E)=e\n(F)=f\n(GU)+=g\n(G)+=j\n(G)=g\n(H)=\n"
    "(I)=i\n(J)=j\n(LH)=L\n(L)[=w\n(L)=l\n(M)[=~\n(M)=m\n(NH)=N\n(N)[=~\n(N)=n\n"
    "(O')=O\n(O^)=o\n(O~E)=o~y\n(O)\\%=u\n(O)=o\n(P)=p\n(QU)+=k\n(QU)=kw\n(Q)=k\n"
    "%(R)=R\n|(R)=R\n(RR)=R\n(R)&=r\n(R)=r\n(SS)=s\n#(S)#=z\n(S)*=s\n(S)=s\n(T)=t\n"
    "(U)=u\n(V)=v\n_(X)#=S\n](X)=x\n(X)=ks\n(Z)%=s\n(Z)=z\n";

constexpr const char* kExceptions =
    "exame=ezame\nvoce=voce^\npq=porque\nmuito=mu~ito\nhomem=ome~y\nx=xis\n";

// Words that reach most rules, marks and the long-run cut.
constexpr const char* kWords =
    "Casas cena exames chuva \xE7\x61sa m\xE3o p\xE3\x65s guerra queijo r\xE1pido carro "
    "l\xE2mpada ping\xFCim Wagner Yara d'\xE1gua o'clock cpf 42 \x01\x7F\xA9 ";

// A file of the given bytes in the temporary folder, one per process.
inline std::string writeTemp(const char* tag, std::string_view bytes) {
    static const std::string folder = std::filesystem::temp_directory_path().string();
    const std::string path = folder + "/oralis_" + tag + "_" + std::to_string(getpid());
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

inline void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "translator fuzz: %s\n", what);
    std::abort();
}

}  // namespace tradfuzz
