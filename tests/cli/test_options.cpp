#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <optional>
#include <string>
#include <vector>

#include "cli/options.h"
#include "scenario/fielderrors.h"
#include "scenario/numericfieldmodel.h"
#include "scenario/scenarioinputs.h"
#include "support/workedexample.h"

namespace velmora::cli {
namespace {

// Types the text into a field model of the input as the window's field does (entered by
// Tab, so the first key replaces the text), then leaves it.
struct Typed {
    bool refusedKey = false;
    std::optional<std::string> refusal;
    long double value = 0;
};

Typed TypeInWindowField(const ScenarioInput& input, const std::string& text) {
    NumericFieldModel field(input.Number(), input.mask, input.low, input.high, EntryFormat{});
    field.Enter(true);
    Typed typed;
    for (const char c : text) {
        if (field.Type(static_cast<unsigned char>(c)) == KeyOutcome::Refused)
            typed.refusedKey = true;
    }
    typed.refusal = field.Leave();
    typed.value = field.ValueAsExtended();
    return typed;
}

long double CliValue(const ScenarioInput& input, const CliOptions& options) {
    return input.kind == InputKind::Integer ? options.scenario.*input.integer
                                            : options.scenario.*input.real;
}

// What the command line makes of a text is what the window's field makes of it after
// leaving: the same value, or a refusal for the same reason.
TEST(InputOptions, ReadEveryValueAsTheFieldDoesAfterLeaving) {
    const std::vector<std::string> common = {"0",
                                             "1",
                                             "5",
                                             "12",
                                             "62",
                                             "2001",
                                             "0.125",
                                             "0.015",
                                             "1.03125",
                                             "1234.565",
                                             "2.50005",
                                             ".5",
                                             ".125",
                                             "12.",
                                             "007.25",
                                             "2.12345",
                                             "2.123449",
                                             "99.99999",
                                             "-0",
                                             "-1",
                                             "-2.5",
                                             ".",
                                             "-",
                                             "abc",
                                             "2,5",
                                             "1e2",
                                             " 2",
                                             "+2",
                                             "1.2.3",
                                             "000000000000000000001",
                                             "0.00000000000000000001"};
    // At and beyond each bound, and where the mask runs out of digit positions.
    const std::vector<std::string> edges = {
        "1999",      "2000",      "2030",      "2031", "2100",     "2101",      "39",
        "40",        "41",        "99",        "100",  "11",       "13",        "100.0000",
        "100.00004", "100.00005", "100.0001",  "101",  "99999.99", "99999.994", "99999.995",
        "99999.999", "100000",    "123456.78", "999",  "9999",     "10000"};
    for (const ScenarioInput& input : kScenarioInputs) {
        if (!input.IsNumeric())
            continue;
        std::vector<std::string> texts = common;
        texts.insert(texts.end(), edges.begin(), edges.end());
        for (const std::string& text : texts) {
            SCOPED_TRACE(std::string(input.option) + " " + text);
            const Typed typed = TypeInWindowField(input, text);
            CliOptions options;
            const std::string refusal =
                CliOptionTable().Parse({std::string(input.option), text}, options);
            if (typed.refusedKey) {
                EXPECT_NE(refusal.find("cannot be typed into the field"), std::string::npos)
                    << refusal;
            } else if (typed.refusal) {
                EXPECT_EQ(refusal,
                          std::string(input.option) + ": \"" + text + "\": " + *typed.refusal);
            } else {
                ASSERT_EQ(refusal, "");
                EXPECT_EQ(CliValue(input, options), typed.value);
            }
        }
    }
}

// The values the window shows for these texts: the typed text's extended value rounded
// exactly, ties to even.
TEST(InputOptions, RoundAsTheFieldShowsTheValue) {
    struct Case {
        const char* option;
        const char* text;
        long double value;
    };
    const Case cases[] = {
        {"--early-benefit", "1234.565", 123456.0L / 100},
        {"--early-benefit", "0.125", 12.0L / 100},
        {"--later-benefit", "0.135", 14.0L / 100},
        {"--early-benefit", "99999.99", 9999999.0L / 100},
        {"--cola", "2.50005", 25000.0L / 10000},
        {"--cola", "1.03125", 10312.0L / 10000},
        {"--rate", "2.12346", 21235.0L / 10000},
        {"--rate", ".5", 5000.0L / 10000},
        {"--rate", "100", 100},
        {"--years", "40", 40},
        {"--early-year", "2030", 2030},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.option) + " " + c.text);
        CliOptions options;
        ASSERT_EQ(CliOptionTable().Parse({c.option, c.text}, options), "");
        const ScenarioInput* input = nullptr;
        for (const auto& i : kScenarioInputs) {
            if (i.option == c.option)
                input = &i;
        }
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(CliValue(*input, options), c.value);
    }
}

