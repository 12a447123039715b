// The stored record: byte layout, extended reals, texts, and the independent writer's files.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "scenario/codepage.h"
#include "scenario/extendedreal.h"
#include "scenario/scenariocodec.h"
#include "scenariofile_test_support.h"

namespace velmora {
namespace {

using test::FixturePath;
using test::Hex;
using test::ReadWholeFile;

ExtendedBytes BytesOf(const std::string& hex) {
    ExtendedBytes b{};
    for (std::size_t i = 0; i < b.size(); ++i) {
        b[i] = static_cast<std::uint8_t>(std::stoul(hex.substr(3 * i, 2), nullptr, 16));
    }
    return b;
}

// Same value, or both NaN; the sign must match either way (-0 is not 0 here).
::testing::AssertionResult SameReal(long double expected, long double actual) {
    const bool same = std::isnan(expected) ? std::isnan(actual) : expected == actual;
    if (same && std::signbit(expected) == std::signbit(actual)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "expected " << expected << ", got " << actual;
}

const long double kNaN = std::numeric_limits<long double>::quiet_NaN();
const long double kInf = std::numeric_limits<long double>::infinity();

struct RealCase {
    const char* name;
    long double value;
    const char* bytes;  // file order
};

// Canonical encodings: each value packs to these bytes and they unpack to it.
const RealCase kCanonical[] = {
    {"2.5", 2.5L, "00 00 00 00 00 00 00 A0 00 40"},
    {"100", 100.0L, "00 00 00 00 00 00 00 C8 05 40"},
    {"1000", 1000.0L, "00 00 00 00 00 00 00 FA 08 40"},
    {"zero", 0.0L, "00 00 00 00 00 00 00 00 00 00"},
    {"negative zero", -0.0L, "00 00 00 00 00 00 00 00 00 80"},
    {"1", 1.0L, "00 00 00 00 00 00 00 80 FF 3F"},
    {"-1", -1.0L, "00 00 00 00 00 00 00 80 FF BF"},
    {"0.01", 0.01L, "0A D7 A3 70 3D 0A D7 A3 F8 3F"},
    {"0.0001", 0.0001L, "2C 65 19 E2 58 17 B7 D1 F1 3F"},
    {"99999.99", 99999.99L, "1F 85 EB 51 B8 FE 4F C3 0F 40"},
    {"1234.56", 1234.56L, "EC 51 B8 1E 85 EB 51 9A 09 40"},
    {"smallest denormal", std::ldexp(1.0L, -16445), "01 00 00 00 00 00 00 00 00 00"},
    {"largest denormal", LDBL_MIN - std::ldexp(1.0L, -16445), "FF FF FF FF FF FF FF 7F 00 00"},
    {"smallest normal", LDBL_MIN, "00 00 00 00 00 00 00 80 01 00"},
    {"largest finite", LDBL_MAX, "FF FF FF FF FF FF FF FF FE 7F"},
    {"-largest finite", -LDBL_MAX, "FF FF FF FF FF FF FF FF FE FF"},
    {"infinity", kInf, "00 00 00 00 00 00 00 80 FF 7F"},
    {"-infinity", -kInf, "00 00 00 00 00 00 00 80 FF FF"},
    {"quiet NaN", kNaN, "00 00 00 00 00 00 00 C0 FF 7F"},
    {"negative quiet NaN", -kNaN, "00 00 00 00 00 00 00 C0 FF FF"},
};

TEST(ExtendedReal, CanonicalValuesPackAndUnpackExactly) {
    for (const RealCase& c : kCanonical) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.bytes, Hex(PackExtended(c.value)));
        EXPECT_TRUE(SameReal(c.value, UnpackExtended(BytesOf(c.bytes))));
    }
}

// Encodings no arithmetic produces; each must still read as a defined value.
const RealCase kNonCanonical[] = {
    // The x87 reads exponent field 0 with the integer bit set as exponent 1.
    {"pseudo-denormal", LDBL_MIN, "00 00 00 00 00 00 00 80 00 00"},
    {"largest pseudo-denormal", -std::ldexp(18446744073709551615.0L, -16445),
     "FF FF FF FF FF FF FF FF 00 80"},
    {"signalling NaN", kNaN, "01 00 00 00 00 00 00 80 FF 7F"},
    {"NaN with payload", -kNaN, "34 12 00 00 00 00 00 C0 FF FF"},
    // Invalid operands of the x87: its default NaN.
    {"unnormal", -kNaN, "00 00 00 00 00 00 00 40 FF 3F"},
    {"unnormal all ones", -kNaN, "FF FF FF FF FF FF FF 7F FE 7F"},
    {"pseudo-zero", -kNaN, "00 00 00 00 00 00 00 00 FF 3F"},
    {"pseudo-infinity", -kNaN, "00 00 00 00 00 00 00 00 FF 7F"},
    {"pseudo-NaN", -kNaN, "00 00 00 00 00 00 00 40 FF 7F"},
};

TEST(ExtendedReal, NonCanonicalEncodingsReadAsDefinedValues) {
    for (const RealCase& c : kNonCanonical) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(SameReal(c.value, UnpackExtended(BytesOf(c.bytes))));
    }
}

