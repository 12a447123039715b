#pragma once

// The benefit at full retirement age (the primary insurance amount, PIA) computed from
// the earnings record, with every step kept for display:
//
//   PiaInputs in;  in.born = {1964, 5, 20};  in.asOf = {2026, 12, 10};
//   in.record = ReadEarningsRecord(text);  in.colaMillionths = 25000;   // 2.5 %
//   PiaComputation pia(in);               // throws PiaError on a refused input
//   for (const PiaYear& y : pia.Years()) ...  pia.PiaAsOfCents() ...
//
// Money is in whole cents and rounded where SSA rounds: indexed earnings to the nearest
// cent, the AIME down to the dollar, bend points to the nearest dollar, the PIA and each
// COLA step down to the dime.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "planner/dates.h"
#include "planner/earnings.h"
#include "planner/programdata.h"

namespace velmora::planner {

/// A refused input; what() is a sentence for the user.
class PiaError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// "Earns X a year, in dollars of the as-of year, until age N" (or until a month, such as
/// the claim month), growing with the assumed wage growth; X = 0 is "stops working now".
struct FutureEarnings {
    std::int64_t yearlyCents = 0;
    int untilAge = 0;  // 22 to 80; not read when untilMonth is given
    /// The month work stops in: its earlier months of the year count, it and later do not.
    std::optional<Month> untilMonth = std::nullopt;
};

struct PiaInputs {
    Date born;
    Date asOf;
    EarningsRecord record;
    std::optional<FutureEarnings> future;
    /// The assumed yearly wage growth in millionths; empty: the program data's default.
    std::optional<std::int64_t> wageGrowthMillionths;
    /// The plan's COLA in millionths, for the COLAs not yet published.
    std::int64_t colaMillionths = 0;
    /// The program figures; nullptr for the shipped ones.
    const ProgramData* data = nullptr;
};

enum class EarningsSource { None, Record, Future };

/// One year of the computation.
struct PiaYear {
    int year = 0;
    EarningsSource source = EarningsSource::None;
    std::int64_t earningsCents = 0;  // as recorded or assumed
    std::int64_t taxableMaximumDollars = 0;
    bool taxableMaximumProjected = false;
    std::int64_t countedCents = 0;  // earnings up to the taxable maximum
    /// Indexing: AWI(indexing year) / AWI(year) for the years from 1951 before the
    /// indexing year; 1/1 from the indexing year on. Both in cents; 0/0 before 1951.
    std::int64_t factorNumerator = 0;
    std::int64_t factorDenominator = 0;
    bool awiProjected = false;  // this year's wage index was projected
    std::int64_t indexedCents = 0;
    /// Counted in the AIME: among the highest computation years (never before 1951).
    bool amongHighest = false;
    std::int64_t quarterOfCoverageDollars = 0;  // from 1978
    int credits = 0;
    /// Before 1978 credits went by calendar quarter; from a yearly total they are estimated.
    bool creditsEstimated = false;
};

/// One COLA applied to the PIA.
struct ColaStep {
    int decemberOf = 0;
    std::int64_t colaMillionths = 0;
    bool projected = false;
    std::int64_t piaCents = 0;  // after the step, a whole number of dimes
};

class PiaComputation {
  public:
    /// Checks the inputs and computes; throws PiaError (also for program data that
    /// cannot be used).
    explicit PiaComputation(const PiaInputs& inputs);

