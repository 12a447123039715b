#pragma once

// What Social Security pays, month by month: the exact amount rules for one person and for
// a married couple, and the rows of payments for a choice of claim months.
//
// Every amount is exact in whole cents (held as whole dimes where SSA rounds to the dime)
// and the amount paid is rounded down to the whole dollar. The benefit for month M is paid
// in month M + 1; nothing is paid for the month of death or after.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "planner/dates.h"
#include "planner/household.h"
#include "planner/rules.h"

namespace velmora::planner {

/// What one person receives in a month.
enum class PaymentKind {
    None,        // nothing: not claimed yet, or dead
    Own,         // the own retirement benefit
    OwnSpousal,  // the own benefit and a spousal part
    Spousal,     // a spousal benefit alone (an own PIA of 0)
    Survivor,    // the survivor benefit (with the own benefit when that is smaller)
};
/// "", "own", "own+spousal", "spousal", "survivor".
const char* PaymentKindText(PaymentKind kind);

struct PersonPayment {
    std::int64_t dollars = 0;
    PaymentKind kind = PaymentKind::None;
    friend bool operator==(const PersonPayment&, const PersonPayment&) = default;
};

/// One benefit month of the household.
struct PaymentRow {
    Month benefitMonth;
    Month paidMonth;  // the month after
    PersonPayment client;
    PersonPayment spouse;  // None throughout for a single client
};

/// A death to follow: who dies and in which month (nothing is paid for that month).
struct Death {
    Who who = Who::Client;
    Month month;
};

/// A survivor benefit's make-up: the deceased's benefit (the PIA times `base`, rounded
/// down to the dime) reduced for the survivor's age (times `reduction`, rounded down to the
/// dime). When the deceased claimed early, the result is limited to the larger of the
/// deceased's reduced benefit (the PIA times `deceasedFactor`) and 82.5 % of the PIA.
struct SurvivorTerms {
    Fraction base{1, 1};
    Fraction reduction{1, 1};
    bool limited = false;
    Fraction deceasedFactor{1, 1};
    friend bool operator==(const SurvivorTerms&, const SurvivorTerms&) = default;
};

/// The amount rules of a household whose inputs passed CheckHousehold. No chances here:
/// each function gives the exact amount for one month.
class BenefitRules {
  public:
    explicit BenefitRules(const HouseholdInputs& inputs);

    const HouseholdInputs& Inputs() const { return inputs_; }
    Month AsOf() const { return asOf_; }
    bool IsCouple() const { return inputs_.spouse.has_value(); }
    const PersonInputs& Person(Who who) const;
    const PersonMonths& MonthsOf(Who who) const;

    /// The PIA in cents in a month: the as-of month's PIA raised by the COLA for each
    /// December from the as-of month to this one, rounded down to the dime each time.
    /// ArithmeticError (overflow) when the amount leaves the range the rules can hold.
    std::int64_t PiaCents(Who who, Month month) const;

    /// The claiming factor over 7200 paid in `month` for a claim in `claim`: the reduction
    /// for early months; delayed credits of the months before the claim year from the
    /// claim month, those of the claim year from the next January (from the month of 70 in
    /// the year 70 is attained). 0 before the claim.
    Fraction OwnFactor(Who who, Month claim, Month month) const;
    /// The own benefit in cents in a month, rounded down to the dime (0 before the claim).
    std::int64_t OwnCents(Who who, Month claim, Month month) const;

    /// The spousal factor over 7200 for a spousal part that starts in `start`: 25/36 of
    /// 1 % less for each of the first 36 months before the person's FRA, 5/12 of 1 % for
    /// each further one; no credits.
    Fraction SpousalFactor(Who who, Month start) const;
    /// The spousal part in cents in a month, both alive: (half the other's PIA rounded down
    /// to the dime, less the own PIA) times the spousal factor, rounded down to the dime;
    /// 0 before the later of the two claims (and before 62) or when not positive.
    std::int64_t SpousalCents(Who who, Month ownClaim, Month otherClaim, Month month) const;

    /// The own benefit and the spousal part together, both alive: the spousal part comes
    /// on top of the own benefit without its delayed credits, and the credits count only
    /// where they give more: the larger of the own benefit with its credits and the own
    /// benefit without them plus the spousal part.
    std::int64_t OwnAndSpousalCents(Who who, Month ownClaim, Month otherClaim, Month month) const;

    /// How a survivor benefit that starts in `start` is made from the deceased's PIA, for a
    /// death in `death` of someone who claimed in `deceasedClaim` (a claim in or after the
    /// death month means not claimed).
    SurvivorTerms SurvivorTermsFor(Who survivor, Month death, Month deceasedClaim,
                                   Month start) const;
    /// The survivor benefit in cents in a month on the deceased's PIA of that month.
    std::int64_t SurvivorCents(const SurvivorTerms& terms, Who survivor, Month month) const;

    /// The amount paid for a benefit in cents: rounded down to the dollar, less the cut
    /// from its year on.
    std::int64_t PaidDollars(std::int64_t cents, Month month) const;

  private:
    HouseholdInputs inputs_;
    Month asOf_;
    PersonMonths client_;
    PersonMonths spouse_;
    std::int64_t colaMillionths_ = 0;
    // PIAs per COLA step (index 0: the as-of month's), per person.
    // The PIA after each COLA step (index 0: the as-of month's), per person; a step past
    // the last one left the range.
    std::vector<std::int64_t> clientPia_;
    std::vector<std::int64_t> spousePia_;
};

/// The survivor benefit in cents on a deceased's PIA in cents, by its terms.
std::int64_t SurvivorCentsOf(const SurvivorTerms& terms, std::int64_t deceasedPiaCents);

/// The survivor reduction at `monthsEarly` months before survivor FRA, whose distance from
/// 60 is `span` months: 28.5 % x monthsEarly / span, as the fraction of the benefit paid.
Fraction SurvivorReductionFactor(int monthsEarly, int span);

/// The month-by-month payments of a choice of claims to `lastMonth` (inclusive). With a
/// death, the other's survivor benefit starts in `survivorStart` (which the optimiser's
/// model chooses); without one both live to the end. The rows start at the as-of month, or
/// at `firstMonth` when that is later (a reader of the months after a death only).
std::vector<PaymentRow> PaymentRows(const BenefitRules& rules, Month clientClaim,
                                    std::optional<Month> spouseClaim, std::optional<Death> death,
                                    std::optional<Month> survivorStart, Month lastMonth,
                                    std::optional<Month> firstMonth = std::nullopt);

}  // namespace velmora::planner