TEST(ExtendedReal, NonCanonicalValueWrittenBackIsCanonical) {
    EXPECT_EQ("00 00 00 00 00 00 00 80 01 00",
              Hex(PackExtended(UnpackExtended(BytesOf("00 00 00 00 00 00 00 80 00 00")))));
    EXPECT_EQ("00 00 00 00 00 00 00 C0 FF FF",
              Hex(PackExtended(UnpackExtended(BytesOf("00 00 00 00 00 00 00 40 FF 3F")))));
}

// Offsets and sizes of the stored record, written out here apart from the codec.
struct Slot {
    std::size_t offset;
    std::size_t size;
};
constexpr Slot kClientSlot{0, 101}, kDescriptionSlot{101, 101}, kPreparerSlot{202, 101};
constexpr Slot kGaps[] = {{303, 1}, {314, 2}, {330, 2}, {362, 6}, {378, 6}};

TScenarioRec WorkedExample() {
    TScenarioRec r;
    r.ClientName = "Jane Q. Client";
    r.Description = "Early at 62 in 2001 or later at 65 in 2004";
    r.Preparer = "A. Planner";
    r.Cola = 2.5L;
    r.Years = 20;
    r.Rate = 3.0L;
    r.EarlyMonth = 1;
    r.EarlyYear = 2001;
    r.LaterMonth = 1;
    r.LaterYear = 2004;
    r.Age = 62;
    r.EarlyBenefit = 1000.0L;
    r.LaterBenefit = 1400.0L;
    return r;
}

TScenarioRec CentsAndLimits() {
    TScenarioRec r;
    r.ClientName = std::string(100, 'N');
    r.Description = "";
    r.Preparer = "Zo\xC3\xAB M\xC3\xBCller";
    r.Cola = 100.0L;
    r.Years = 40;
    r.Rate = 0.0001L;
    r.EarlyMonth = 12;
    r.EarlyYear = 2030;
    r.LaterMonth = 12;
    r.LaterYear = 2000;
    r.Age = 99;
    r.EarlyBenefit = 99999.99L;
    r.LaterBenefit = 0.01L;
    return r;
}

// The scenario right after New: Years 0 lies outside its rule but must survive.
TScenarioRec AfterNew() {
    TScenarioRec r;
    r.Preparer = "A. Planner";
    r.Age = 62;
    r.EarlyMonth = 1;
    r.EarlyYear = 2001;
    r.LaterMonth = 1;
    r.LaterYear = 2004;
    return r;
}

void ExpectSameRecord(const TScenarioRec& expected, const TScenarioRec& actual) {
    EXPECT_EQ(expected.ClientName, actual.ClientName);
    EXPECT_EQ(expected.Description, actual.Description);
    EXPECT_EQ(expected.Preparer, actual.Preparer);
    EXPECT_TRUE(SameReal(expected.Cola, actual.Cola)) << "Cola";
    EXPECT_EQ(expected.Years, actual.Years);
    EXPECT_TRUE(SameReal(expected.Rate, actual.Rate)) << "Rate";
    EXPECT_EQ(expected.EarlyMonth, actual.EarlyMonth);
    EXPECT_EQ(expected.EarlyYear, actual.EarlyYear);
    EXPECT_EQ(expected.LaterMonth, actual.LaterMonth);
    EXPECT_EQ(expected.LaterYear, actual.LaterYear);
    EXPECT_EQ(expected.Age, actual.Age);
    EXPECT_TRUE(SameReal(expected.EarlyBenefit, actual.EarlyBenefit)) << "EarlyBenefit";
    EXPECT_TRUE(SameReal(expected.LaterBenefit, actual.LaterBenefit)) << "LaterBenefit";
}

