// How the report turns field values into text, by the field's declared type.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/money.h"
#include "engine/moneytext.h"
#include "report/valuetext.h"

namespace velmora {
namespace {

const char* const kPercent = "###.0000%";

TEST(ValueText, PercentFieldsPrintFourDecimalsWithoutScalingOrALeadingZero) {
    const TMoneyFormat us = TMoneyFormat::UnitedStates();
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {3.5, "3.5000%"},
        {0.25, ".2500%"},
        {0, ".0000%"},
        {-0.0, ".0000%"},
        {12, "12.0000%"},
        {100, "100.0000%"},
        {2.5, "2.5000%"},
        {1.23456, "1.2346%"},
        {0.03125, ".0313%"},  // an exact tie rounds away from zero
        {-0.03125, "-.0313%"},
        {-2.5, "-2.5000%"},
        {-0.00004, ".0000%"},  // rounds to zero: no minus sign
        {0.00005, ".0001%"},
        {999.99995, "1000.0000%"},
        {1234567.5, "1234567.5000%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(FormatNumber(c.value, kPercent, us), c.text);
    }
}

TEST(ValueText, PercentFieldsUseTheRegionalDecimalMark) {
    TMoneyFormat format = TMoneyFormat::UnitedStates();
    format.DecimalMark = ",";
    format.GroupMark = ".";
    EXPECT_EQ(FormatNumber(3.5, kPercent, format), "3,5000%");
    EXPECT_EQ(FormatNumber(1234.25, kPercent, format), "1234,2500%");
}

TEST(ValueText, FieldTextFollowsTheDeclaredType) {
    const TMoneyFormat us = TMoneyFormat::UnitedStates();
    const struct {
        const char* name;
        FieldValue value;
        TDataType type;
        const char* format;
        const char* text;
    } cases[] = {
        {"null string", FieldValue(), dtString, "", ""},
        {"null integer", FieldValue(), dtInteger, "", ""},
        {"null percent", FieldValue(), dtExtended, kPercent, ""},
        {"null currency", FieldValue(), dtCurrency, "", ""},
        {"text as delivered", FieldValue("  Pat  "), dtString, "", "  Pat  "},
        {"empty text", FieldValue(""), dtString, "", ""},
        {"cell text", FieldValue("($2,272)"), dtString, "", "($2,272)"},
        {"year without grouping", FieldValue(std::int32_t{2005}), dtInteger, "", "2005"},
        {"age", FieldValue(std::int32_t{62}), dtInteger, "", "62"},
        {"month", FieldValue(std::int32_t{1}), dtInteger, "", "1"},
        {"negative whole number", FieldValue(std::int32_t{-5}), dtInteger, "", "-5"},
        {"zero", FieldValue(std::int32_t{0}), dtInteger, "", "0"},
        {"cola", FieldValue(3.5), dtExtended, kPercent, "3.5000%"},
        {"benefit", FieldValue(1234.5), dtCurrency, "", "$1,234.50"},
        {"benefit zero", FieldValue(0.0), dtCurrency, "", "$0.00"},
        {"benefit rounds half away", FieldValue(0.125), dtCurrency, "", "$0.13"},
        {"benefit of fifteen digits", FieldValue(1234567890123.45), dtCurrency, "",
         "$1,234,567,890,123.45"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatFieldValue(c.value, c.type, c.format, us), c.text);
    }
}

TEST(ValueText, CurrencyFieldsUseTheRegionalCurrencyDigits) {
    TMoneyFormat format = TMoneyFormat::UnitedStates();
    format.CurrencyDigits = 0;
    EXPECT_EQ(CurrencyFieldText(1234.5, format), "$1,235");
    format.CurrencyDigits = 3;
    EXPECT_EQ(CurrencyFieldText(1234.5, format), "$1,234.500");
}

TEST(ValueText, ANumberThatIsNotFiniteIsAnArithmeticError) {
    const TMoneyFormat us = TMoneyFormat::UnitedStates();
    const struct {
        double value;
        const char* message;
    } cases[] = {
        {HUGE_VAL, "Floating point overflow"},
        {-HUGE_VAL, "Floating point overflow"},
        {std::nan(""), "Invalid floating point operation"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        for (TDataType type : {dtCurrency, dtExtended}) {
            try {
                FormatFieldValue(FieldValue(c.value), type, type == dtExtended ? kPercent : "", us);
                ADD_FAILURE() << "no error";
            } catch (const ArithmeticError& e) {
                EXPECT_STREQ(e.what(), c.message);
            }
        }
    }
}

}  // namespace
}  // namespace velmora
