#include <gtest/gtest.h>

#include "support/qtprint.h"
#include "ui/errorbox.h"

namespace velmora {
namespace {

TEST(ErrorBoxText, FullStopOnlyAfterCharactersThatComeAfterAFullStop) {
    const struct {
        QString message;
        QString shown;
    } cases[] = {
        {"File not found", "File not found."},
        {"Invalid floating point operation", "Invalid floating point operation."},
        {"I/O error 5", "I/O error 5."},
        {"path/", "path/."},
        {"note:", "note:."},
        {QString::fromUtf8("Fehler \u00e9"), QString::fromUtf8("Fehler \u00e9.")},
        {"Cannot generate report.", "Cannot generate report."},
        {"Stop!", "Stop!"},
        {"(see above)", "(see above)"},
        {"a,", "a,"},
        {"a-", "a-"},
        {"trailing ", "trailing "},
        {"", ""},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.message.toStdString());
        EXPECT_EQ(ErrorBoxText(test.message), test.shown);
    }
}

}  // namespace
}  // namespace velmora
