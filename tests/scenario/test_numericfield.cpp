// The numeric field model: calculator-style typing, the rules on leaving, getters and setters.
#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>

#include "scenario/fielderrors.h"
#include "scenario/numericfieldmodel.h"
#include "scenario/scenarioinputs.h"

namespace velmora {
namespace {

using R = TScenarioRec;
const ScenarioInput& kColaField = InputOf(&R::Cola);
const ScenarioInput& kRateField = InputOf(&R::Rate);
const ScenarioInput& kYearsField = InputOf(&R::Years);
const ScenarioInput& kEarlyMonthField = InputOf(&R::EarlyMonth);
const ScenarioInput& kEarlyYearField = InputOf(&R::EarlyYear);
const ScenarioInput& kEarlyBenefitField = InputOf(&R::EarlyBenefit);
const ScenarioInput& kLaterMonthField = InputOf(&R::LaterMonth);
const ScenarioInput& kLaterYearField = InputOf(&R::LaterYear);
const ScenarioInput& kLaterBenefitField = InputOf(&R::LaterBenefit);
const ScenarioInput& kAgeField = InputOf(&R::Age);

EntryFormat Us() {
    return EntryFormat::FromMoneyFormat(TMoneyFormat::UnitedStates());
}

EntryFormat Euro() {
    TMoneyFormat f;
    f.CurrencySymbol = "\u20ac";
    f.DecimalMark = ",";
    f.GroupMark = ".";
    return EntryFormat::FromMoneyFormat(f);
}

NumericFieldModel Make(const ScenarioInput& d, EntryFormat format = Us()) {
    return NumericFieldModel(d.Number(), d.mask, d.low, d.high, format);
}

void Set(NumericFieldModel& field, long double value) {
    if (field.Kind() == NumberKind::Integer) {
        field.SetValueInteger(static_cast<std::int32_t>(value));
    } else {
        field.SetValueExtended(value);
    }
}

std::string Drawn(const NumericFieldModel& field) {
    return Utf8FromFieldText(field.DrawnText());
}

// Keys: characters are typed; '<' is Backspace, '^' selects all, '~' restores.
int Press(NumericFieldModel& field, const std::string& keys) {
    int beeps = 0;
    const FieldText text = FieldTextFromUtf8(keys);
    for (char32_t key : text) {
        if (key == U'<') {
            field.DeleteBackward();
        } else if (key == U'^') {
            field.SelectAll();
        } else if (key == U'~') {
            field.Restore();
        } else if (field.Type(key) == KeyOutcome::Refused) {
            ++beeps;
        }
    }
    return beeps;
}

enum class Entry { Tab, Click };

struct TypingCase {
    const char* name;
    const ScenarioInput& field;
    long double start;
    Entry entry;
    const char* keys;
    const char* typing;  // drawn while typing
    int beeps;
    const char* left;     // drawn after leaving
    const char* refusal;  // nullptr: the number stands
    long double value;    // the getter after leaving
};

void RunTyping(const TypingCase& c, EntryFormat format) {
    SCOPED_TRACE(c.name);
    NumericFieldModel field = Make(c.field, format);
    Set(field, c.start);
    field.Enter(c.entry == Entry::Tab);
    EXPECT_EQ(Press(field, c.keys), c.beeps);
    EXPECT_EQ(Drawn(field), c.typing);
    const auto refusal = field.Leave();
    EXPECT_EQ(refusal.value_or("accepted"), c.refusal ? c.refusal : "accepted");
    EXPECT_EQ(Drawn(field), c.left);
    EXPECT_EQ(field.ValueAsExtended(), c.value);
}

// A range refusal names the numbers the field takes.
constexpr const char* kColaRange = "Value is not within required range (0 to 100)";
constexpr const char* kYearsRange = "Value is not within required range (1 to 40)";
constexpr const char* kYearRange = "Value is not within required range (2000 to 2100)";
constexpr const char* kBenefitRange = "Value is not within required range (0 to 99999.99)";
const auto& kCola = kColaField;
const auto& kYears = kYearsField;
const auto& kYear = kEarlyYearField;
const auto& kBenefit = kEarlyBenefitField;

TEST(NumericTyping, Percent) {
    const TypingCase cases[] = {
        {"2 . 5 grows from the right", kCola, 0, Entry::Tab, "2.5", "2.5%", 0, "2.5000%", nullptr,
         2.5L},
        {"fifth decimal rounded on leaving", kCola, 0, Entry::Tab, "2.12346", "2.12346%", 0,
         "2.1235%", nullptr, 2.1235L},
        {"decimals up to the capacity", kCola, 0, Entry::Tab, "2.1234567", "2.123456%", 1,
         "2.1235%", nullptr, 2.1235L},
        {"no point typed", kCola, 0, Entry::Tab, "12", "12%", 0, "12.0000%", nullptr, 12},
        {"fourth integer digit refused", kCola, 0, Entry::Tab, "1234", "123%", 1, "123%",
         kColaRange, 0},
        {"100 accepted", kCola, 0, Entry::Tab, "100", "100%", 0, "100.0000%", nullptr, 100},
        {"100.0001 refused", kCola, 0, Entry::Tab, "100.0001", "100.0001%", 0, "100.0001%",
         kColaRange, 0},
        {"second point refused", kCola, 0, Entry::Tab, "2..5", "2.5%", 1, "2.5000%", nullptr, 2.5L},
        {"minus before a nonzero number", kCola, 0, Entry::Tab, "-5", "-5%", 0, "-5%", kColaRange,
         0},
        {"minus typed after the digits", kCola, 0, Entry::Tab, "5-", "-5%", 0, "-5%", kColaRange,
         0},
        {"minus twice turns it off", kCola, 0, Entry::Tab, "-5-", "5%", 0, "5.0000%", nullptr, 5},
        {"minus with no room left", kCola, 0, Entry::Tab, "123-", "123%", 1, "123%", kColaRange, 0},
        {"minus counts as a digit", kCola, 0, Entry::Tab, "-123", "-12%", 1, "-12%", kColaRange, 0},
        {"minus zero is zero", kCola, 0, Entry::Tab, "-0", "-0%", 0, "0.0000%", nullptr, 0},
        {"leading point", kCola, 0, Entry::Tab, ".5", "0.5%", 0, "0.5000%", nullptr, 0.5L},
        {"lone point", kCola, 0, Entry::Tab, ".", "0.%", 0, "0.0000%", nullptr, 0},
        {"leading point up to the capacity", kCola, 0, Entry::Tab, ".3554091", ".3554091%", 0,
         "0.3554%", nullptr, 0.3554L},
        {"signed leading point up to the capacity", kCola, 0, Entry::Tab, "-.3554091", "-.355409%",
         1, "-.355409%", kColaRange, 0},
        {"zeros after the point", kCola, 0, Entry::Tab, "0.05", "0.05%", 0, "0.0500%", nullptr,
         0.05L},
        {"backspace takes the last character", kCola, 0, Entry::Tab, "2.5<", "2.%", 0, "2.0000%",
         nullptr, 2},
        {"backspace to nothing shows 0", kCola, 0, Entry::Tab, "25<<", "0%", 0, "0.0000%", nullptr,
         0},
        {"backspace keeps the sign", kCola, 0, Entry::Tab, "-5<", "-0%", 0, "0.0000%", nullptr, 0},
        {"backspace on nothing turns the sign off", kCola, 0, Entry::Tab, "-5<<3", "3%", 0,
         "3.0000%", nullptr, 3},
        {"typing over the selection", kCola, 2.5L, Entry::Tab, "7", "7%", 0, "7.0000%", nullptr, 7},
        {"click goes on from the shown text", kCola, 2.5L, Entry::Click, "1", "2.50001%", 0,
         "2.5000%", nullptr, 2.5L},
        {"click then backspace", kCola, 2.5L, Entry::Click, "<<<", "2.5%", 0, "2.5000%", nullptr,
         2.5L},
        {"blank and letters refused", kCola, 0, Entry::Tab, " a3", "3%", 2, "3.0000%", nullptr, 3},
        {"comma refused with a point decimal mark", kCola, 0, Entry::Tab, "2,5", "25%", 1,
         "25.0000%", nullptr, 25},
        {"refused key keeps the selection", kCola, 2.5L, Entry::Tab, "x7", "7%", 1, "7.0000%",
         nullptr, 7},
        {"restore", kCola, 2.5L, Entry::Tab, "7~", "2.5000%", 0, "2.5000%", nullptr, 2.5L},
        {"restore then type starts anew", kCola, 2.5L, Entry::Tab, "7~9", "9%", 0, "9.0000%",
         nullptr, 9},
    };
    for (const auto& c : cases)
        RunTyping(c, Us());
}

TEST(NumericTyping, Integers) {
    const TypingCase cases[] = {
        {"leading zero ignored", kYears, 1, Entry::Tab, "05", "5", 0, "5", nullptr, 5},
        {"41 years refused", kYears, 1, Entry::Tab, "41", "41", 0, "41", kYearsRange, 0},
        {"third digit refused", kYears, 1, Entry::Tab, "123", "12", 1, "12", nullptr, 12},
        {"point refused", kYears, 1, Entry::Tab, ".", "1", 1, "1", nullptr, 1},
        {"minus then two digits", kYears, 1, Entry::Tab, "-55", "-5", 1, "-5", kYearsRange, 0},
        {"all deleted is 0, refused", kYears, 1, Entry::Tab, "<", "0", 0, "0", kYearsRange, 0},
        {"zero after New goes on from nothing", kYears, 0, Entry::Click, "5", "5", 0, "5", nullptr,
         5},
        {"year by Tab, backspace clears", kYear, 2001, Entry::Tab, "<", "0", 0, "0", kYearRange, 0},
        {"year by click, backspace takes one digit", kYear, 2001, Entry::Click, "<", "200", 0,
         "200", kYearRange, 0},
        {"year by click, backspace to nothing", kYear, 2001, Entry::Click, "<<<<<", "0", 0, "0",
         kYearRange, 0},
        {"year typed", kYear, 2001, Entry::Tab, "2030", "2030", 0, "2030", nullptr, 2030},
        {"fifth year digit refused", kYear, 2001, Entry::Tab, "20045", "2004", 1, "2004", nullptr,
         2004},
    };
    for (const auto& c : cases)
        RunTyping(c, Us());
}

TEST(NumericTyping, Money) {
    const TypingCase cases[] = {
        {"sixth integer digit refused", kBenefit, 0, Entry::Tab, "123456", "$12,345", 1,
         "$12,345.00", nullptr, 12345},
        {"cents", kBenefit, 0, Entry::Tab, "12345.67", "$12,345.67", 0, "$12,345.67", nullptr,
         12345.67L},
        {"beyond the capacity", kBenefit, 0, Entry::Tab, "12345.678", "$12,345.67", 1, "$12,345.67",
         nullptr, 12345.67L},
        {"third decimal pushes left", kBenefit, 0, Entry::Tab, "1234.567", "$1,234.567", 0,
         "$1,234.57", nullptr, 1234.57L},
        {"negative", kBenefit, 0, Entry::Tab, "-1234", "-$1,234", 0, "-$1,234", kBenefitRange, 0},
        {"sign takes a digit's room", kBenefit, 0, Entry::Tab, "-12345", "-$1,234", 1, "-$1,234",
         kBenefitRange, 0},
        {"comma refused", kBenefit, 0, Entry::Tab, "1,2", "$12", 1, "$12.00", nullptr, 12},
        {"all deleted reads 0, accepted", kBenefit, 12, Entry::Tab, "<", "$0", 0, "$0.00", nullptr,
         0},
        {"click on $0.00 goes on after the cents", kBenefit, 0, Entry::Click, "7", "$0.007", 0,
         "$0.01", nullptr, 0.01L},
    };
    for (const auto& c : cases)
        RunTyping(c, Us());
}

TEST(NumericTyping, EuroSettings) {
    const TypingCase cases[] = {
        {"comma is the decimal point", kBenefit, 0, Entry::Tab, "1234,5", "\u20ac1.234,5", 0,
         "\u20ac1.234,50", nullptr, 1234.5L},
        {"point refused", kBenefit, 0, Entry::Tab, "12.5", "\u20ac125", 1, "\u20ac125,00", nullptr,
         125},
        {"percent", kCola, 0, Entry::Tab, "2,5", "2,5%", 0, "2,5000%", nullptr, 2.5L},
    };
    for (const auto& c : cases)
        RunTyping(c, Euro());
}

TEST(NumericField, WindowStartValues) {
    struct Case {
        const ScenarioInput& field;
        const char* shown;
    };
    const Case cases[] = {
        {kColaField, "0.0000%"}, {kRateField, "0.0000%"},   {kYearsField, "1"},
        {kEarlyMonthField, "1"}, {kEarlyYearField, "2000"}, {kEarlyBenefitField, "$0.00"},
        {kLaterMonthField, "1"}, {kLaterYearField, "2000"}, {kLaterBenefitField, "$0.00"},
        {kAgeField, "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field.widget));
        NumericFieldModel field = Make(c.field);
        EXPECT_EQ(Drawn(field), c.shown);
        EXPECT_EQ(field.Check(), std::nullopt);
    }
}

TEST(NumericField, SettersShowWhatTheMaskHolds) {
    struct Case {
        const char* name;
        const ScenarioInput& field;
        long double set;
        const char* shown;
        long double read;  // the getter: 0 for a value the rules refuse
        const char* refusal;
    };
    const Case cases[] = {
        {"rounded to four decimals", kColaField, 1.23456L, "1.2346%", 1.2346L, nullptr},
        {"low 16 bits of 70000", kEarlyYearField, 70000, "4464", 0, kYearRange},
        {"low 16 bits, negative", kEarlyYearField, 65535, "-1", 0, kYearRange},
        {"years 0 after New", kYearsField, 0, "0", 0, kYearsRange},
        {"a 1999 year from a file", kEarlyYearField, 1999, "1999", 0, kYearRange},
        {"99 years", kYearsField, 99, "99", 0, kYearsRange},
        {"benefit", kEarlyBenefitField, 1234.56L, "$1,234.56", 1234.56L, nullptr},
        {"benefit of a million", kEarlyBenefitField, 1e6L, "$1,000,000.00", 1e6L, nullptr},
        {"negative benefit", kEarlyBenefitField, -1, "-$1.00", 0, kBenefitRange},
        {"infinite benefit", kEarlyBenefitField, std::numeric_limits<long double>::infinity(),
         "$**,***.**", 0, kNotValidMessage},
        {"NaN rate", kRateField, std::numeric_limits<long double>::quiet_NaN(), "***.****%", 0,
         kNotValidMessage},
        {"huge rate", kRateField, 1e4000L, "***.****%", 0, kNotValidMessage},
        {"rate of a thousand", kRateField, 1000, "1000.0000%", 0, kNotValidMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NumericFieldModel field = Make(c.field);
        Set(field, c.set);
        EXPECT_EQ(Drawn(field), c.shown);
        EXPECT_EQ(field.ValueAsExtended(), c.read);
        EXPECT_EQ(Drawn(field), c.shown) << "a getter changes nothing without the focus";
        field.Enter(true);
        EXPECT_EQ(field.Leave().value_or("accepted"), c.refusal ? c.refusal : "accepted");
        EXPECT_EQ(Drawn(field), c.shown);
    }
}

TEST(NumericField, WrongKindThrowsAndChangesNothing) {
    NumericFieldModel real = Make(kColaField);
    NumericFieldModel integer = Make(kYearsField);
    real.SetValueExtended(2.5L);
    integer.SetValueInteger(7);
    const auto expectWrongKind = [](auto&& call) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const InvalidFieldType& e) {
            EXPECT_STREQ(e.what(), "Invalid data type for this field");
        }
    };
    expectWrongKind([&] { real.ValueAsInteger(); });
    expectWrongKind([&] { real.SetValueInteger(3); });
    expectWrongKind([&] { integer.SetValueExtended(3); });
    EXPECT_EQ(Drawn(real), "2.5000%");
    EXPECT_EQ(Drawn(integer), "7");
    EXPECT_EQ(integer.ValueAsExtended(), 7) << "an integer field reads as a real too";
    EXPECT_EQ(integer.ValueAsInteger(), 7);
}

TEST(NumericField, GetterWithTheFocus) {
    NumericFieldModel cola = Make(kColaField);
    cola.Enter(true);
    Press(cola, "2.12346");
    EXPECT_EQ(cola.ValueAsExtended(), 2.1235L) << "reads the full format it shows again";
    EXPECT_EQ(Drawn(cola), "2.1235%");
    EXPECT_EQ(cola.ValueAsDouble(), 2.1235);
    Press(cola, "<");
    EXPECT_EQ(Drawn(cola), "2.123%") << "typing goes on from the text shown";

    NumericFieldModel years = Make(kYearsField);
    years.Enter(true);
    Press(years, "41");
    EXPECT_EQ(years.ValueAsInteger(), 0);
    EXPECT_EQ(Drawn(years), "41") << "a refused text stays as typed";
    EXPECT_TRUE(years.Entered());
}

TEST(NumericField, SetterWhileEnteredReplacesTheTyping) {
    NumericFieldModel cola = Make(kColaField);
    cola.SetValueExtended(2.5L);
    cola.Enter(false);
    Press(cola, "1");
    cola.SetValueExtended(0);  // New while the user is in the field
    EXPECT_EQ(Drawn(cola), "0.0000%");
    EXPECT_TRUE(cola.HasSelection());
    Press(cola, "3");
    EXPECT_EQ(Drawn(cola), "3%");
    cola.Restore();
    EXPECT_EQ(Drawn(cola), "2.5000%") << "restore gives the text the field had on entry";
}

TEST(NumericField, ModifiedFlagAndRestore) {
    NumericFieldModel years = Make(kYearsField);
    years.SetValueInteger(12);
    years.Enter(true);
    EXPECT_FALSE(years.Modified());
    Press(years, "x");
    EXPECT_FALSE(years.Modified()) << "a refused key changes nothing";
    Press(years, "4");
    EXPECT_TRUE(years.Modified());
    years.Restore();
    EXPECT_FALSE(years.Modified());
    EXPECT_TRUE(years.HasSelection());
    EXPECT_EQ(Drawn(years), "12");
}

// The range a refusal names is the field's own, in the field's decimal mark.
TEST(NumericField, RangeRefusalNamesTheFieldsRange) {
    const struct {
        const ScenarioInput& field;
        EntryFormat format;
        long double set;
        const char* refusal;
    } cases[] = {
        {kColaField, Us(), 100.5L, "Value is not within required range (0 to 100)"},
        {kRateField, Euro(), -1, "Value is not within required range (0 to 100)"},
        {kAgeField, Us(), 0, "Value is not within required range (1 to 99)"},
        {kEarlyMonthField, Us(), 13, "Value is not within required range (1 to 12)"},
        {kLaterYearField, Us(), 1999, "Value is not within required range (2000 to 2100)"},
        {kLaterBenefitField, Euro(), -5, "Value is not within required range (0 to 99999,99)"},
    };
    for (const auto& c : cases) {
        NumericFieldModel field = Make(c.field, c.format);
        Set(field, c.set);
        EXPECT_EQ(field.Check().value_or("accepted"), c.refusal) << c.field.option;
    }
}

TEST(NumericField, ReturnAfterRefusalKeepsTheRememberedText) {
    NumericFieldModel years = Make(kYearsField);
    years.Enter(true);
    Press(years, "41");
    EXPECT_EQ(years.Leave(), std::string(kYearsRange));
    years.Return();
    EXPECT_TRUE(years.HasSelection());
    EXPECT_EQ(Drawn(years), "41");
    years.Restore();
    EXPECT_EQ(Drawn(years), "1");
}

TEST(NumericField, ClipboardCommands) {
    NumericFieldModel benefit = Make(kEarlyBenefitField);
    benefit.SetValueExtended(1234.5L);
    benefit.Enter(false);
    EXPECT_EQ(benefit.Copy(), U"") << "nothing selected";
    benefit.SelectAll();
    EXPECT_EQ(benefit.Copy(), U"$1,234.50");
    EXPECT_EQ(benefit.Cut(), U"$1,234.50");
    EXPECT_EQ(Drawn(benefit), "$0");
    EXPECT_FALSE(benefit.HasSelection());

    benefit.Paste(U"$98,765.4x3");  // through the typing rules, refusals silent
    EXPECT_EQ(Drawn(benefit), "$98,765.43");
    benefit.SelectAll();
    benefit.Paste(U"12");
    EXPECT_EQ(Drawn(benefit), "$12") << "pasting over the selection starts a new number";
    benefit.Paste(U"34567");
    EXPECT_EQ(Drawn(benefit), "$12,345") << "the capacity still holds";
    benefit.SelectAll();
    benefit.DeleteSelection();
    EXPECT_EQ(Drawn(benefit), "$0");
}

TEST(NumericField, CaretStandsAfterTheLastDigit) {
    NumericFieldModel cola = Make(kColaField);
    cola.Enter(true);
    Press(cola, "2.5");
    EXPECT_EQ(cola.CaretPosition(), 3u);  // "2.5|%"
    NumericFieldModel years = Make(kYearsField);
    years.Enter(true);
    EXPECT_EQ(years.CaretPosition(), 1u);
}

// A hand-made value wider than the mask survives entering and leaving the field, and the
// buffer takes no more digits than the mask's capacity.
TEST(NumericField, WideValueSurvivesEditing) {
    NumericFieldModel benefit = Make(kEarlyBenefitField);
    benefit.SetValueExtended(150000);
    benefit.Enter(false);
    EXPECT_EQ(Press(benefit, "5"), 1);
    EXPECT_EQ(benefit.Leave(), std::nullopt);
    EXPECT_EQ(benefit.ValueAsExtended(), 150000);
    benefit.Enter(false);
    Press(benefit, "<<<");
    EXPECT_EQ(Drawn(benefit), "$150,000");
    benefit.SetValueExtended(std::numeric_limits<long double>::infinity());
    benefit.Enter(false);
    Press(benefit, "<");
    EXPECT_EQ(Drawn(benefit), "$**,***.**") << "nothing to take away from an unreadable text";
    Press(benefit, "7");
    EXPECT_EQ(Drawn(benefit), "$7");
}

// Whatever is typed, the text reads back as a number and keeps the mask's length, and
// leaving either refuses with one of the two messages or shows the value in full.
TEST(NumericTyping, RandomKeysAlwaysShowANumber) {
    const ScenarioInput* fields[] = {&kColaField, &kYearsField, &kEarlyYearField,
                                     &kEarlyBenefitField};
    const std::u32string keys = U"0123456789.-,< ^~a";
    std::mt19937 random(20240611);
    for (int round = 0; round < 2000; ++round) {
        const auto& d = *fields[random() % 4];
        const EntryFormat format = random() % 2 ? Us() : Euro();
        NumericFieldModel field = Make(d, format);
        field.Enter(random() % 2 == 0);
        std::string typed;
        for (int k = 0; k < 12; ++k) {
            const char32_t key = keys[random() % keys.size()];
            typed += Utf8FromFieldText(FieldText(1, key));
            Press(field, Utf8FromFieldText(FieldText(1, key)));
        }
        SCOPED_TRACE(std::string(d.widget) + " keys [" + typed + "] shown [" + Drawn(field) + "]");
        ASSERT_EQ(field.ShownText().size(), field.Mask().Length());
        ASSERT_TRUE(field.Read().isNumber);
        const long double value = field.Read().value;
        const auto refusal = field.Leave();
        if (refusal) {
            EXPECT_EQ(refusal->rfind(kOutOfRangeMessage, 0), 0u) << *refusal;
        } else {
            EXPECT_EQ(field.ShownText(),
                      d.kind == InputKind::Real
                          ? field.Mask().ShowReal(value)
                          : field.Mask().ShowInteger(static_cast<std::int64_t>(value)));
        }
    }
}

}  // namespace
}  // namespace velmora
