#include <gtest/gtest.h>

#include <monetary.h>
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
        {"da_DK: p_sep_by_space 2 keeps the space of a positive amount",
         Record("kr.", ",", ".", 2, 1, 2, 1, 2, 4), Format("kr.", 2, 12, ".", ",", 2)},
        {"p_sep_by_space 2, symbol last", Record("kr", ",", ".", 2, 0, 2, 0, 2, 1),
         Format("kr", 3, 5, ".", ",", 2)},
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

// Switches the C library's locale categories for a test and puts them back.
class LocaleScope {
  public:
    LocaleScope() : saved_(std::setlocale(LC_ALL, nullptr)), money_(MoneyFormat()) {}
    ~LocaleScope() {
        std::setlocale(LC_ALL, saved_.c_str());
        MoneyFormat() = money_;
    }
    bool Set(int category, const char* name) { return std::setlocale(category, name) != nullptr; }

  private:
    std::string saved_;
    TMoneyFormat money_;
};

// A positive amount reads as the C library's own money formatting reads it. Locales the
// system lacks are skipped (Debian's locales-all provides them).
TEST(ReadMoneyFormat, PositiveAmountsMatchTheSystemsFormatting) {
    int tried = 0;
    for (const char* name : {"en_US.UTF-8", "de_DE.UTF-8", "da_DK.UTF-8", "th_TH.UTF-8",
                             "nl_NL.UTF-8", "sv_SE.UTF-8", "it_IT.UTF-8"}) {
        LocaleScope scope;
        if (!scope.Set(LC_ALL, name))
            continue;
        SCOPED_TRACE(name);
        ++tried;
        ReadMoneyFormat();
        char expected[100];
        ASSERT_GT(strfmon(expected, sizeof expected, "%.2n", 12000.0), 0);
        EXPECT_EQ(MoneyText(12000.0L, 2), expected);
    }
    if (tried == 0)
        GTEST_SKIP() << "none of the locales is installed";
}

// The symbol is in the monetary locale's own character set, whatever LC_CTYPE says.
TEST(ReadMoneyFormat, TheSymbolIsReadInTheMonetaryLocalesCharacterSet) {
    const struct {
        const char* ctype;
        const char* monetary;
    } cases[] = {
        {"C", "de_DE.UTF-8"},
        {"C.UTF-8", "de_DE@euro"},  // ISO-8859-15: the euro sign is byte A4
        {"C.UTF-8", "de_DE.UTF-8"},
    };
    int tried = 0;
    for (const auto& c : cases) {
        LocaleScope scope;
        if (!scope.Set(LC_ALL, c.ctype) || !scope.Set(LC_MONETARY, c.monetary))
            continue;
        SCOPED_TRACE(c.monetary);
        ++tried;
        ReadMoneyFormat();
        EXPECT_EQ(MoneyFormat().CurrencySymbol, "\u20ac");
        EXPECT_EQ(MoneyText(1378.51L, 2), "1.378,51 \u20ac");
    }
    if (tried == 0)
        GTEST_SKIP() << "no German locale is installed";
}

}  // namespace
}  // namespace velmora
