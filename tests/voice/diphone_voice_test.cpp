#include "tools/voice/diphone_voice.h"

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

#include "tools/voice/diphone_units.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint16_t le16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t le32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
}

TEST(DiphoneFiles, IndexIsSortedAsTheVoiceSearchesItAndPointsIntoTheSamples) {
    // Given out of order; "$A" < "$AW" < "$B" and "$KA" < "$KACIRC".
    const std::vector<voice::DiphoneUnitSound> units = {
        {"$KACIRC", {1, 2, 3}}, {"$B", {4}}, {"$AW", {5, 6}}, {"$A", {7, 8, 9, 10}}, {"$KA", {11}}};
    const voice::DiphoneFiles files = voice::diphoneFiles(units);
    ASSERT_EQ(files.index.size(), 5u * 15u);
    const std::vector<std::string> order = {"$A", "$AW", "$B", "$KA", "$KACIRC"};
    for (std::size_t r = 0; r < order.size(); ++r) {
        const std::size_t at = r * 15;
        SCOPED_TRACE(order[r]);
        ASSERT_EQ(files.index[at], order[r].size());
        EXPECT_EQ(std::string(
                      files.index.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                      files.index.begin() + static_cast<std::ptrdiff_t>(at) + 1 + files.index[at]),
                  order[r]);
        const auto unit = std::find_if(units.begin(), units.end(),
                                       [&](const auto& u) { return u.name == order[r]; });
        const std::size_t length = le16(files.index, at + 9), offset = le32(files.index, at + 11);
        ASSERT_EQ(length, unit->samples.size());
        ASSERT_LE(offset + length, files.samples.size());
        EXPECT_TRUE(std::equal(unit->samples.begin(), unit->samples.end(),
                               files.samples.begin() + static_cast<std::ptrdiff_t>(offset)));
    }
}

struct OrderCase {
    const char* a;
    const char* b;
    bool less;
};

// Readable test names.
void PrintTo(const OrderCase& c, std::ostream* out) { *out << c.a << " " << c.b; }

class IndexOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(IndexOrder, ComparesBytesThenLength) {
    EXPECT_EQ(voice::indexOrder(GetParam().a, GetParam().b), GetParam().less);
}

INSTANTIATE_TEST_SUITE_P(Names, IndexOrder,
                         testing::Values(OrderCase{"$A", "$AW", true},
                                         OrderCase{"$AW", "$A", false},
                                         OrderCase{"$AW", "$B", true},
                                         OrderCase{"$Z", "$AAAAAAA", false},
                                         OrderCase{"$KA", "$KA", false},
                                         // "$" (36) sorts before letters, "_" (95) after.
                                         OrderCase{"$KA", "_100", true}));

TEST(DiphoneUnits, EveryNameFitsTheIndexAndIsUnique) {
    std::set<std::string> names;
    for (const voice::UnitRecipe& u : voice::diphoneUnits()) {
        SCOPED_TRACE(u.name);
        EXPECT_LE(u.name.size(), 8u);
        EXPECT_EQ(u.name[0], '$');
        EXPECT_EQ(u.name.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos);
        EXPECT_TRUE(names.insert(u.name).second);
        EXPECT_TRUE(u.carrier.starts_with("[[") && u.carrier.ends_with("]]"));
    }
}

struct NameCase {
    const char* phonemes;
    const char* name;
};

// Readable test names.
void PrintTo(const NameCase& c, std::ostream* out) { *out << c.phonemes; }

class UnitName : public testing::TestWithParam<NameCase> {};

TEST_P(UnitName, SpellsMarksAsTheSynthesizerDoes) {
    EXPECT_EQ(voice::unitName(GetParam().phonemes), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Pieces, UnitName,
                         testing::Values(NameCase{"ka", "$KA"}, NameCase{"ke^", "$KECIRC"},
                                         NameCase{"nha~", "$NHATIL"}, NameCase{"aw~", "$AWTIL"},
                                         NameCase{"tchi", "$TCHI"}, NameCase{"nn", "$NN"}));

// A pulse train as espeak-ng's voiced sounds look: each period starts with a
// strong decaying pulse.
std::vector<float> pulses(std::size_t period, std::size_t count, std::size_t lead) {
    std::vector<float> s(lead + period * count, 0.0f);
    for (std::size_t p = 0; p < count; ++p)
        for (std::size_t i = 0; i < period; ++i) {
            const double t = static_cast<double>(i);
            s[lead + p * period + i] = static_cast<float>(
                0.6 * std::exp(-t / 20.0) * std::sin(2.0 * std::numbers::pi * t / 25.0));
        }
    return s;
}

TEST(PeriodStart, FindsTheUpwardCrossingBeforeTheNearestPulse) {
    const std::size_t period = 110, lead = 1000;
    const std::vector<float> s = pulses(period, 30, lead);
    EXPECT_EQ(voice::measuredPeriod(s, lead + 10 * period), period);
    std::set<std::size_t> phases;
    for (const std::size_t offset : {0, 20, 50, 60, 90}) {
        const std::size_t at = lead + 12 * period + offset;
        const std::size_t found = voice::periodStartNear(s, at);
        SCOPED_TRACE(offset);
        // Where the wave rises through zero, just before a pulse ...
        EXPECT_LT(s[found - 1], 0.0f);
        EXPECT_GE(s[found], 0.0f);
        float next = 0.0f;
        for (std::size_t i = found; i < found + period / 4; ++i)
            next = std::max(next, std::fabs(s[i]));
        EXPECT_GT(next, 0.4f);  // the pulses peak at about 0.44
        // ... within half a period of the point asked for ...
        EXPECT_LE(found > at ? found - at : at - found, period / 2 + 1);
        phases.insert((found - lead) % period);
    }
    // ... and at the same place of every period, so that cuts line up.
    EXPECT_EQ(phases.size(), 1u);
}

TEST(PeriodStart, KeepsThePointInSilence) {
    const std::vector<float> s(4000, 0.0f);
    EXPECT_EQ(voice::measuredPeriod(s, 2000), 0u);
    EXPECT_EQ(voice::periodStartNear(s, 2000), 2000u);
}

TEST(DictionaryText, DropsNotesAndWritesWindows1252) {
    const voice::DictionaryText text =
        voice::dictionaryText("// a note\r\n\r\n(A')=A \r\nj\xC3\xA1=ja'\n// end\nfim=fi~");
    EXPECT_TRUE(text.errors.empty());
    EXPECT_EQ(text.lines, 3);
    // Blanks at the end of a rule belong to it; "á" is the single byte E1.
    EXPECT_EQ(text.windows1252, "(A')=A \nj\xE1=ja'\nfim=fi~\n");
}

TEST(DictionaryText, NamesTheLineOfACharacterTheCodePageLacks) {
    const voice::DictionaryText text = voice::dictionaryText("a=b\n\xE2\x86\x92=x\n");  // "→"
    ASSERT_EQ(text.errors.size(), 1u);
    EXPECT_NE(text.errors[0].find("linha 2"), std::string::npos);
}

}  // namespace
