#include <gtest/gtest.h>

#include <variant>

#include "cli/fieldvalues.h"
#include "cli/options.h"

namespace velmora::cli {
namespace {

std::string Refusal(const FieldValue<long double>& v) {
    const auto* reason = std::get_if<std::string>(&v);
    return reason == nullptr ? "" : *reason;
}

TEST(ReadRealValue, RoundsToTheFieldsDecimalsWithinItsBounds) {
    struct Case {
        const char* text;
        const RealRule& rule;
        long double value;
    };
    const Case cases[] = {
        {"2.5", kPercentRule, 25000.0L / 10000},
        {"2.12346", kPercentRule, 21235.0L / 10000},
        {"2.12345", kPercentRule, 21235.0L / 10000},  // half away from zero
        {"2.12344999", kPercentRule, 21234.0L / 10000},
        {"100", kPercentRule, 100},
        {"100.00000", kPercentRule, 100},
        {"0", kPercentRule, 0},
        {"-0", kPercentRule, 0},
        {".5", kPercentRule, 0.5L},
        {"3.", kPercentRule, 3},
        {"007.25", kPercentRule, 72500.0L / 10000},
        {"1234.567", kBenefitRule, 123457.0L / 100},
        {"99999.99", kBenefitRule, 9999999.0L / 100},
        {"99999.985", kBenefitRule, 9999999.0L / 100},
        {"0.004", kBenefitRule, 0},
        {"1000", kBenefitRule, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto v = ReadRealValue(c.text, c.rule);
        ASSERT_EQ(Refusal(v), "");
        EXPECT_EQ(std::get<long double>(v), c.value);
    }
}

TEST(ReadRealValue, RefusesNonNumbersAndValuesOutsideTheBounds) {
    struct Case {
        const char* text;
        const RealRule& rule;
        const char* reason;
    };
    const char* notANumber = "is not a number";
    const char* percentRange = "is not within the range 0 to 100";
    const char* benefitRange = "is not within the range 0 to 99999.99";
    const Case cases[] = {
        {"", kPercentRule, notANumber},
        {".", kPercentRule, notANumber},
        {"-", kPercentRule, notANumber},
        {"2,5", kPercentRule, notANumber},
        {"1e2", kPercentRule, notANumber},
        {" 2", kPercentRule, notANumber},
        {"+2", kPercentRule, notANumber},
        {"1.2.3", kPercentRule, notANumber},
        {"100.0001", kPercentRule, percentRange},
        {"100.00001", kPercentRule, percentRange},
        {"250", kPercentRule, percentRange},
        {"-0.00001", kPercentRule, percentRange},
        {"-1", kPercentRule, percentRange},
        {"99999.991", kBenefitRule, benefitRange},
        {"100000", kBenefitRule, benefitRange},
        {"99999999999999999999999", kBenefitRule, benefitRange},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Refusal(ReadRealValue(c.text, c.rule)), c.reason);
    }
}

TEST(ReadIntegerValue, ChecksTheBounds) {
    struct Case {
        const char* text;
        const IntegerRule& rule;
        std::variant<std::int32_t, std::string> expected;
    };
    const Case cases[] = {
        {"2001", kYearRule, 2001},
        {"2030", kYearRule, 2030},
        {"02000", kYearRule, 2000},
        {"1999", kYearRule, std::string("is not within the range 2000 to 2030")},
        {"40", kYearsRule, 40},
        {"41", kYearsRule, std::string("is not within the range 1 to 40")},
        {"0", kYearsRule, std::string("is not within the range 1 to 40")},
        {"-5", kMonthRule, std::string("is not within the range 1 to 12")},
        {"99", kAgeRule, 99},
        {"12.0", kMonthRule, std::string("is not a whole number")},
        {"", kMonthRule, std::string("is not a whole number")},
        {"-", kMonthRule, std::string("is not a whole number")},
        {"99999999999999999999999", kAgeRule, std::string("is not within the range 1 to 99")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadIntegerValue(c.text, c.rule), c.expected);
    }
}

const std::vector<std::string> kExample = {
    "--early-year",    "2001", "--early-month", "1",    "--age",         "62",
    "--early-benefit", "1000", "--later-year",  "2004", "--later-month", "1",
    "--later-benefit", "1400", "--cola",        "2.5",  "--rate",        "3",
    "--years",         "20",
};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(OptionTable, ReadsTheCalculationValues) {
    CliOptions options;
    ASSERT_EQ(CliOptionTable().Parse(With(kExample, {"--format=csv"}), options), "");
    std::string error;
    const auto in = ResolveInputs(options, error);
    ASSERT_TRUE(in.has_value()) << error;
    EXPECT_EQ(in->EarlyYear, 2001);
    EXPECT_EQ(in->EarlyMonth, 1);
    EXPECT_EQ(in->Age, 62);
    EXPECT_EQ(in->EarlyBenefit, 1000);
    EXPECT_EQ(in->LaterYear, 2004);
    EXPECT_EQ(in->LaterMonth, 1);
    EXPECT_EQ(in->LaterBenefit, 1400);
    EXPECT_EQ(in->Cola, 2.5);
    EXPECT_EQ(in->Rate, 3);
    EXPECT_EQ(in->Years, 20);
    EXPECT_EQ(options.format, OutputFormat::Csv);
}

TEST(OptionTable, ColaGoesOverAsTheNearestDoubleOfItsExtendedValue) {
    std::vector<std::string> args = kExample;
    for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == "--cola" || args[i] == "--rate")
            args[i + 1] = "2.1";
    }
    CliOptions options;
    ASSERT_EQ(CliOptionTable().Parse(args, options), "");
    EXPECT_EQ(*options.values.cola, 21.0L / 10);
    std::string error;
    const auto in = ResolveInputs(options, error);
    ASSERT_TRUE(in.has_value()) << error;
    EXPECT_EQ(in->Cola, static_cast<double>(21.0L / 10));
    EXPECT_EQ(in->Rate, 21.0L / 10) << "the rate keeps its extended value";
}

