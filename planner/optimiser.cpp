#include "planner/optimiser.h"

namespace velmora::planner {

long double CoupleSearch::Value(Month client, Month spouse) const {
    return values[static_cast<std::size_t>((client.index - clientFirst.index) * spouseCount +
                                           (spouse.index - spouseFirst.index))];
}

HouseholdModel::HouseholdModel(const HouseholdInputs& inputs, const LifeTable&,
                               const CohortLifeTables&)
    : rules_(inputs) {}

long double HouseholdModel::Alive(Who, int) const {
    return 0;
}
Month HouseholdModel::FirstChoice(Who) const {
    return {};
}
Month HouseholdModel::LastChoice(Who) const {
    return {};
}
long double HouseholdModel::SingleValue(Month) const {
    return 0;
}
long double HouseholdModel::CoupleValue(Month, Month) const {
    return 0;
}
Month HouseholdModel::SurvivorStart(Who, Month death, Month, Month) const {
    return death;
}
std::vector<PaymentRow> HouseholdModel::Payments(Month, std::optional<Month>,
                                                 std::optional<Death>) const {
    return {};
}
SingleSearch HouseholdModel::SearchSingle() const {
    return {};
}
CoupleSearch HouseholdModel::SearchCouple() const {
    return {};
}

}  // namespace velmora::planner
