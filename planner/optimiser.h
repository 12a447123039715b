#pragma once

// Expected values of claiming choices and the search for the best one, for a single client
// and for a married couple.
//
//   HouseholdModel model(inputs);            // inputs that passed CheckHousehold
//   CoupleSearch s = model.SearchCouple();   // every pair, the best, the ten best
//   s.best.client, *s.best.spouse, s.best.value
//
// The expected value is the sum of every payment times the chance that it is paid,
// discounted monthly to the as-of month as (1 + rate)^(-months / 12), months counted to the
// month the payment is made. The two deaths are independent.

#include <cstddef>
#include <optional>
#include <vector>

#include "planner/household.h"
#include "planner/lifetable.h"
#include "planner/mortality.h"
#include "planner/payments.h"

namespace velmora::planner {

/// A choice of claim months and its expected value in dollars.
struct ChoiceValue {
    Month client;
    std::optional<Month> spouse;  // for a couple
    long double value = 0;
};

struct SingleSearch {
    std::vector<ChoiceValue> months;  // every month that can be chosen, in order
    std::size_t best = 0;             // the largest value; the earlier month on a tie
};

struct CoupleSearch {
    Month clientFirst;
    int clientCount = 0;  // months clientFirst .. clientFirst + clientCount - 1
    Month spouseFirst;
    int spouseCount = 0;
    /// Every pair's value, the client's month major: [c * spouseCount + s].
    std::vector<long double> values;
    long double Value(Month client, Month spouse) const;

    ChoiceValue best;  // the earlier client month, then the earlier spouse month, on a tie
    std::vector<ChoiceValue> topTen;  // the best first; fewer when there are fewer pairs
    ChoiceValue bothEarliest;         // each at the first month that can be chosen
    ChoiceValue bothFra;              // each at FRA (or the first month when that is later)
    ChoiceValue both70;               // each at the month 70 is attained
};

/// The household's streams, chances and discounting, built once for many choices.
class HouseholdModel {
  public:
    explicit HouseholdModel(const HouseholdInputs& inputs,
                            const LifeTable& period = LifeTable::Shipped(),
                            const CohortLifeTables& cohort = CohortLifeTables::Shipped());

    const BenefitRules& Rules() const { return rules_; }
    const HouseholdInputs& Inputs() const { return rules_.Inputs(); }
    /// The months modelled: from the as-of month while either may be alive.
    int MonthCount() const { return months_; }
    Month LastMonth() const { return Month{rules_.AsOf().index + months_ - 1}; }
    /// The chance of being alive at the end of month asOf + k.
    long double Alive(Who who, int k) const;
    /// (1 + rate)^(-k / 12).
    long double Discount(int k) const { return discount_[static_cast<std::size_t>(k)]; }

    /// The months that can be chosen: the claimed month alone, else the first choice to 70.
    Month FirstChoice(Who who) const;
    Month LastChoice(Who who) const;

    /// One client's expected value for a claim month (the client of a couple is valued
    /// as if single).
    long double SingleValue(Month claim) const;
    /// The couple's expected value for a pair, month by month over every death month:
    /// the plain way, which the search must agree with.
    long double CoupleValue(Month clientClaim, Month spouseClaim) const;
    /// When a survivor starts the survivor benefit after the other's death in `death`: the
    /// month after it or at survivor FRA, whichever gives the survivor the larger expected
    /// value (the earlier on a tie).
    Month SurvivorStart(Who survivor, Month death, Month survivorClaim, Month deceasedClaim) const;

    /// The payments of a choice to the end of the table, following a death when given;
    /// from `firstMonth` on when that is after the as-of month.
    std::vector<PaymentRow> Payments(Month clientClaim, std::optional<Month> spouseClaim,
                                     std::optional<Death> death = std::nullopt,
                                     std::optional<Month> firstMonth = std::nullopt) const;

    SingleSearch SearchSingle() const;
    /// Every pair of a couple, sharing per-person streams and suffix sums over months.
    CoupleSearch SearchCouple() const;

  private:
    BenefitRules rules_;
    int months_ = 0;
    std::vector<long double> clientAlive_;
    std::vector<long double> spouseAlive_;
    std::vector<long double> discount_;  // index k: paid k months after the as-of month
};

}  // namespace velmora::planner
