#include "planner/payments.h"

namespace velmora::planner {

const char* PaymentKindText(PaymentKind) {
    return "";
}

BenefitRules::BenefitRules(const HouseholdInputs& inputs) : inputs_(inputs) {}

const PersonInputs& BenefitRules::Person(Who who) const {
    return who == Who::Client ? inputs_.client : *inputs_.spouse;
}
const PersonMonths& BenefitRules::MonthsOf(Who who) const {
    return who == Who::Client ? client_ : spouse_;
}
std::int64_t BenefitRules::PiaCents(Who, Month) const {
    return 0;
}
Fraction BenefitRules::OwnFactor(Who, Month, Month) const {
    return {};
}
std::int64_t BenefitRules::OwnCents(Who, Month, Month) const {
    return 0;
}
Fraction BenefitRules::SpousalFactor(Who, Month) const {
    return {};
}
std::int64_t BenefitRules::SpousalCents(Who, Month, Month, Month) const {
    return 0;
}
Fraction BenefitRules::SurvivorFactor(Who, Month, Month, Month) const {
    return {};
}
std::int64_t BenefitRules::SurvivorCents(Who, Month, Month, Month, Month) const {
    return 0;
}
std::int64_t BenefitRules::PaidDollars(std::int64_t, Month) const {
    return 0;
}
Fraction SurvivorReductionFactor(int, int) {
    return {};
}
std::vector<PaymentRow> PaymentRows(const BenefitRules&, Month, std::optional<Month>,
                                    std::optional<Death>, std::optional<Month>, Month) {
    return {};
}

}  // namespace velmora::planner
