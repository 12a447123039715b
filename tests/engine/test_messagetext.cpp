#include <gtest/gtest.h>

#include "engine/messagetext.h"

namespace velmora {
namespace {

TEST(WithFullStop, AddsAStopAfterCharactersBeyondTheStop) {
    struct Case {
        const char* message;
        const char* shown;
    };
    const Case cases[] = {
        {"Invalid floating point operation", "Invalid floating point operation."},
        {"Cannot generate report.", "Cannot generate report."},
        {"", ""},
        {"I/O error 5", "I/O error 5."},
        {"Stop!", "Stop!"},
        {"(see above)", "(see above)"},
        {"a-", "a-"},
        {"path/", "path/."},
        {"caf\xc3\xa9", "caf\xc3\xa9."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WithFullStop(c.message), c.shown) << c.message;
}

}  // namespace
}  // namespace velmora
