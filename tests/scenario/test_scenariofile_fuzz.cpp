// Random and hand-made records through the decoder and the text conversion: every byte
// pattern must give a defined result (run under the sanitizers in CI).
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "scenario/codepage.h"
#include "scenario/extendedreal.h"
#include "scenario/scenariocodec.h"
#include "scenariofile_test_support.h"

namespace velmora {
namespace {

using test::Hex;

constexpr std::uint64_t kJ = std::uint64_t{1} << 63;

ExtendedBytes Make(bool negative, unsigned exponentField, std::uint64_t significand) {
    ExtendedBytes b{};
    for (std::size_t i = 0; i < 8; ++i)
        b[i] = static_cast<std::uint8_t>(significand >> (8 * i));
    const unsigned word = exponentField | (negative ? 0x8000u : 0u);
    b[8] = static_cast<std::uint8_t>(word);
    b[9] = static_cast<std::uint8_t>(word >> 8);
    return b;
}

// Every class of the format: each exponent kind with each significand kind and sign.
std::vector<ExtendedBytes> PatternReals(std::mt19937_64& rng) {
    const unsigned exponents[] = {
        0, 1, 0x3FFF, 0x4010, 0x7FFE, 0x7FFF, static_cast<unsigned>(rng() % 0x7FFF)};
    const std::uint64_t significands[] = {0,
                                          1,
                                          kJ,
                                          kJ | 1,
                                          kJ >> 1,
                                          (kJ >> 1) | 1,
                                          ~std::uint64_t{0},
                                          ~kJ,
                                          kJ | (kJ >> 1),
                                          rng() | kJ,
                                          rng() & ~kJ};
    std::vector<ExtendedBytes> out;
    for (const bool negative : {false, true}) {
        for (const unsigned e : exponents) {
            for (const std::uint64_t s : significands)
                out.push_back(Make(negative, e, s));
        }
    }
    return out;
}

ExtendedBytes RandomReal(std::mt19937_64& rng) {
    ExtendedBytes b{};
    for (auto& byte : b)
        byte = static_cast<std::uint8_t>(rng());
    return b;
}

// What a pattern must read as, from the format's definition.
void CheckUnpacked(const ExtendedBytes& b) {
    SCOPED_TRACE(Hex(b));
    std::feclearexcept(FE_ALL_EXCEPT);
    const long double v = UnpackExtended(b);
    EXPECT_EQ(0, std::fetestexcept(FE_ALL_EXCEPT)) << "status flags left behind";

    std::uint64_t s = 0;
    for (std::size_t i = 0; i < 8; ++i)
        s |= std::uint64_t{b[i]} << (8 * i);
    const unsigned word = b[8] | (unsigned{b[9]} << 8);
    const bool negative = (word & 0x8000u) != 0;
    const unsigned e = word & 0x7FFFu;
    const bool j = (s & kJ) != 0;

    if (e != 0 && !j) {  // unnormal, pseudo-zero, pseudo-infinity, pseudo-NaN
        EXPECT_TRUE(std::isnan(v));
        EXPECT_TRUE(std::signbit(v));
        return;
    }
    EXPECT_EQ(negative, static_cast<bool>(std::signbit(v)));
    if (e == 0x7FFF) {
        EXPECT_EQ(s == kJ, static_cast<bool>(std::isinf(v)));
        EXPECT_EQ(s != kJ, static_cast<bool>(std::isnan(v)));
        return;
    }
    ASSERT_TRUE(std::isfinite(v));
    // Finite values pack back to the same bits; a pseudo-denormal to its normal form.
    const ExtendedBytes expected = e == 0 && j ? Make(negative, 1, s) : b;
    EXPECT_EQ(Hex(expected), Hex(PackExtended(v)));
}

TEST(ScenarioFuzz, EveryClassOfExtendedRealReadsAsDefinedValue) {
    std::mt19937_64 rng(20240501);
    for (const ExtendedBytes& b : PatternReals(rng))
        CheckUnpacked(b);
    for (int i = 0; i < 20000; ++i)
        CheckUnpacked(RandomReal(rng));
}

std::size_t CharacterCount(const std::string& utf8) {
    std::size_t n = 0;
    for (const char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

bool SameRealBits(long double a, long double b) {
    return PackExtended(a) == PackExtended(b);
}

void CheckRecord(const ScenarioBytes& bytes) {
    const TScenarioRec rec = DecodeScenarioRecord(bytes);
    for (const std::string* text : {&rec.ClientName, &rec.Description, &rec.Preparer}) {
        ASSERT_LE(CharacterCount(*text), kScenarioTextMax);
    }
    // One pass makes everything storable: decoding our own encoding changes nothing.
    const TScenarioRec again = DecodeScenarioRecord(EncodeScenarioRecord(rec));
    EXPECT_EQ(rec.ClientName, again.ClientName);
    EXPECT_EQ(rec.Description, again.Description);
    EXPECT_EQ(rec.Preparer, again.Preparer);
    EXPECT_EQ(rec.Years, again.Years);
    EXPECT_EQ(rec.Age, again.Age);
    EXPECT_EQ(rec.EarlyYear, again.EarlyYear);
    EXPECT_TRUE(SameRealBits(rec.Cola, again.Cola));
    EXPECT_TRUE(SameRealBits(rec.Rate, again.Rate));
    EXPECT_TRUE(SameRealBits(rec.EarlyBenefit, again.EarlyBenefit));
    EXPECT_TRUE(SameRealBits(rec.LaterBenefit, again.LaterBenefit));
}

TEST(ScenarioFuzz, RandomAndHandMadeRecordsDecodeSafely) {
    std::mt19937_64 rng(7);
    const std::vector<ExtendedBytes> patterns = PatternReals(rng);
    const std::size_t realOffsets[] = {304, 320, 352, 368};
    const std::size_t slotOffsets[] = {0, 101, 202};
    for (int round = 0; round < 3000; ++round) {
        ScenarioBytes b{};
        for (auto& byte : b)
            byte = static_cast<std::uint8_t>(rng());
        // Every length byte in every slot, and the reals drawn from the pattern classes.
        for (std::size_t k = 0; k < 3; ++k) {
            b[slotOffsets[k]] = static_cast<std::uint8_t>(round + 85 * k);
        }
        for (const std::size_t at : realOffsets) {
            const ExtendedBytes& r = patterns[rng() % patterns.size()];
            std::copy(r.begin(), r.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
        }
        SCOPED_TRACE(round);
        CheckRecord(b);
        if (HasFatalFailure())
            return;
    }
    CheckRecord(ScenarioBytes{});
    ScenarioBytes ones{};
    ones.fill(0xFF);
    CheckRecord(ones);
}

TEST(ScenarioFuzz, RandomBytesThroughTheTextConversion) {
    std::mt19937_64 rng(99);
    for (int round = 0; round < 5000; ++round) {
        std::string s(rng() % 300, '\0');
        for (auto& c : s) {
            // Lean on the bytes that start or continue UTF-8 sequences.
            c = static_cast<char>(rng() % 3 == 0 ? 0x80 + rng() % 0x80 : rng() % 256);
        }
        const std::string bytes = Utf8ToCp1252(s, kScenarioTextMax);
        ASSERT_LE(bytes.size(), kScenarioTextMax);
        const std::string utf8 = Cp1252ToUtf8(bytes);
        ASSERT_EQ(bytes, Utf8ToCp1252(utf8, kScenarioTextMax));
        ASSERT_EQ(bytes.size(), CharacterCount(utf8));
    }
}

}  // namespace
}  // namespace velmora
