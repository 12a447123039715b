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

}  // namespace velmora::testing