ScenarioBytes FixtureBytes(const char* name) {
    const std::vector<std::uint8_t> file = ReadWholeFile(FixturePath(name));
    ScenarioBytes bytes{};
    if (file.size() != bytes.size()) {
        ADD_FAILURE() << name << " holds " << file.size() << " bytes";
        return bytes;
    }
    std::copy(file.begin(), file.end(), bytes.begin());
    return bytes;
}

struct FixtureCase {
    const char* file;
    TScenarioRec rec;
};

TEST(ScenarioCodec, IndependentWritersFilesDecodeExactlyAndEncodeToTheSameBytes) {
    const FixtureCase cases[] = {{"worked-example.ss", WorkedExample()},
                                 {"cents-and-limits.ss", CentsAndLimits()}};
    for (const FixtureCase& c : cases) {
        SCOPED_TRACE(c.file);
        const ScenarioBytes file = FixtureBytes(c.file);
        ExpectSameRecord(c.rec, DecodeScenarioRecord(file));
        EXPECT_EQ(Hex(file), Hex(EncodeScenarioRecord(c.rec)));
    }
}

TEST(ScenarioCodec, RoundTripKeepsEveryField) {
    TScenarioRec full = WorkedExample();
    full.ClientName = "\xC3\x80" + std::string(98, 'x') + "\xE2\x82\xAC";  // 100 characters
    full.Description = "Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x80\x94 \xC5\xA1";
    full.Cola = 1.2346L;
    full.Rate = 99.9999L;
    full.EarlyBenefit = 1234.56L;
    full.LaterBenefit = 99999.99L;
    TScenarioRec outOfRule = AfterNew();
    outOfRule.Years = -5;
    outOfRule.EarlyYear = 70000;
    outOfRule.LaterYear = std::numeric_limits<std::int32_t>::min();
    outOfRule.Age = std::numeric_limits<std::int32_t>::max();
    outOfRule.EarlyBenefit = -kInf;
    outOfRule.Rate = std::ldexp(1.0L, -16440);
    const struct {
        const char* name;
        TScenarioRec rec;
    } cases[] = {{"worked example", WorkedExample()},
                 {"cents and limits", CentsAndLimits()},
                 {"after New", AfterNew()},
                 {"every kind of character and decimal", full},
                 {"values outside the rules", outOfRule}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSameRecord(c.rec, DecodeScenarioRecord(EncodeScenarioRecord(c.rec)));
    }
}

TEST(ScenarioCodec, IntegersAreLittleEndianTwosComplement) {
    TScenarioRec r;
    r.Years = -5;
    r.EarlyYear = 70000;
    r.Age = 2004;
    const ScenarioBytes b = EncodeScenarioRecord(r);
    EXPECT_EQ("FB FF FF FF", Hex(std::span(b).subspan(316, 4)));
    EXPECT_EQ("70 11 01 00", Hex(std::span(b).subspan(336, 4)));
    EXPECT_EQ("D4 07 00 00", Hex(std::span(b).subspan(348, 4)));
}

TEST(ScenarioCodec, RealsSitAtTheirOffsets) {
    TScenarioRec r;
    r.Cola = 2.5L;
    r.Rate = 100.0L;
    r.EarlyBenefit = 1000.0L;
    r.LaterBenefit = -1.0L;
    const ScenarioBytes b = EncodeScenarioRecord(r);
    EXPECT_EQ("00 00 00 00 00 00 00 A0 00 40", Hex(std::span(b).subspan(304, 10)));
    EXPECT_EQ("00 00 00 00 00 00 00 C8 05 40", Hex(std::span(b).subspan(320, 10)));
    EXPECT_EQ("00 00 00 00 00 00 00 FA 08 40", Hex(std::span(b).subspan(352, 10)));
    EXPECT_EQ("00 00 00 00 00 00 00 80 FF BF", Hex(std::span(b).subspan(368, 10)));
}

