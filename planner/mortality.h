#pragma once

// Chances of survival, month by month, for one person: from a cohort table (one column of
// q(x) per year of birth and sex) or from the period table, with the person's factor on
// every q(x).

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "planner/dates.h"
#include "planner/household.h"
#include "planner/lifetable.h"

namespace velmora::planner {

/// The SSA cohort life tables: q(x) at each whole age 0..last for each year of birth and sex.
class CohortLifeTables {
  public:
    /// Reads "birth_year,age,male_qx,female_qx" rows ('#' lines and the header skipped).
    /// Each year of birth runs 0, 1, 2, ... to the same last age; q is 0 to 1. Throws
    /// std::invalid_argument naming the line otherwise.
    static CohortLifeTables FromCsv(const std::string& text, std::string edition);
    /// The tables shipped with the program (data/ssa-cohort-life-tables-tr2025.csv).
    static const CohortLifeTables& Shipped();

    const std::string& Edition() const { return edition_; }
    int FirstYear() const { return firstYear_; }
    int LastYear() const { return firstYear_ + static_cast<int>(male_.size()) - 1; }
    int LastAge() const { return lastAge_; }
    /// q(x) of a year of birth the tables hold, at a whole age 0..LastAge().
    long double Q(Sex sex, int yearOfBirth, int age) const;

  private:
    std::string edition_;
    int firstYear_ = 0;
    int lastAge_ = 0;
    std::vector<std::vector<long double>> male_;  // [year - firstYear][age]
    std::vector<std::vector<long double>> female_;
};

/// One person's l(x) as a chance from birth, at whole ages 0..last+1 (the last from q(last);
/// nobody is alive after it), from the kind of table chosen and with every q(x) times the
/// factor, capped at 1.
std::vector<long double> SurvivorsOf(const PersonInputs& person, MortalityKind kind,
                                     const LifeTable& period = LifeTable::Shipped(),
                                     const CohortLifeTables& cohort = CohortLifeTables::Shipped());

/// The chance of being alive at the end of each month from the as-of month on, given alive
/// at the start of the as-of month: element k is for the month asOf + k. l is linear
/// between whole ages; the vector ends with the first month by whose end nobody is alive.
std::vector<long double> MonthlySurvival(
    const PersonInputs& person, Month asOf, MortalityKind kind,
    const LifeTable& period = LifeTable::Shipped(),
    const CohortLifeTables& cohort = CohortLifeTables::Shipped());

/// The table's name for output: the cohort edition or the period table's.
std::string MortalityEdition(MortalityKind kind, const LifeTable& period = LifeTable::Shipped(),
                             const CohortLifeTables& cohort = CohortLifeTables::Shipped());

}  // namespace velmora::planner
