// Masks: their measures, how numbers are shown through them and how texts read back.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "scenario/entryformat.h"
#include "scenario/fieldtext.h"
#include "scenario/numericmask.h"

namespace velmora {
namespace {

constexpr const char* kPercent = "###.####%";
constexpr const char* kMoney = "$##,###.##";

EntryFormat Euro() {
    TMoneyFormat f;
    f.CurrencySymbol = "\u20ac";
    f.DecimalMark = ",";
    f.GroupMark = ".";
    return EntryFormat::FromMoneyFormat(f);
}

EntryFormat Us() {
    return EntryFormat::FromMoneyFormat(TMoneyFormat::UnitedStates());
}

std::string Drawn(const FieldText& shown) {
    return Utf8FromFieldText(TrimBlanks(shown));
}

TEST(NumericMask, Measures) {
    struct Case {
        const char* mask;
        int p, w, i;
    };
    const Case cases[] = {
        {"##", 0, 2, 2},
        {"####", 0, 4, 4},
        {kPercent, 4, 8, 3},
        {kMoney, 2, 8, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        const NumericMask mask(c.mask, Us());
        EXPECT_EQ(mask.Decimals(), c.p);
        EXPECT_EQ(mask.Capacity(), c.w);
        EXPECT_EQ(mask.IntegerCapacity(), c.i);
    }
}

TEST(NumericMask, RegionalMarks) {
    struct Case {
        const char* name;
        const char* currency;
        const char* decimal;
        const char* group;
        EntryFormat expected;
    };
    const Case cases[] = {
        {"united states", "$", ".", ",", {U'.', U',', U'$'}},
        {"euro", "\u20ac", ",", ".", {U',', U'.', U'\u20ac'}},
        {"first character of a long symbol", "kr", ",", ".", {U',', U'.', U'k'}},
        {"no symbol", "", ".", ",", {U'.', U',', U'\0'}},
        {"no group mark", "$", ".", "", {U'.', U'\0', U'$'}},
        {"no decimal mark", "$", "", ",", {U'.', U',', U'$'}},
        {"same marks", "$", ",", ",", {U'.', U',', U'$'}},
        {"same marks, both points", "$", ".", ".", {U'.', U',', U'$'}},
        {"narrow no-break space", "\u20ac", ",", "\u202f", {U',', U'\u202f', U'\u20ac'}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TMoneyFormat money;
        money.CurrencySymbol = c.currency;
        money.DecimalMark = c.decimal;
        money.GroupMark = c.group;
        EXPECT_EQ(EntryFormat::FromMoneyFormat(money), c.expected);
    }
}

TEST(NumericMask, ShowsNumbers) {
    struct Case {
        const char* mask;
        long double value;
        const char* shown;  // drawn, blanks at both ends removed
    };
    const Case cases[] = {
        {kPercent, 0, "0.0000%"},
        {kPercent, 2.5L, "2.5000%"},
        {kPercent, 100, "100.0000%"},
        {kPercent, 1.23456L, "1.2346%"},
        {kPercent, 2.12346L, "2.1235%"},
        {kPercent, -5, "-5.0000%"},
        {kPercent, -0.0L, "0.0000%"},
        {kPercent, -0.00004L, "0.0000%"},  // rounds to zero: no sign
        {kPercent, 1e-4000L, "0.0000%"},
        {kMoney, 0, "$0.00"},
        {kMoney, 1234.5L, "$1,234.50"},
        {kMoney, 12345.67L, "$12,345.67"},
        {kMoney, -12, "-$12.00"},
        {kMoney, -9999.99L, "-$9,999.99"},
        {kMoney, 0.125L, "$0.12"},  // an exact tie goes to the even cent
        {kMoney, 0.375L, "$0.38"},
        {kMoney, 999.999L, "$1,000.00"},
        {"##", 7, "7"},
        {"##", -5, "-5"},
        {"####", 2001, "2001"},
        {"####", 0, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + " " + std::to_string(static_cast<double>(c.value)));
        const NumericMask mask(c.mask, Us());
        const FieldText shown =
            mask.Decimals() > 0 || std::string(c.mask).find('.') != std::string::npos
                ? mask.ShowReal(c.value)
                : mask.ShowInteger(static_cast<std::int64_t>(c.value));
        EXPECT_EQ(Drawn(shown), c.shown);
        EXPECT_EQ(shown.size(), mask.Length()) << "a number that fits fills the mask exactly";
    }
}

TEST(NumericMask, ShowsWithOtherRegionalSettings) {
    TMoneyFormat noGroup = TMoneyFormat::UnitedStates();
    noGroup.GroupMark = "";
    TMoneyFormat noSymbol = TMoneyFormat::UnitedStates();
    noSymbol.CurrencySymbol = "";
    TMoneyFormat krona;
    krona.CurrencySymbol = "kr";
    krona.DecimalMark = ",";
    krona.GroupMark = "\u00a0";
    struct Case {
        const char* name;
        EntryFormat format;
        const char* mask;
        long double value;
        const char* shown;
    };
    const Case cases[] = {
        {"euro", Euro(), kMoney, 1234.5L, "\u20ac1.234,50"},
        {"euro negative", Euro(), kMoney, -12, "-\u20ac12,00"},
        {"euro percent", Euro(), kPercent, 2.5L, "2,5000%"},
        {"no group mark", EntryFormat::FromMoneyFormat(noGroup), kMoney, 12345.67L, "$12345.67"},
        {"no symbol", EntryFormat::FromMoneyFormat(noSymbol), kMoney, 1234.5L, "1,234.50"},
        {"no symbol negative", EntryFormat::FromMoneyFormat(noSymbol), kMoney, -12, "-12.00"},
        {"symbol's first character", EntryFormat::FromMoneyFormat(krona), kMoney, 1234.5L,
         "k1\u00a0234,50"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const NumericMask mask(c.mask, c.format);
        EXPECT_EQ(Drawn(mask.ShowReal(c.value)), c.shown);
    }
}

// Only a hand-made file brings such values; none may be shown as a different number.
TEST(NumericMask, ShowsNumbersTooLargeForTheMask) {
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const long double inf = std::numeric_limits<long double>::infinity();
    struct Case {
        const char* mask;
        long double value;
        bool integer;
        const char* shown;
        bool readsAsShown;  // else the text is not a number
    };
    const Case cases[] = {
        {kMoney, 99999.996L, false, "$100,000.00", true},
        {kMoney, 1e6L, false, "$1,000,000.00", true},
        {kMoney, -99999.99L, false, "-$99,999.99", true},  // no room for the sign otherwise
        {kMoney, 999999999999999999.0L, false, "$999,999,999,999,999,999.00", true},
        {kPercent, 1000, false, "1000.0000%", false},  // out of its bounds anyway
        {kPercent, -100, false, "-100.0000%", false},
        {"##", 100, true, "100", true},
        {"##", -10, true, "-10", true},
        {"####", -32768, true, "-32768", true},
        {kMoney, 1e18L, false, "$**,***.**", false},
        {kMoney, 1e4000L, false, "$**,***.**", false},
        {kMoney, -1e4000L, false, "$**,***.**", false},
        {kMoney, nan, false, "$**,***.**", false},
        {kPercent, inf, false, "***.****%", false},
        {kPercent, -inf, false, "***.****%", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        const NumericMask mask(c.mask, Us());
        const FieldText shown = c.integer ? mask.ShowInteger(static_cast<std::int64_t>(c.value))
                                          : mask.ShowReal(c.value);
        EXPECT_EQ(Drawn(shown), c.shown);
        const NumberRead read =
            mask.Read(shown, c.integer ? NumberKind::Integer : NumberKind::Real);
        EXPECT_EQ(read.isNumber, c.readsAsShown);
        if (c.readsAsShown) {
            EXPECT_EQ(mask.ShowReal(read.value), shown);
        }
    }
}

TEST(NumericMask, UnfitMarkerIsNeverAMark) {
    TMoneyFormat starry = TMoneyFormat::UnitedStates();
    starry.GroupMark = "*";
    const NumericMask mask(kMoney, EntryFormat::FromMoneyFormat(starry));
    const FieldText shown = mask.ShowReal(std::numeric_limits<long double>::infinity());
    EXPECT_EQ(Drawn(shown), "$##*###.##");
    EXPECT_FALSE(mask.Read(shown, NumberKind::Real).isNumber);
}

TEST(NumericMask, ReadsTexts) {
    struct Case {
        const char* mask;
        NumberKind kind;
        const char* text;
        bool isNumber;
        long double value;
    };
    constexpr auto R = NumberKind::Real;
    constexpr auto I = NumberKind::Integer;
    const Case cases[] = {
        {kPercent, R, "  2.5000%", true, 2.5L},
        {kPercent, R, "     2.5%", true, 2.5L},  // as shown while typing
        {kPercent, R, "     12.%", true, 12},    // a final point is dropped
        {kPercent, R, "      .5%", true, 0.5L},  // a point without a digit before it
        {kPercent, R, "   2 . 5%", true, 2.5L},  // blanks next to the point
        {kPercent, R, "        %", true, 0},     // blank reads as 0
        {kPercent, R, "       .%", true, 0},
        {kPercent, R, "     -0%", false, 0},  // not the mask's length: '%' stays
        {kPercent, R, "      -0%", true, 0},
        {kPercent, R, "     - 5%", false, 0},
        {kPercent, R, "   2.5.0%", false, 0},
        {kPercent, R, "   1e3  %", false, 0},
        {kPercent, R, "      +5%", false, 0},
        {kMoney, R, "    $12.00", true, 12},
        {kMoney, R, "   -$12.00", true, -12},
        {kMoney, R, " $1,234.50", true, 1234.5L},
        {kMoney, R, "$12,345.67", true, 12345.67L},
        {kMoney, R, "$1,000,000.00", true, 1e6L},  // longer than the mask: read whole
        {kMoney, R, "  $$12.00", false, 0},        // only one currency mark is removed
        {kMoney, R, "          ", true, 0},
        {"##", I, " 7", true, 7},
        {"##", I, "-5", true, -5},
        {"##", I, "  ", true, 0},
        {"##", I, "007", true, 7},
        {"##", I, " a", false, 0},
        {"####", I, " 2.5", false, 0},
        {"####", I, "9999999999999999999", false, 0},
        {"####", I, "-", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + " [" + c.text + "]");
        const NumericMask mask(c.mask, Us());
        const NumberRead read = mask.Read(FieldTextFromUtf8(c.text), c.kind);
        EXPECT_EQ(read.isNumber, c.isNumber);
        if (c.isNumber) {
            EXPECT_EQ(read.value, c.value);
            if (c.value == 0) {
                EXPECT_FALSE(std::signbit(read.value)) << "no negative zero";
            }
        }
    }
}

TEST(NumericMask, ReadsTextsWithEuroSettings) {
    const NumericMask mask(kMoney, Euro());
    EXPECT_EQ(mask.Read(FieldTextFromUtf8(" \u20ac1.234,50"), NumberKind::Real).value, 1234.5L);
    // '.' is the group mark here, so it is removed rather than read as a point.
    EXPECT_EQ(mask.Read(FieldTextFromUtf8("  \u20ac12.50"), NumberKind::Real).value, 1250);
}

// The plain decimal text of count / 10^decimals, e.g. -1234 and 2 give "-12.34".
std::string Decimal(long long count, int decimals) {
    std::string digits = std::to_string(count < 0 ? -count : count);
    if (digits.size() <= static_cast<std::size_t>(decimals)) {
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    }
    digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    return (count < 0 ? "-" : "") + digits;
}

// Every amount the mask holds is shown with exactly its decimals, reads back as the long
// double nearest to them, and shows the same text again.
TEST(NumericMask, RoundTripsManyAmounts) {
    for (const EntryFormat& format : {Us(), Euro()}) {
        for (const char* m : {kMoney, kPercent}) {
            const NumericMask mask(m, format);
            for (long long count = -999999; count <= 9999999; count += 7919) {
                const std::string text = Decimal(count, mask.Decimals());
                SCOPED_TRACE(std::string(m) + " " + text);
                long double value = 0;
                std::from_chars(text.data(), text.data() + text.size(), value);
                const FieldText shown = mask.ShowReal(value);
                ASSERT_EQ(shown.size(), mask.Length());
                EXPECT_EQ(Utf8FromFieldText(mask.Strip(shown)), text);
                const NumberRead read = mask.Read(shown, NumberKind::Real);
                ASSERT_TRUE(read.isNumber);
                EXPECT_EQ(read.value, value);
                EXPECT_EQ(mask.ShowReal(read.value), shown);
            }
        }
    }
}

}  // namespace
}  // namespace velmora
