// Short ways to write the planner's inputs in the tests of payments, mortality and the
// optimiser.
#pragma once

#include <cstdint>

#include "planner/household.h"

namespace velmora::planner::test {

inline PersonInputs Person(Date born, std::int64_t piaCents, Sex sex = Sex::Female) {
    PersonInputs p;
    p.born = born;
    p.sex = sex;
    p.piaCents = piaCents;
    return p;
}

inline Month M(int year, int month) {
    return Month::Of(year, month);
}

}  // namespace velmora::planner::test
