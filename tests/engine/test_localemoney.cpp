#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>

#include "engine/moneytext.h"

namespace velmora {
namespace {

LocaleMoneyRecord Record(const char* symbol, const char* decimal, const char* group, int frac,
                         int pCs, int pSep, int nCs, int nSep, int nPosn) {
    LocaleMoneyRecord r;
    r.currency_symbol = symbol;
    r.mon_decimal_point = decimal;
    r.mon_thousands_sep = group;
    r.frac_digits = frac;
    r.p_cs_precedes = pCs;
    r.p_sep_by_space = pSep;
    r.n_cs_precedes = nCs;
    r.n_sep_by_space = nSep;
    r.n_sign_posn = nPosn;
    return r;
}

TMoneyFormat Format(const char* symbol, int positive, int negative, const char* group,
                    const char* decimal, int digits) {
    TMoneyFormat f;
    f.CurrencySymbol = symbol;
    f.PositivePattern = static_cast<std::uint8_t>(positive);
    f.NegativePattern = static_cast<std::uint8_t>(negative);
    f.GroupMark = group;
    f.DecimalMark = decimal;
    f.CurrencyDigits = static_cast<std::uint8_t>(digits);
    return f;
}

std::string Describe(const TMoneyFormat& f) {
    return "[" + f.CurrencySymbol + "] " + std::to_string(f.PositivePattern) + "/" +
           std::to_string(f.NegativePattern) + " group[" + f.GroupMark + "] decimal[" +
           f.DecimalMark + "] digits " + std::to_string(f.CurrencyDigits);
}

TEST(MoneyFormatFromLocale, MapsLocaleRecords) {
    const int U = CHAR_MAX;  // not defined by the locale
    struct Case {
        const char* name;
        LocaleMoneyRecord record;
        TMoneyFormat expected;
    };
    const Case cases[] = {
        {"en_US", Record("$", ".", ",", 2, 1, 0, 1, 0, 1), Format("$", 0, 1, ",", ".", 2)},
        {"de_DE", Record("\u20ac", ",", ".", 2, 0, 1, 0, 1, 1),
         Format("\u20ac", 3, 8, ".", ",", 2)},
        {"fr_FR, narrow no-break space is one character",
         Record("\u20ac", ",", "\u202f", 2, 0, 1, 0, 1, 1),
         Format("\u20ac", 3, 8, "\u202f", ",", 2)},
        {"sv_SE", Record("kr", ",", "\u00a0", 2, 0, 1, 0, 1, 1),
         Format("kr", 3, 8, "\u00a0", ",", 2)},
        {"ja_JP", Record("\uffe5", ".", ",", 0, 1, 0, 1, 0, 4),
         Format("\uffe5", 0, 2, ",", ".", 0)},
        {"parentheses, symbol first", Record("$", ".", ",", 2, 1, 0, 1, 0, 0),
         Format("$", 0, 0, ",", ".", 2)},
        {"parentheses, symbol last with space", Record("kr", ",", ".", 2, 0, 1, 0, 1, 0),
         Format("kr", 3, 15, ".", ",", 2)},
        {"C and POSIX: no money format", Record("", "", "", U, U, U, U, U, U),
         TMoneyFormat::UnitedStates()},
        {"multi-character separators fall back", Record("$", "::", "ab", 2, 1, 0, 1, 0, 1),
         Format("$", 0, 1, ",", ".", 2)},
        {"empty group mark is none", Record("$", ".", "", 2, 1, 0, 1, 0, 1),
         Format("$", 0, 1, "", ".", 2)},
        {"undefined currency digits", Record("$", ".", ",", U, 1, 0, 1, 0, 1),
         Format("$", 0, 1, ",", ".", 0)},
        {"undefined placements", Record("$", ".", ",", 2, U, U, U, U, U),
         Format("$", 0, 0, ",", ".", 2)},
        {"a symbol that is not UTF-8", Record("\xa4", ".", ",", 2, 1, 0, 1, 0, 1),
         Format("", 0, 1, ",", ".", 2)},
        {"a separator that is not UTF-8", Record("$", ".", "\xa0", 2, 1, 0, 1, 0, 1),
         Format("$", 0, 1, ",", ".", 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TMoneyFormat got = MoneyFormatFromLocale(c.record);
        EXPECT_EQ(Describe(got), Describe(c.expected));
        EXPECT_TRUE(got == c.expected);
    }
}

// What each placement of the locale record looks like on a negative amount.
TEST(MoneyFormatFromLocale, NegativePlacements) {
    struct Case {
        int csPrecedes, sepBySpace, signPosn;
        const char* text;
    };
    const Case cases[] = {
        {1, 0, 0, "($1,235)"}, {1, 0, 1, "-$1,235"},   {1, 0, 2, "$1,235-"},  {1, 0, 3, "-$1,235"},
        {1, 0, 4, "$-1,235"},  {1, 1, 0, "($ 1,235)"}, {1, 1, 1, "-$ 1,235"}, {1, 1, 2, "$ 1,235-"},
        {1, 2, 4, "$ -1,235"}, {0, 0, 0, "(1,235$)"},  {0, 0, 1, "-1,235$"},  {0, 0, 2, "1,235$-"},
        {0, 0, 3, "1,235-$"},  {0, 1, 0, "(1,235 $)"}, {0, 1, 1, "-1,235 $"}, {0, 1, 2, "1,235 $-"},
        {0, 2, 3, "1,235- $"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.csPrecedes << c.sepBySpace << c.signPosn);
        const TMoneyFormat f = MoneyFormatFromLocale(
            Record("$", ".", ",", 2, 1, 0, c.csPrecedes, c.sepBySpace, c.signPosn));
        EXPECT_EQ(MoneyText(-1234.5L, 0, f), c.text);
    }
}

TEST(ReadMoneyFormat, CLocaleGivesUnitedStatesSettings) {
    const TMoneyFormat saved = MoneyFormat();
    const std::string savedLocale = std::setlocale(LC_ALL, nullptr);
    for (const char* name : {"C", "POSIX", "C.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) == nullptr)
            continue;
        SCOPED_TRACE(name);
        MoneyFormat().CurrencySymbol = "x";
        ReadMoneyFormat();
        EXPECT_EQ(Describe(MoneyFormat()), Describe(TMoneyFormat::UnitedStates()));
    }
    std::setlocale(LC_ALL, savedLocale.c_str());
    MoneyFormat() = saved;
}

}  // namespace
}  // namespace velmora
