#include "planner/mortality.h"

namespace velmora::planner {

CohortLifeTables CohortLifeTables::FromCsv(const std::string&, std::string edition) {
    CohortLifeTables tables;
    tables.edition_ = std::move(edition);
    return tables;
}

const CohortLifeTables& CohortLifeTables::Shipped() {
    static const CohortLifeTables tables = FromCsv("", "");
    return tables;
}

long double CohortLifeTables::Q(Sex, int, int) const {
    return 0;
}

std::vector<long double> SurvivorsOf(const PersonInputs&, MortalityKind, const LifeTable&,
                                     const CohortLifeTables&) {
    return {};
}

std::vector<long double> MonthlySurvival(const PersonInputs&, Month, MortalityKind,
                                         const LifeTable&, const CohortLifeTables&) {
    return {};
}

std::string MortalityEdition(MortalityKind, const LifeTable&, const CohortLifeTables&) {
    return {};
}

}  // namespace velmora::planner
