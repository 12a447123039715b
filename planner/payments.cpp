#include "planner/payments.h"

#include <algorithm>
#include <cmath>

#include "engine/money.h"

namespace velmora::planner {

namespace {

__extension__ typedef __int128 Wide;

constexpr std::int64_t kFactorDenominator = 7200;
// Past this a PIA could overflow the 64-bit products below (a PIA times a factor's numerator of
// at most 100,000); a COLA of 100 % reaches it in about 27 years.
constexpr std::int64_t kPiaCentsRange = 1'000'000'000'000;  // $10 billion
constexpr int kColaSteps = 160;                             // years the model may cover

std::int64_t FloorDiv(Wide numerator, Wide denominator) {
    Wide q = numerator / denominator;
    if (numerator % denominator != 0 && (numerator < 0) != (denominator < 0))
        --q;
    return static_cast<std::int64_t>(q);
}

// cents x fraction, rounded down to the dime. Amounts and fractions are never negative and
// stay within kPiaCentsRange, so the product fits.
std::int64_t DimeFloor(std::int64_t cents, Fraction f) {
    return cents * f.numerator / (f.denominator * 10) * 10;
}

std::int64_t DimeFloor(std::int64_t cents) {
    return cents / 10 * 10;
}

Month JanuaryOf(int year) {
    return Month::Of(year, 1);
}

}  // namespace

const char* PaymentKindText(PaymentKind kind) {
    switch (kind) {
        case PaymentKind::None:
            return "";
        case PaymentKind::Own:
            return "own";
        case PaymentKind::OwnSpousal:
            return "own+spousal";
        case PaymentKind::Spousal:
            return "spousal";
        case PaymentKind::Survivor:
            return "survivor";
    }
    return "";
}

Fraction SurvivorReductionFactor(int monthsEarly, int span) {
    // 28.5 % at 60 falling evenly by month to 0 at survivor FRA: 1 - 0.285 k / span.
    if (monthsEarly <= 0 || span <= 0)
        return {1, 1};
    const int early = std::min(monthsEarly, span);
    return {1000LL * span - 285LL * early, 1000LL * span};
}

BenefitRules::BenefitRules(const HouseholdInputs& inputs)
    : inputs_(inputs), asOf_(Month::Of(inputs.asOf.year, inputs.asOf.month)) {
    client_ = planner::MonthsOf(inputs_.client, asOf_);
    if (inputs_.spouse)
        spouse_ = planner::MonthsOf(*inputs_.spouse, asOf_);
    // The COLA is taken to four decimals of a percent: millionths of the amount.
    colaMillionths_ = std::llround(inputs_.cola * 10000.0);
    const auto grow = [&](std::int64_t pia, std::vector<std::int64_t>& steps) {
        steps.assign(1, pia);
        for (int i = 0; i < kColaSteps; ++i) {
            const std::int64_t next =
                FloorDiv(static_cast<Wide>(steps.back()) * (1'000'000 + colaMillionths_),
                         static_cast<Wide>(1'000'000) * 10) *
                10;
            if (next > kPiaCentsRange)
                break;
            steps.push_back(next);
        }
    };
    grow(inputs_.client.piaCents, clientPia_);
    grow(inputs_.spouse ? inputs_.spouse->piaCents : 0, spousePia_);
}

const PersonInputs& BenefitRules::Person(Who who) const {
    return who == Who::Client ? inputs_.client : *inputs_.spouse;
}

const PersonMonths& BenefitRules::MonthsOf(Who who) const {
    return who == Who::Client ? client_ : spouse_;
}

std::int64_t BenefitRules::PiaCents(Who who, Month month) const {
    // One step for each December from the as-of month (whose December is the first) on.
    const Month firstDecember = Month::Of(asOf_.Year(), 12);
    const int steps = month < firstDecember ? 0 : (month.index - firstDecember.index) / 12 + 1;
    const auto& pia = who == Who::Client ? clientPia_ : spousePia_;
    if (steps >= static_cast<int>(pia.size()))
        throw ArithmeticError(ArithmeticError::Kind::Overflow);
    return pia[static_cast<std::size_t>(steps)];
}

Fraction BenefitRules::OwnFactor(Who who, Month claim, Month month) const {
    if (month < claim)
        return {0, kFactorDenominator};
    const PersonMonths& m = MonthsOf(who);
    const int fromFra = claim.index - m.fra.index;
    const int limit = m.at70.index - m.fra.index;
    if (fromFra <= 0)
        return ClaimingFactor(fromFra, m.creditPer2400, limit);
    const int total = std::min(fromFra, limit);
    // Credits of the years before the claim year are paid from the claim; those of the claim
    // year from the next January, or from the month of 70 in the year 70 is attained.
    const int before = std::clamp(JanuaryOf(claim.Year()).index - m.fra.index, 0, total);
    const Month paidInFull =
        claim.Year() >= m.at70.Year() ? std::max(m.at70, claim) : JanuaryOf(claim.Year() + 1);
    const int credited = month >= paidInFull ? total : before;
    return ClaimingFactor(credited, m.creditPer2400, credited);
}

std::int64_t BenefitRules::OwnCents(Who who, Month claim, Month month) const {
    if (month < claim)
        return 0;
    return DimeFloor(PiaCents(who, month), OwnFactor(who, claim, month));
}

Fraction BenefitRules::SpousalFactor(Who who, Month start) const {
    const PersonMonths& m = MonthsOf(who);
    const std::int64_t early = std::max(0, m.fra.index - start.index);
    const std::int64_t first = std::min<std::int64_t>(early, 36);
    const std::int64_t further = early - first;
    // 25/36 of 1 % is 50/7200, 5/12 of 1 % is 30/7200.
    return {std::max<std::int64_t>(kFactorDenominator - first * 50 - further * 30, 0),
            kFactorDenominator};
}

std::int64_t BenefitRules::SpousalCents(Who who, Month ownClaim, Month otherClaim,
                                        Month month) const {
    if (!IsCouple())
        return 0;
    const Who other = who == Who::Client ? Who::Spouse : Who::Client;
    const Month start = std::max({ownClaim, otherClaim, MonthsOf(who).firstAt62});
    if (month < start)
        return 0;
    const std::int64_t excess = DimeFloor(PiaCents(other, month) / 2) - PiaCents(who, month);
    if (excess <= 0)
        return 0;
    return DimeFloor(excess, SpousalFactor(who, start));
}

std::int64_t BenefitRules::OwnAndSpousalCents(Who who, Month ownClaim, Month otherClaim,
                                              Month month) const {
    const std::int64_t own = OwnCents(who, ownClaim, month);
    const std::int64_t spousal = SpousalCents(who, ownClaim, otherClaim, month);
    if (spousal == 0)
        return own;
    // Without credits the own benefit is the PIA for a claim after FRA, else the reduced one.
    const bool credited = ownClaim > MonthsOf(who).fra;
    const std::int64_t withoutCredits = credited ? PiaCents(who, month) : own;
    return std::max(own, withoutCredits + spousal);
}

SurvivorTerms BenefitRules::SurvivorTermsFor(Who survivor, Month death, Month deceasedClaim,
                                             Month start) const {
    const Who deceased = survivor == Who::Client ? Who::Spouse : Who::Client;
    const PersonMonths& d = MonthsOf(deceased);
    const PersonMonths& s = MonthsOf(survivor);
    const int limit = d.at70.index - d.fra.index;
    SurvivorTerms terms;
    const bool claimed = deceasedClaim < death;
    if (!claimed) {
        // The credits earned up to the death: the months from FRA to the month before it.
        const int credits = std::clamp(death.index - d.fra.index, 0, limit);
        terms.base = ClaimingFactor(credits, d.creditPer2400, credits);
    } else if (deceasedClaim >= d.fra) {
        const int credits = std::min(deceasedClaim.index - d.fra.index, limit);
        terms.base = ClaimingFactor(credits, d.creditPer2400, credits);
    } else {
        terms.limited = true;
        terms.deceasedFactor = ClaimingFactor(deceasedClaim.index - d.fra.index, 0, 0);
    }
    terms.reduction = SurvivorReductionFactor(s.survivorFra.index - start.index,
                                              s.survivorFraAgeMonths - 60 * 12);
    return terms;
}

std::int64_t SurvivorCentsOf(const SurvivorTerms& terms, std::int64_t pia) {
    const std::int64_t reduced = DimeFloor(DimeFloor(pia, terms.base), terms.reduction);
    if (!terms.limited)
        return reduced;
    const std::int64_t limit =
        std::max(DimeFloor(pia, terms.deceasedFactor), DimeFloor(pia, Fraction{825, 1000}));
    return std::min(reduced, limit);
}

std::int64_t BenefitRules::SurvivorCents(const SurvivorTerms& terms, Who survivor,
                                         Month month) const {
    const Who deceased = survivor == Who::Client ? Who::Spouse : Who::Client;
    return SurvivorCentsOf(terms, PiaCents(deceased, month));
}

std::int64_t BenefitRules::PaidDollars(std::int64_t cents, Month month) const {
    if (inputs_.cut && month.Year() >= inputs_.cut->fromYear) {
        const std::int64_t kept = 10000 - inputs_.cut->percentHundredths;
        return cents * kept / (10000 * 100);
    }
    return cents / 100;
}

namespace {

PersonPayment Payment(std::int64_t dollars, PaymentKind kind) {
    return dollars > 0 ? PersonPayment{dollars, kind} : PersonPayment{};
}

}  // namespace

std::vector<PaymentRow> PaymentRows(const BenefitRules& rules, Month clientClaim,
                                    std::optional<Month> spouseClaim, std::optional<Death> death,
                                    std::optional<Month> survivorStart, Month lastMonth,
                                    std::optional<Month> firstMonth) {
    std::vector<PaymentRow> rows;
    const bool couple = rules.IsCouple() && spouseClaim.has_value();
    const auto claimOf = [&](Who who) { return who == Who::Client ? clientClaim : *spouseClaim; };
    const auto dead = [&](Who who, Month m) {
        return death && death->who == who && m >= death->month;
    };
    // The survivor's terms hang on the death and the claims alone, not on the month paid.
    std::optional<SurvivorTerms> survivorTerms;
    const auto paymentOf = [&](Who who, Month m) -> PersonPayment {
        const Who other = who == Who::Client ? Who::Spouse : Who::Client;
        if (dead(who, m))
            return {};
        const Month claim = claimOf(who);
        const std::int64_t own = rules.OwnCents(who, claim, m);
        if (!couple || !dead(other, m)) {
            if (!couple)
                return Payment(rules.PaidDollars(own, m), PaymentKind::Own);
            const std::int64_t both = rules.OwnAndSpousalCents(who, claim, claimOf(other), m);
            const PaymentKind kind = both == own ? PaymentKind::Own
                                     : own == 0  ? PaymentKind::Spousal
                                                 : PaymentKind::OwnSpousal;
            return Payment(rules.PaidDollars(both, m), kind);
        }
        // The other died: in the month of death the own benefit alone, then the larger of
        // the own benefit and the survivor benefit once that has started.
        if (m == death->month || !survivorStart || m < *survivorStart)
            return Payment(rules.PaidDollars(own, m), PaymentKind::Own);
        if (!survivorTerms)
            survivorTerms =
                rules.SurvivorTermsFor(who, death->month, claimOf(other), *survivorStart);
        const std::int64_t survivor = rules.SurvivorCents(*survivorTerms, who, m);
        if (survivor > own)
            return Payment(rules.PaidDollars(survivor, m), PaymentKind::Survivor);
        return Payment(rules.PaidDollars(own, m), PaymentKind::Own);
    };
    const Month first = firstMonth && *firstMonth > rules.AsOf() ? *firstMonth : rules.AsOf();
    for (Month m = first; m <= lastMonth; ++m.index) {
        PaymentRow row;
        row.benefitMonth = m;
        row.paidMonth = Month{m.index + 1};
        row.client = paymentOf(Who::Client, m);
        if (couple)
            row.spouse = paymentOf(Who::Spouse, m);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace velmora::planner