TEST(OptionTable, RefusalsNameTheOption) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--cola", "250"}, "--cola: \"250\" is not within the range 0 to 100"},
        {{"--rate=abc"}, "--rate: \"abc\" is not a number"},
        {{"--years", "41"}, "--years: \"41\" is not within the range 1 to 40"},
        {{"--early-benefit", "100000"},
         "--early-benefit: \"100000\" is not within the range 0 to 99999.99"},
        {{"--years"}, "option --years needs a value (N)"},
        {{"--colour", "red"}, "unknown option --colour"},
        {{"--format", "html"}, "--format: \"html\" is not one of text, tsv, csv"},
        {{"--age", "62", "--age", "63"}, "option --age is given more than once"},
        {{"62"}, "unexpected argument \"62\""},
        {{"--"}, "unexpected argument \"--\""},
        {{"--help=yes"}, "option --help takes no value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        CliOptions options;
        EXPECT_EQ(CliOptionTable().Parse(c.args, options), c.message);
    }
}

// What the user typed comes back in a message with its control characters escaped, so
// nothing reaches the terminal as a command, and a long value is cut.
TEST(OptionTable, EchoedValuesAreEscapedAndCut) {
    const std::string longValue(131000, '9');
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--rate", "\x1b]0;owned\x07"}, "--rate: \"\\x1b]0;owned\\x07\" is not a number"},
        {{"--years", "4\n1"}, "--years: \"4\\n1\" is not a whole number"},
        {{"--colour\x1b[2J"}, "unknown option --colour\\x1b[2J"},
        {{"x\ty\r"}, "unexpected argument \"x\\ty\\r\""},
        {{"--format",
          "\xc2\x9b"
          "31m\xe9"},
         "--format: \"\\u009b31m\\xe9\" is not one of text, tsv, csv"},
        {{"--format", "\xe2\x80\xaetxt"}, "--format: \"\\u202etxt\" is not one of text, tsv, csv"},
        {{"--cola", longValue},
         "--cola: \"" + std::string(60, '9') + "...\" is not within the range 0 to 100"},
        {{"--client", "Zo\xc3\xab"}, ""},  // printable characters stay as they are
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        CliOptions options;
        EXPECT_EQ(CliOptionTable().Parse(c.args, options), c.message);
    }
}

TEST(OptionTable, EveryCalculationValueIsRequired) {
    for (std::size_t i = 0; i < kExample.size(); i += 2) {
        SCOPED_TRACE(kExample[i]);
        std::vector<std::string> args = kExample;
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        CliOptions options;
        ASSERT_EQ(CliOptionTable().Parse(args, options), "");
        std::string error;
        EXPECT_FALSE(ResolveInputs(options, error).has_value());
        EXPECT_EQ(error, "missing option " + kExample[i]);
    }
}

TEST(OptionTable, HelpListsEveryOption) {
    const OptionTable table = CliOptionTable();
    const std::string help = table.HelpText("velmora-cli");
    for (const auto& option : table.Options())
        EXPECT_NE(help.find(option.name), std::string::npos);
    for (const char* format : {"text", "tsv", "csv"}) {
        EXPECT_NE(help.find(format), std::string::npos);
    }
}

}  // namespace
}  // namespace velmora::cli
