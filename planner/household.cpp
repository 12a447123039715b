#include "planner/household.h"

namespace velmora::planner {

PersonMonths MonthsOf(const PersonInputs&, Month) {
    return {};
}

int SurvivorFullRetirementAgeMonths(int) {
    return 0;
}

void CheckHousehold(const HouseholdInputs&) {}

}  // namespace velmora::planner
