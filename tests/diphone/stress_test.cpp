// markStress: the vowel that takes the stress in a word without a written
// accent, upper-cased.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diphone/ovtradut.h"

namespace {

// The first word of a Windows-1252 text as the translator takes it, after
// stress marking.
std::string stressed(std::string_view text) {
    ovtradut::startUp();
    const std::string prepared = ovtradut::prepareText(text);
    std::size_t pos = 0;
    if (!ovtradut::nextWord(prepared, pos)) return "<no word>";
    ovtradut::markStress();
    return ovtradut::currentWord();
}

struct Case {
    const char* word;
    const char* marked;
};

TEST(MarkStress, WorkedWords) {
    const std::vector<Case> cases = {
        {"casa", "cAsa"},     {"casas", "cAsas"},   {"amor", "amOr"},   {"papel", "papEl"},
        {"sol", "sOl"},       {"jardim", "jardIm"}, {"homem", "hOmem"}, {"frio", "frIo"},
        {"rainha", "raInha"}, {"saia", "sAia"},     {"aqui", "aqUi"},   {"bom", "bom"},
        {"dia", "dia"},       {"ela", "ela"},       {"mel", "mEl"},     {"mar", "mar"},
        {"CASA", "cAsa"},
    };
    for (const Case& c : cases) EXPECT_EQ(stressed(c.word), c.marked) << c.word;
}

// One word per row of the scan, read from the word's end.
TEST(MarkStress, EveryRowOfTheScan) {
    const std::vector<Case> cases = {
        {"feliz", "felIz"},      // final z: the vowel before it
        {"latex", "latEx"},      // final x
        {"bombom", "bombOm"},    // final m after o: that o
        {"ontem", "ontem"},      // final m after e, decided at the first letter: unmarked
        {"garagem", "garAgem"},  // final m after e: the syllable before
        {"atum", "atUm"},        // final m after u
        {"lapis", "lapIs"},      // final s after i after a consonant: the i
        {"pais", "pAis"},        // final i after a vowel: that vowel
        {"meu", "mEu"},          // final u after a vowel
        {"caju", "cajU"},        // final u after a consonant: the u
        {"aguei", "agueI"},      // final i after gu: the i
        {"robot", "rObot"},      // a final consonant the scan does not name is passed over
        {"aguia", "aguIa"},      // hiatus after gu: the i
        {"raina", "rAina"},      // hiatus, n and a vowel after the i: the vowel before
        {"rainda", "raInda"},    // hiatus closed by n and a consonant: the i
        {"sairra", "saIrra"},    // hiatus closed by rr: the i
        {"saira", "sAira"},      // hiatus open before r and a vowel
        {"caixa", "cAixa"},      // hiatus before x: the vowel before
    };
    for (const Case& c : cases) EXPECT_EQ(stressed(c.word), c.marked) << c.word;
}

TEST(MarkStress, WrittenAccentsDecideAloneButTheDiaeresisDoesNot) {
    EXPECT_EQ(stressed("irm\xE3o"), "irma~o");       // tilde
    EXPECT_EQ(stressed("p\xE9rola"), "pe'rola");     // acute
    EXPECT_EQ(stressed("t\xE2mara"), "ta^mara");     // circumflex
    EXPECT_EQ(stressed("\xE0quela"), "a`quela");     // grave
    EXPECT_EQ(stressed("o'clock"), "o'clock");       // an apostrophe is an acute
    EXPECT_EQ(stressed("ping\xFCim"), "pingUim");    // this u diaeresis is dropped, and so read
    EXPECT_EQ(stressed("ping\x81im"), "pingu\"Im");  // a kept diaeresis: stress after gu"
}

}  // namespace
