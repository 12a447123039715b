#include <gtest/gtest.h>

#include <string>

#include "planner/earnings.h"

namespace velmora::planner {
namespace {

EarningsRecord Record(std::initializer_list<EarningsYear> years) {
    return EarningsRecord{std::vector<EarningsYear>(years)};
}

// The earnings table as an SSA statement prints it, copied from the page: headings, a
// note, amounts with '$' and group marks, the Medicare column, the year not yet recorded.
const char* const kStatementPaste =
    "Your Earnings Record\n"
    "Work Year\tEarnings Taxed for Social Security\tEarnings Taxed for Medicare\n"
    "1986\t$1,250\t$1,250\n"
    "1987\t$0\t$0\n"
    "2022\t$147,000\t$151,322\n"
    "2023    $61,250    $61,250\n"
    "2024 $ 64,000 $ 64,000\n"
    "2025\tNot yet recorded\n"
    "Did you know... Your earnings are recorded by the year.\n";

const char* const kSameAsCsv =
    "year,earnings\n"
    "1986,1250\n"
    "1987,0\n"
    "2022,\"$147,000.00\"\n"
    "2023,\"61,250\"\n"
    "2024,$64000\n";

TEST(EarningsRecord, StatementPasteReadsToTheSameRecordAsTheCsvForm) {
    const EarningsRecord expected =
        Record({{1986, 125000}, {1987, 0}, {2022, 14700000}, {2023, 6125000}, {2024, 6400000}});
    EXPECT_EQ(ReadEarningsRecord(kStatementPaste), expected);
    EXPECT_EQ(ReadEarningsRecord(kSameAsCsv), expected);
    // The record written back as CSV reads to itself.
    EXPECT_EQ(ReadEarningsRecord(EarningsRecordCsv(expected)), expected);
}

TEST(EarningsRecord, AmountsInEachWrittenForm) {
    struct Case {
        const char* text;
        std::int64_t cents;
    };
    const Case cases[] = {
        {"2020,52345", 5234500},
        {"2020,52345.5", 5234550},
        {"2020,52345.67", 5234567},
        {"2020,$52345.67", 5234567},
        {"2020,52,345.67", 5234567},  // unquoted group marks
        {"2020,\"$1,052,345\"", 105234500},
        {"2020 , 52345 ", 5234500},
        {"\xEF\xBB\xBFyear,earnings\r\n2020,52345\r\n", 5234500},  // a spreadsheet's CSV
        {"2020 52345", 5234500},
        {"2020 $52,345.67 $60,000", 5234567},
        {"2020 -0", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const EarningsRecord record = ReadEarningsRecord(c.text);
        ASSERT_EQ(record.years.size(), 1u);
        EXPECT_EQ(record.years[0].year, 2020);
        EXPECT_EQ(record.years[0].cents, c.cents);
    }
}

TEST(EarningsRecord, RefusedLinesAreNamed) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"year,earnings\n2019,100\n2020,1\n2019,5",
         "line 4: the year 2019 is given twice (also on line 2)"},
        {"2019,-100", "line 1: a negative amount is refused"},
        {"2019,(100)", "line 1: a negative amount is refused"},
        {"2019 $-100 $-100", "line 1: a negative amount is refused"},
        {"2019 -2000", "line 1: a negative amount is refused"},
        {"1936,100", "line 1: 1936 is before 1937, the first year of Social Security earnings"},
        {"2101,100", "line 1: years after 2100"},
        {"2019,12,34", "line 1: \"12,34\" is not an amount of money"},
        {"2019,1.234", "line 1: \"1.234\" is not an amount of money"},
        {"2019,", "line 1: \"\" is not an amount of money"},
        {"2019,abc", "line 1: \"abc\" is not an amount of money"},
        {"2019,1000000000", "line 1: the amount is larger than $999,999,999.99"},
        {"2019,\"1\",2", "line 1: expected two fields"},
        {"year,earnings\n2019,100\nnot a year,5", "line 3: expected a year and the earnings"},
        {"19,100", "line 1: expected a year and the earnings"},
        {"1981-1990 $45,000 $45,000", "line 1: a range of years cannot be used"},
        {"2019 $1 $2 $3",
         "line 1: expected the year, the Social Security earnings and the "
         "Medicare earnings"},
        {"2019 $1 two", "line 1: \"two\" is not an amount of money"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ReadEarningsRecord(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const EarningsError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(EarningsRecord, EmptyTextIsAnEmptyRecord) {
    EXPECT_TRUE(ReadEarningsRecord("").years.empty());
    EXPECT_TRUE(ReadEarningsRecord("year,earnings\n\n# none yet\n").years.empty());
}

}  // namespace
}  // namespace velmora::planner