    const std::vector<PiaYear>& Years() const { return years_; }
    int EligibilityYear() const { return eligibilityYear_; }
    int IndexingYear() const { return eligibilityYear_ - 2; }
    std::int64_t IndexingAwiCents() const { return indexingAwiCents_; }
    int ComputationYears() const { return computationYears_; }
    /// Of the computation years, how many have earnings (the rest count as zero).
    int YearsWithEarnings() const { return yearsWithEarnings_; }
    std::int64_t TotalIndexedCents() const { return totalIndexedCents_; }
    std::int64_t AimeDollars() const { return aimeDollars_; }
    std::int64_t FirstBendPointDollars() const { return bend1_; }
    std::int64_t SecondBendPointDollars() const { return bend2_; }
    /// The bend points rest on a projected wage index.
    bool BendPointsProjected() const { return bendPointsProjected_; }
    std::int64_t PiaAtEligibilityCents() const { return piaAtEligibilityCents_; }
    const std::vector<ColaStep>& ColaSteps() const { return colaSteps_; }
    /// The PIA in dollars of the as-of year, as the planner takes it; 0 when not insured.
    std::int64_t PiaAsOfCents() const { return insured_ ? piaAsOfCents_ : 0; }
    /// The formula's PIA in dollars of the as-of year, insured or not.
    std::int64_t FormulaPiaAsOfCents() const { return piaAsOfCents_; }
    /// For a client who reaches 62 after the as-of year: the years the PIA at
    /// eligibility is taken back by the plan's COLA to dollars of the as-of year.
    int YearsTakenBack() const { return yearsTakenBack_; }

    /// Credits before 1951: one for each $400 of the total wages of 1937-1950.
    int CreditsBefore1951() const { return creditsBefore1951_; }
    int TotalCredits() const { return totalCredits_; }
    static constexpr int kCreditsNeeded = 40;
    bool Insured() const { return insured_; }

    std::int64_t WageGrowthMillionths() const { return wageGrowth_; }
    bool WageGrowthIsDefault() const { return wageGrowthIsDefault_; }
    std::int64_t ColaMillionths() const { return cola_; }
    const std::string& ProgramDataSource() const { return source_; }
    int LastPublishedAwiYear() const { return lastAwiYear_; }
    /// The years whose wage index, taxable maximum or COLA the computation used but the
    /// program data did not have, each list in order.
    const std::vector<int>& ProjectedAwiYears() const { return projectedAwi_; }
    const std::vector<int>& ProjectedTaxableMaximumYears() const { return projectedMax_; }
    const std::vector<int>& ProjectedColaYears() const { return projectedCola_; }

    /// Sentences for the user: which years were projected, which dollars the PIA is in
    /// and how it is brought to the as-of year, whether the client is insured.
    std::vector<std::string> Notes() const;

  private:
    std::vector<PiaYear> years_;
    int eligibilityYear_ = 0;
    int asOfYear_ = 0;
    std::int64_t indexingAwiCents_ = 0;
    int computationYears_ = 0;
    int yearsWithEarnings_ = 0;
    std::int64_t totalIndexedCents_ = 0;
    std::int64_t aimeDollars_ = 0;
    std::int64_t bend1_ = 0, bend2_ = 0;
    bool bendPointsProjected_ = false;
    std::int64_t piaAtEligibilityCents_ = 0;
    std::vector<ColaStep> colaSteps_;
    std::int64_t piaAsOfCents_ = 0;
    int yearsTakenBack_ = 0;
    int creditsBefore1951_ = 0;
    int totalCredits_ = 0;
    bool insured_ = false;
    std::int64_t wageGrowth_ = 0;
    bool wageGrowthIsDefault_ = false;
    std::int64_t cola_ = 0;
    std::string source_;
    int lastAwiYear_ = 0;
    std::vector<int> projectedAwi_, projectedMax_, projectedCola_;
};

/// The bend points of an eligibility year: $180 and $1,085 times AWI(year - 2) over
/// AWI(1977), each to the nearest dollar.
std::pair<std::int64_t, std::int64_t> BendPoints(std::int64_t awiTwoYearsBeforeCents,
                                                 std::int64_t awi1977Cents);
/// 90 % of the AIME up to the first bend point, 32 % up to the second, 15 % above it,
/// rounded down to the dime; in cents.
std::int64_t PiaFromAime(std::int64_t aimeDollars, std::int64_t bend1, std::int64_t bend2);
/// The PIA raised by a COLA and rounded down to the dime; in cents.
std::int64_t ApplyColaToPia(std::int64_t piaCents, std::int64_t colaMillionths);
/// "$1,234.50" with '.' and ',' whatever the locale.
std::string DollarsText(std::int64_t cents);

}  // namespace velmora::planner