// The worked example of every layer's tests, as options.
const std::vector<std::string> kExample = [] {
    std::vector<std::string> args = testing::WorkedExampleOptions();
    args.insert(args.end(), {"--years", "20"});
    return args;
}();

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
    EXPECT_EQ(options.scenario.Cola, 21.0L / 10);
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
        {{"--cola", "250"}, "--cola: \"250\": Value is not within required range (0 to 100)"},
        {{"--rate=abc"},
         "--rate: \"abc\": cannot be typed into the field (###.####%): the field refuses 'a'"},
        {{"--years", "41"}, "--years: \"41\": Value is not within required range (1 to 40)"},
        {{"--years", "0"}, "--years: \"0\": Value is not within required range (1 to 40)"},
        {{"--years", "007"}, ""},
        {{"--early-benefit", "100000"},
         "--early-benefit: \"100000\": cannot be typed into the field ($##,###.##): the "
         "field refuses '0'"},
        {{"--early-benefit", "123.456789"},
         "--early-benefit: \"123.456789\": cannot be typed into the field ($##,###.##): the "
         "field refuses '8'"},
        {{"--cola", ""}, "--cola: \"\": Value is not valid for this field type"},
        {{"--age", "-"}, "--age: \"-\": Value is not within required range (1 to 99)"},
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
        {{"--rate", "\x1b]0;owned\x07"},
         "--rate: \"\\x1b]0;owned\\x07\": cannot be typed into the field (###.####%): the field "
         "refuses '\\x1b'"},
        {{"--years", "4\n1"},
         "--years: \"4\\n1\": cannot be typed into the field (##): the field refuses '\\n'"},
        {{"--colour\x1b[2J"}, "unknown option --colour\\x1b[2J"},
        {{"x\ty\r"}, "unexpected argument \"x\\ty\\r\""},
        {{"--format",
          "\xc2\x9b"
          "31m\xe9"},
         "--format: \"\\u009b31m\\xe9\" is not one of text, tsv, csv"},
        {{"--format", "\xe2\x80\xaetxt"}, "--format: \"\\u202etxt\" is not one of text, tsv, csv"},
        {{"--cola", longValue},
         "--cola: \"" + std::string(60, '9') +
             "...\": cannot be typed into the field (###.####%): the field refuses '9'"},
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

TEST(OptionTable, HelpListsEveryOptionWithTheRangeOfItsField) {
    const OptionTable table = CliOptionTable();
    const std::string help = table.HelpText("velmora-cli");
    for (const auto& option : table.Options())
        EXPECT_NE(help.find(option.name), std::string::npos);
    for (const char* format : {"text", "tsv", "csv"}) {
        EXPECT_NE(help.find(format), std::string::npos);
    }
    const char* const lines[] = {
        "\n  --cola PERCENT          yearly cost-of-living adjustment in percent (0 to 100,\n",
        "\n  --years N               number of years to calculate (1 to 40)\n",
        "\n  --early-benefit AMOUNT  monthly benefit when starting early (0 to 99999.99, 2\n",
        "\n  --age AGE               age at the early start (1 to 99)\n",
    };
    for (const char* line : lines)
        EXPECT_NE(help.find(line), std::string::npos) << line << "\n" << help;
}

// Each input of the one table is an option, with the table's help and range.
TEST(OptionTable, HasAnOptionForEachInput) {
    const OptionTable table = CliOptionTable();
    for (const ScenarioInput& input : kScenarioInputs) {
        SCOPED_TRACE(std::string(input.option));
        const auto& options = table.Options();
        const auto found = std::find_if(options.begin(), options.end(),
                                        [&](const OptionDef& o) { return o.name == input.option; });
        ASSERT_NE(found, options.end());
        EXPECT_EQ(found->valueName, input.valueName);
        EXPECT_EQ(found->Help().rfind(std::string(input.help), 0), 0u);
        if (input.IsNumeric()) {
            EXPECT_NE(found->Help().find("(" + RangeText(input)), std::string::npos);
        }
    }
}

// The options take '.' whatever the locale, so their ranges are printed with '.' too.
TEST(OptionTable, RangesIgnoreTheLocale) {
    std::vector<std::string> plain;
    for (const ScenarioInput& input : kScenarioInputs)
        plain.push_back(input.IsNumeric() ? RangeText(input) : std::string());
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale";
    for (std::size_t i = 0; i < kInputCount; ++i) {
        if (kScenarioInputs[i].IsNumeric()) {
            EXPECT_EQ(RangeText(kScenarioInputs[i]), plain[i]);
        }
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace velmora::cli
