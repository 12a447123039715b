#pragma once

#include <cstdint>

#include "planner/companionfile.h"

namespace velmora::testing {

/// One client's planner inputs, as a file of the first version holds them.
inline planner::PlannerInputs SingleClient(planner::Date born, planner::Sex sex, std::int64_t cents,
                                           planner::Date asOf) {
    planner::PlannerInputs in;
    in.client.born = born;
    in.client.sex = sex;
    in.client.piaCents = cents;
    in.asOf = asOf;
    return in;
}

/// A person born then, with a PIA in whole cents.
inline planner::PersonInputs Person(planner::Date born, std::int64_t piaCents,
                                    planner::Sex sex = planner::Sex::Female) {
    planner::PersonInputs p;
    p.born = born;
    p.sex = sex;
    p.piaCents = piaCents;
    return p;
}

inline planner::Month M(int year, int month) {
    return planner::Month::Of(year, month);
}

}  // namespace velmora::testing