TEST(ScenarioCodec, TextsAreCutToTheirSlotAndTheRestIsZero) {
    struct Case {
        const char* name;
        std::string text;
        std::string stored;  // Windows-1252 bytes of the slot's text
    } cases[] = {
        {"empty", "", ""},
        {"short", "Ann", "Ann"},
        {"100 characters fill the slot", std::string(100, 'z'), std::string(100, 'z')},
        {"longer texts keep their first 100", std::string(99, 'a') + "bcd",
         std::string(99, 'a') + "b"},
        {"100 two-byte characters",
         [] {
             std::string s;
             for (int i = 0; i < 101; ++i)
                 s += "\xC3\xA9";
             return s;
         }(),
         std::string(100, '\xE9')},
        {"code page characters", "\xE2\x82\xAC \xC5\xB8 \xC3\xBF", "\x80 \x9F \xFF"},
        {"characters the code page cannot hold", "\xC4\x81 \xE4\xB8\xAD \xF0\x9F\x98\x80", "? ? ?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TScenarioRec r;
        r.Description = c.text;
        const ScenarioBytes b = EncodeScenarioRecord(r);
        const std::size_t at = kDescriptionSlot.offset;
        EXPECT_EQ(c.stored.size(), b[at]);
        EXPECT_EQ(c.stored, std::string(b.begin() + at + 1, b.begin() + at + 1 + b[at]));
        for (std::size_t i = at + 1 + b[at]; i < at + kDescriptionSlot.size; ++i) {
            ASSERT_EQ(0, b[i]) << "slot tail byte " << i;
        }
    }
}

TEST(ScenarioCodec, GapsAndSlotTailsAreZeroWhateverTheValues) {
    TScenarioRec r = CentsAndLimits();
    r.ClientName = "Al";
    r.LaterBenefit = -kNaN;
    const ScenarioBytes b = EncodeScenarioRecord(r);
    for (const Slot& gap : kGaps) {
        for (std::size_t i = gap.offset; i < gap.offset + gap.size; ++i) {
            EXPECT_EQ(0, b[i]) << "gap byte " << i;
        }
    }
    for (const Slot& slot : {kClientSlot, kDescriptionSlot, kPreparerSlot}) {
        for (std::size_t i = slot.offset + 1 + b[slot.offset]; i < slot.offset + slot.size; ++i) {
            EXPECT_EQ(0, b[i]) << "slot tail byte " << i;
        }
    }
}

TEST(ScenarioCodec, LengthByteAbove100ReadsTheWholeSlot) {
    const struct {
        std::uint8_t length;
        std::size_t characters;
    } cases[] = {{0, 0}, {1, 1}, {99, 99}, {100, 100}, {101, 100}, {150, 100}, {255, 100}};
    ScenarioBytes b{};
    for (std::size_t i = 1; i < kPreparerSlot.size; ++i) {
        b[kPreparerSlot.offset + i] = static_cast<std::uint8_t>('A' + i % 26);
    }
    b[kPreparerSlot.offset + kPreparerSlot.size] = 0xEE;  // the gap after the slot
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.length));
        b[kPreparerSlot.offset] = c.length;
        const std::string text = DecodeScenarioRecord(b).Preparer;
        ASSERT_EQ(c.characters, text.size());
        if (c.characters > 0) {
            EXPECT_EQ('B', text.front());
            EXPECT_EQ(static_cast<char>('A' + c.characters % 26), text.back());
        }
    }
}

TEST(ScenarioCodec, ZeroBytesInsideATextAreKept) {
    ScenarioBytes b{};
    const char stored[] = {5, 'A', 'b', 0, 'c', 'd'};
    std::copy(std::begin(stored), std::end(stored), b.begin());
    EXPECT_EQ(std::string("Ab\0cd", 5), DecodeScenarioRecord(b).ClientName);
}

#if defined(__x86_64__) || defined(__i386__)
// A reader that shares nothing with the codec: on x86 the host's own long double and
// int32 are the stored formats, so a plain copy of the bytes must give the values.
struct IndependentRecord {
    std::string client;
    long double cola, rate, early, later;
    std::int32_t years, earlyMonth, earlyYear, laterMonth, laterYear, age;
};

IndependentRecord ReadIndependently(const ScenarioBytes& b) {
    auto real = [&b](std::size_t at) {
        long double v = 0;
        std::memcpy(&v, b.data() + at, 10);
        return v;
    };
    auto int32 = [&b](std::size_t at) {
        std::int32_t v = 0;
        std::memcpy(&v, b.data() + at, 4);
        return v;
    };
    IndependentRecord r;
    r.client.assign(reinterpret_cast<const char*>(b.data()) + 1, b[0]);
    r.cola = real(0x130);
    r.years = int32(0x13C);
    r.rate = real(0x140);
    r.earlyMonth = int32(0x14C);
    r.earlyYear = int32(0x150);
    r.laterMonth = int32(0x154);
    r.laterYear = int32(0x158);
    r.age = int32(0x15C);
    r.early = real(0x160);
    r.later = real(0x170);
    return r;
}

