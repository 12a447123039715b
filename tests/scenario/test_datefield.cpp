// The date entry field's model: typing into the mask, the rules on leaving, and the
// value it gives.
#include <gtest/gtest.h>

#include "scenario/datefieldmodel.h"

namespace velmora {
namespace {

std::string Shown(const DateFieldModel& m) {
    return Utf8FromFieldText(m.ShownText());
}

void TypeAll(DateFieldModel& m, const char* keys) {
    for (const char* k = keys; *k != '\0'; ++k)
        m.Type(static_cast<char32_t>(*k));
}

TEST(DateField, TypingFillsTheMaskFromTheLeft) {
    DateFieldModel m(1900, 2100);
    EXPECT_EQ(Shown(m), "");  // empty and not entered: nothing drawn
    m.Enter(true);
    EXPECT_EQ(Shown(m), "__/__/____");
    EXPECT_EQ(m.CaretPosition(), 0u);
    TypeAll(m, "031");
    EXPECT_EQ(Shown(m), "03/1_/____");
    EXPECT_EQ(m.CaretPosition(), 4u);
    // Slashes and blanks are passed over, letters refused, a ninth digit too.
    EXPECT_EQ(m.Type(U'/'), KeyOutcome::Ignored);
    EXPECT_EQ(m.Type(U'x'), KeyOutcome::Refused);
    TypeAll(m, "51962");
    EXPECT_EQ(Shown(m), "03/15/1962");
    EXPECT_EQ(m.Type(U'7'), KeyOutcome::Refused);
    m.DeleteBackward();
    EXPECT_EQ(Shown(m), "03/15/196_");
    EXPECT_TRUE(m.Modified());
    m.Restore();
    EXPECT_EQ(Shown(m), "__/__/____");

    // Over a whole selection a digit starts the text again.
    m.SetValue(FieldDate{1962, 3, 15});
    m.Enter(true);
    ASSERT_TRUE(m.HasSelection());
    m.Type(U'1');
    EXPECT_EQ(Shown(m), "1_/__/____");
}

TEST(DateField, RulesOnLeaving) {
    struct Case {
        const char* digits;
        std::optional<std::string> refusal;
        std::optional<FieldDate> value;
    };
    // Each refusal says what is wrong, after the field's own sentence.
    const std::string notValid = std::string(kNotValidMessage) + " (";
    const std::string outOfRange = std::string(kOutOfRangeMessage) + " (1900 to 2100)";
    const Case cases[] = {
        {"", std::nullopt, std::nullopt},  // empty stands: no date
        {"0315196", notValid + "03/15/196_ is not a complete date)", std::nullopt},
        {"03151962", std::nullopt, FieldDate{1962, 3, 15}},
        {"02292024", std::nullopt, FieldDate{2024, 2, 29}},
        {"02292023", notValid + "02/29/2023 is not a date: February 2023 has 28 days)",
         std::nullopt},
        {"02301963", notValid + "02/30/1963 is not a date: February 1963 has 28 days)",
         std::nullopt},
        {"13011990", notValid + "13/01/1990 is not a date: the month must be 01 to 12)",
         std::nullopt},
        {"00011990", notValid + "00/01/1990 is not a date: the month must be 01 to 12)",
         std::nullopt},
        {"04311990", notValid + "04/31/1990 is not a date: April 1990 has 30 days)", std::nullopt},
        {"04001990", notValid + "04/00/1990 is not a date: there is no day 00)", std::nullopt},
        {"01010000", notValid + "01/01/0000 is not a date: there is no year 0000)", std::nullopt},
        {"01011899", outOfRange, std::nullopt},
        {"12312100", std::nullopt, FieldDate{2100, 12, 31}},
        {"01012101", outOfRange, std::nullopt},
    };
    for (const Case& c : cases) {
        DateFieldModel m(1900, 2100);
        m.Enter(false);
        TypeAll(m, c.digits);
        EXPECT_EQ(m.Leave(), c.refusal) << c.digits;
        EXPECT_EQ(m.Value(), c.value) << c.digits;
        // A refused text stays, to be put right.
        if (c.refusal) {
            EXPECT_EQ(m.Digits(), c.digits);
        }
    }
}

TEST(DateField, PasteAndValueText) {
    struct Case {
        const char* pasted;
        const char* shown;
        bool whole;  // nothing of the text dropped
    };
    const Case cases[] = {
        {"03/15/1962", "03/15/1962", true},   {"1962-03-15", "03/15/1962", true},
        {" 3151962 ", "31/51/962_", true},    {"no digits", "__/__/____", false},
        {"03/15/19621", "03/15/1962", false},
    };
    for (const Case& c : cases) {
        DateFieldModel m(1900, 2100);
        m.Enter(true);
        EXPECT_EQ(m.Paste(FieldTextFromUtf8(c.pasted)), c.whole) << c.pasted;
        EXPECT_EQ(Shown(m), c.shown) << c.pasted;
    }
    DateFieldModel m(1900, 2100);
    m.SetValue(FieldDate{2026, 12, 1});
    EXPECT_EQ(m.ValueText(), "12/01/2026");
    EXPECT_EQ(Shown(m), "12/01/2026");
    m.SetValue(std::nullopt);
    EXPECT_EQ(m.ValueText(), "");
}

}  // namespace
}  // namespace velmora
