#include <gtest/gtest.h>

#include "report/textwrap.h"
#include "support/qtprint.h"

namespace velmora {
namespace {

// One unit per character keeps the expected lines easy to read.
double CharacterCount(const QString& s) {
    return static_cast<double>(s.size());
}

TEST(WrapAtSpaces, BreaksOnlyAtSpaces) {
    const struct {
        const char* text;
        double width;
        QStringList lines;
    } cases[] = {
        {"", 10, {}},
        {"Year", 10, {"Year"}},
        {"Year", 4, {"Year"}},
        {"No. of Months", 13, {"No. of Months"}},
        {"No. of Months", 12, {"No. of", "Months"}},
        {"Monthly Benefit at Early Retirement",
         10,
         {"Monthly", "Benefit at", "Early", "Retirement"}},
        // A word wider than the cell is not split; the cell cuts it off.
        {"PV Cumulative Benefits", 5, {"PV", "Cumulative", "Benefits"}},
        {"($2,272)", 3, {"($2,272)"}},
        {"-$1,235", 3, {"-$1,235"}},
        {"1.23456789012E12", 5, {"1.23456789012E12"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.text);
        EXPECT_EQ(WrapAtSpaces(QString::fromLatin1(test.text), test.width, CharacterCount),
                  test.lines);
    }
}

}  // namespace
}  // namespace velmora
