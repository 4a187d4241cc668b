#include "tools/voice/unit_walk.h"

#include <gtest/gtest.h>

#include <ostream>

#include <set>
#include <sstream>

namespace {

// A voice holding exactly these names (compared as the index does: upper case).
voice::HasName holding(std::set<std::string> names) {
    return [names = std::move(names)](std::string_view name) {
        std::string n(name);
        for (char& c : n)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return names.contains(n);
    };
}

// The looked-up names in order, each with its factor and stress mode:
// "$ka*0.9/1".
std::string trace(const voice::Walk& walk) {
    std::ostringstream out;
    for (const voice::NameLookup& l : walk.lookups) {
        if (out.tellp() > 0) out << " ";
        out << l.name << (l.found ? "" : "?") << "*" << l.factor << "/" << l.mode;
    }
    return out.str();
}

struct WalkCase {
    const char* phonemes;
    const char* expected;
};

// Readable test names: the case shows as its text.
void PrintTo(const WalkCase& c, std::ostream* out) { *out << c.phonemes; }

const std::set<std::string> kVoice = {
    "$KA",    "$S", "$P",     "$RA",     "$R",  "$RR",   "$MA", "$AY", "$A",  "$KECIRC",
    "$ECIRC", "$Y", "$AWTIL", "$PACIRC", "$NN", "$TCHI", "$K",  "$ZA", "_100"};

class WalkTable : public testing::TestWithParam<WalkCase> {};

TEST_P(WalkTable, LooksUpTheNamesTheSynthesizerPlays) {
    EXPECT_EQ(trace(voice::walkPhonemes(GetParam().phonemes, holding(kVoice))), GetParam().expected)
        << GetParam().phonemes;
}

INSTANTIATE_TEST_SUITE_P(
    Synthesizer, WalkTable,
    testing::Values(
        // A closing consonant plays on its own; a leading cluster splits.
        WalkCase{"[kas]", "$ka*1/1 $s*1/1"}, WalkCase{"[pra]", "$p*1/1 $ra*1/1"},
        WalkCase{"[kar]", "$ka*1/1 $r*1/1"}, WalkCase{"[karr]", "$ka*1/1 $rr*1/1"},
        // A diphthong: the syllable at 0.6, then vowel and glide.
        WalkCase{"[may]", "$ma*0.6/1 $ay*1/1"},
        // Stress: the stressed syllable plays in mode 2, the rest after it in 0.
        WalkCase{"[kA /za ]", "$kA*1/2 $za*1/0"}, WalkCase{"[kAs]", "$kA*1/2 $s*1/0"},
        // Marks close names of their own; a glide after a mark is looked up
        // with the mark behind it, and a missing one splits where a
        // consonant and its vowel would.
        WalkCase{"[ke^ ]", "$keCIRC*1/1"}, WalkCase{"[e^y ]", "$eyCIRC?*1/1 $e?*0.9/1 $yCIRC?*1/1"},
        // A nasal diphthong: the closed vowel at 0.6, then the nasal glide.
        WalkCase{"[pa~w ]", "$paCIRC*0.6/1 $awTIL*1/1"},
        // Missing names fall back: a syllable to its halves, a nasal vowel to
        // the closed one and the nasal murmur, one phoneme to noise.
        WalkCase{"[ba ]", "$ba?*1/1 $b?*0.9/1 $a*1/1"},
        WalkCase{"[ka~ ]", "$kaTIL?*1/1 $kaCIRC?*0.9/2 $k*0.81/2 $aCIRC?*0.9/2 $nn*0.9/1"},
        WalkCase{"[ki~ ]", "$kiTIL?*1/1 $ki?*0.9/1 $k*0.81/1 $i?*0.9/1 $nn*0.9/1"},
        // Kept clusters and character sounds.
        WalkCase{"[tchi ]", "$tchi*1/1"}, WalkCase{"[ /_d]", "_100*1/1"},
        // Outputs joined over "/" make one unit: without the blank after a
        // syllable the word is one name that no voice holds.
        WalkCase{"[ka/za]", "$kaza?*1/1 $kaz?*0.9/1 $a*1/1"}));

TEST(Walk, CountsPausesGapsAndNoise) {
    // "_," is a pause unless punctuation is named; two words give one gap;
    // a missing single phoneme ($x) is a noise burst.
    const voice::Walk walk = voice::walkPhonemes("[ka ][xa ][ /_,]", holding(kVoice));
    EXPECT_EQ(walk.pauseSamples, 4000);
    EXPECT_EQ(walk.wordGaps, 2);
    EXPECT_EQ(walk.noiseBursts, 1);
    const voice::Walk named = voice::walkPhonemes("[ /_,]", holding(kVoice), true);
    EXPECT_EQ(named.pauseSamples, 0);
    ASSERT_EQ(named.lookups.size(), 1u);
    EXPECT_EQ(named.lookups[0].name, "_44");
}

}  // namespace
