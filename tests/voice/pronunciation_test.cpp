// The voice's rules and exceptions as authored in data/voice: what the
// translator makes of words that show each rule, and whether the voice holds
// every unit those words need.
#include <gtest/gtest.h>

#include <ostream>

#include <cctype>
#include <fstream>
#include <iterator>
#include <set>

#include "diphone/ovtradut.h"
#include "platform/cp1252.h"
#include "tools/voice/diphone_units.h"
#include "tools/voice/diphone_voice.h"
#include "tools/voice/unit_walk.h"

namespace {

const std::string kTables = ORALIS_VOICE_TABLES;

std::string readSource(const std::string& name) {
    std::ifstream in(kTables + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class VoiceDictionaries : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ovtradut::startUp();
        const voice::DictionaryText rules = voice::dictionaryText(readSource("regras.txt"));
        const voice::DictionaryText exceptions = voice::dictionaryText(readSource("portug.txt"));
        ASSERT_TRUE(rules.errors.empty());
        ASSERT_TRUE(exceptions.errors.empty());
        ovtradut::loadRulesText(rules.windows1252);
        ovtradut::loadExceptionsText(exceptions.windows1252);
        ASSERT_EQ(ovtradut::ruleCount(), static_cast<std::size_t>(rules.lines));
        ASSERT_EQ(ovtradut::exceptionCount(), static_cast<std::size_t>(exceptions.lines));
    }
    static std::string phonemes(const std::string& utf8) {
        return cp1252::toUtf8(ovtradut::translateToPhonemes(cp1252::fromUtf8(utf8)));
    }
};

struct Pronunciation {
    const char* word;
    const char* phonemes;
};

// Readable test names: the case shows as its text.
void PrintTo(const Pronunciation& c, std::ostream* out) { *out << c.word; }

class Pronounces : public VoiceDictionaries, public testing::WithParamInterface<Pronunciation> {};

TEST_P(Pronounces, AsABrazilianSaysIt) {
    EXPECT_EQ(phonemes(GetParam().word), GetParam().phonemes) << GetParam().word;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Pronounces,
    testing::Values(
        // Stress, and the quality of e and o: the written accent decides, an
        // unmarked stressed e or o is closed, listed words are open.
        Pronunciation{"casa", "[k/A /z/a^ ]"}, Pronunciation{"mesa", "[m/E^ /z/a^ ]"},
        Pronunciation{"café", "[k/a /f/E ]"}, Pronunciation{"você", "[v/o^ /s/E^ ]"},
        Pronunciation{"avô", "[a /v/O^ ]"}, Pronunciation{"avó", "[a /v/O ]"},
        Pronunciation{"bola", "[b/O /l/a^ ]"}, Pronunciation{"ela", "[E /l/a^ ]"},
        Pronunciation{"ele", "[e^ /l/i ]"},
        // Nasal vowels: tilde, and before m or n.
        Pronunciation{"cama", "[k/A~ /m/a^ ]"}, Pronunciation{"ponte", "[p/O~ /tchi ]"},
        Pronunciation{"mãe", "[m/A~y ]"}, Pronunciation{"pão", "[p/A~w ]"},
        Pronunciation{"põe", "[p/O~y ]"}, Pronunciation{"bem", "[b/e~y ]"},
        Pronunciation{"também", "[t/a~ /b/E~y ]"}, Pronunciation{"sim", "[s/i~ ]"},
        Pronunciation{"um", "[u~ ]"}, Pronunciation{"muito", "[m/U~y /t/u ]"},
        // Final unstressed e and o; t and d before i.
        Pronunciation{"leite", "[l/E^y /tchi ]"}, Pronunciation{"tarde", "[t/A /r/dji ]"},
        Pronunciation{"cidade", "[s/i /d/A /dji ]"}, Pronunciation{"sapo", "[s/A /p/u ]"},
        // c, ç, s, ss, z, x.
        Pronunciation{"cena", "[s/E^ /n/a^ ]"}, Pronunciation{"caça", "[k/A /s/a^ ]"},
        Pronunciation{"passo", "[p/A /s/u ]"}, Pronunciation{"mesmo", "[m/E^ /z/m/u ]"},
        Pronunciation{"zebra", "[z/E^ /b/r/a^ ]"}, Pronunciation{"paz", "[p/a /s]"},
        Pronunciation{"xícara", "[x/I /k/a /r/a^ ]"}, Pronunciation{"táxi", "[t/A /k/s/i ]"},
        Pronunciation{"exame", "[e^ /z/A~ /m/i ]"}, Pronunciation{"extra", "[i /s/t/r/a^ ]"},
        Pronunciation{"caixa", "[k/Ay /x/a^ ]"}, Pronunciation{"próximo", "[p/r/O /s/i /m/u ]"},
        // r: strong at the start, doubled and after n; a tap between vowels
        // and in the coda.
        Pronunciation{"rato", "[rr/A /t/u ]"}, Pronunciation{"carro", "[k/A /rr/u ]"},
        Pronunciation{"honra", "[/O~ /rr/a^ ]"}, Pronunciation{"caro", "[k/A /r/u ]"},
        Pronunciation{"porta", "[p/O /r/t/a^ ]"},
        // l in the coda; lh, nh, ch, qu, gu; silent h.
        Pronunciation{"sol", "[s/Ow ]"}, Pronunciation{"alto", "[aw /t/u ]"},
        Pronunciation{"filho", "[f/I /lh/u ]"}, Pronunciation{"ninho", "[n/i /nh/u ]"},
        Pronunciation{"chave", "[x/A /v/i ]"}, Pronunciation{"queijo", "[k/E^y /j/u ]"},
        Pronunciation{"quando", "[kw/A~ /d/u ]"}, Pronunciation{"guerra", "[g/E /rr/a^ ]"},
        Pronunciation{"água", "[A /gw/a^ ]"}, Pronunciation{"hoje", "[/O^ /j/i ]"},
        Pronunciation{"escola", "[i /s/k/O /l/a^ ]"},
        // A stop ending a word takes an i; a mark no rule took is silent
        // (the hiatus of "país" keeps its accent on the i).
        Pronunciation{"club", "[k/l/u /bi ]"}, Pronunciation{"Minsk", "[m/i~ /s/ki ]"},
        Pronunciation{"país", "[p/a /I /s]"}, Pronunciation{"saúde", "[s/a /U /dji ]"}),
    [](const testing::TestParamInfo<Pronunciation>& param) {
        // The word in ASCII letters ("pa_s" for "país"), numbered.
        std::string name = std::to_string(param.index) + "_";
        for (const char c : std::string(param.param.word))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

// Everything the game says, and the words of its list: the voice must hold
// every unit, or a player hears a patched-up word.
TEST_F(VoiceDictionaries, TheGameNeedsNoUnitTheVoiceLacks) {
    std::set<std::string> names;
    for (const voice::UnitRecipe& u : voice::diphoneUnits()) names.insert(u.name);
    const voice::HasName has = [&names](std::string_view name) {
        if (name.starts_with("_")) return true;  // recorded character sounds
        std::string n(name);
        for (char& c : n)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return names.contains(n);
    };
    std::vector<std::string> texts = {
        "Aguarde o carregamento do arquivo das palavras",
        "letrada",
        "Ouça a palavra que foi escolhida.",
        "Na chuva de letras, vá teclando enter,",
        "Em cada letra correspondente, para escrever a palavra sitada",
        "Se a letra não servir, tecle Esc.",
        "tecle espaço para repetir",
        "Enter para outra palavra",
        "tecle J para jogar",
        "Vamos começar a chuva de letras",
        "Final de jogo!",
        "Você fez:",
        "Pontos",
        "ok",
        "fim de jogo.",
        "quer jogar novamente?",
        "Quirandel agradece",
        "alfa bravo charle delta eco fox golfe hotel india juliet kilo lima maic november "
        "oscar papa quebec romeu sierra tango unifórm victor exrei yanc zulu"};
    std::ifstream list(kTables + "/../pal.txt");
    for (std::string word; std::getline(list, word);) texts.push_back(word);
    ASSERT_GT(texts.size(), 100u);
    for (const std::string& text : texts) {
        const voice::Walk walk = voice::walkPhonemes(phonemes(text), has);
        for (const voice::NameLookup& l : walk.lookups)
            EXPECT_TRUE(l.found) << text << ": " << phonemes(text) << " needs " << l.name;
    }
}

}  // namespace