TEST(ScenarioCodec, OurRecordsReadByAnIndependentReader) {
    TScenarioRec r = WorkedExample();
    r.Years = -7;
    r.Age = 99;
    r.Rate = std::ldexp(3.0L, -16444);  // a denormal
    r.EarlyBenefit = 1234.56L;
    r.LaterBenefit = -LDBL_MAX;
    const IndependentRecord read = ReadIndependently(EncodeScenarioRecord(r));
    EXPECT_EQ(r.ClientName, read.client);
    EXPECT_EQ(r.Cola, read.cola);
    EXPECT_EQ(r.Years, read.years);
    EXPECT_EQ(r.Rate, read.rate);
    EXPECT_EQ(r.EarlyMonth, read.earlyMonth);
    EXPECT_EQ(r.EarlyYear, read.earlyYear);
    EXPECT_EQ(r.LaterMonth, read.laterMonth);
    EXPECT_EQ(r.LaterYear, read.laterYear);
    EXPECT_EQ(r.Age, read.age);
    EXPECT_EQ(r.EarlyBenefit, read.early);
    EXPECT_EQ(r.LaterBenefit, read.later);
}
#endif

struct TextCase {
    const char* name;
    std::string utf8;
    std::string cp1252;
};

TEST(CodePage, Utf8ToWindows1252) {
    const TextCase cases[] = {
        {"ASCII", "Jane Q. Client", "Jane Q. Client"},
        {"Latin-1", "Zo\xC3\xAB M\xC3\xBCller \xC3\xBF", "Zo\xEB M\xFCller \xFF"},
        {"the code page's own characters", "\xE2\x82\xAC\xE2\x80\xA6\xE2\x84\xA2\xC5\xBD",
         "\x80\x85\x99\x8E"},
        {"undefined bytes come back as their C1 controls", "\xC2\x81\xC2\x8D\xC2\x9D",
         "\x81\x8D\x9D"},
        {"other C1 controls have no byte", "\xC2\x80\xC2\x9F", "??"},
        {"outside the code page", "\xC4\x80\xE2\x80\x8B\xF0\x9F\x98\x80", "???"},
        {"truncated sequence", "a\xC3", "a?"},
        {"stray continuation bytes", "\x80\xBF", "??"},
        {"overlong slash", "\xC0\xAF", "??"},
        {"overlong three-byte form", "\xE0\x80\xAF", "???"},
        {"surrogate", "\xED\xA0\x80", "???"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", "????"},
        {"three-byte sequence cut short", "\xE2\x82z", "?z"},
        {"invalid lead bytes", "\xF5\xFF", "??"},
        {"zero byte kept", std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(
            Hex(std::span(reinterpret_cast<const std::uint8_t*>(c.cp1252.data()), c.cp1252.size())),
            [&] {
                const std::string out = Utf8ToCp1252(c.utf8, 100);
                return Hex(
                    std::span(reinterpret_cast<const std::uint8_t*>(out.data()), out.size()));
            }());
    }
}

TEST(CodePage, Utf8ToWindows1252StopsAtTheCharacterLimit) {
    EXPECT_EQ("\xE9\xE9", Utf8ToCp1252("\xC3\xA9\xC3\xA9\xC3\xA9", 2));
    EXPECT_EQ("??", Utf8ToCp1252("\xF0\x9F\x98\x80\xF0\x9F\x98\x80z", 2));
    EXPECT_EQ("", Utf8ToCp1252("abc", 0));
}

TEST(CodePage, EveryByteSurvivesTheWayThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(all, Utf8ToCp1252(utf8, all.size()));
    EXPECT_EQ("\xE2\x82\xAC", Cp1252ToUtf8("\x80"));
    EXPECT_EQ("\xC2\x81", Cp1252ToUtf8("\x81"));
    EXPECT_EQ("\xC5\xB8", Cp1252ToUtf8("\x9F"));
    EXPECT_EQ("\xC2\xA0", Cp1252ToUtf8("\xA0"));
}

}  // namespace
}  // namespace velmora
