#include "planner/pia.h"

#include <algorithm>
#include <map>
#include <numeric>

#include "planner/rules.h"

namespace velmora::planner {

namespace {

constexpr std::int64_t kMillion = 1000000;
constexpr int kFirstIndexedYear = 1951;    // base years are the years after 1950
constexpr int kFirstYearlyCredits = 1978;  // from 1978 credits go by the year's total
constexpr int kDropoutYears = 5;
constexpr int kLastYear = 2100;
// The bend points of 1979, the first year of the formula, and the index of 1977 they
// rest on.
constexpr std::int64_t kFirstBend1979 = 180;
constexpr std::int64_t kSecondBend1979 = 1085;
constexpr int kBendBaseYear = 1977;

// Products of two amounts can pass 64 bits.
__extension__ typedef __int128 Wide;

std::int64_t FloorToDime(std::int64_t cents) {
    return cents / 10 * 10;
}

std::string YearsText(const std::vector<int>& years) {
    // "2025-2027, 2030": runs of consecutive years joined.
    std::string text;
    for (std::size_t i = 0; i < years.size();) {
        std::size_t j = i;
        while (j + 1 < years.size() && years[j + 1] == years[j] + 1)
            ++j;
        if (!text.empty())
            text.append(", ");
        text.append(std::to_string(years[i]));
        if (j > i) {
            text.push_back('-');
            text.append(std::to_string(years[j]));
        }
        i = j + 1;
    }
    return text;
}

void CheckInputs(const PiaInputs& in) {
    if (!IsValidDate(in.born))
        throw PiaError("The date of birth is not a valid date.");
    if (!IsValidDate(in.asOf))
        throw PiaError("The as-of date is not a valid date.");
    if (AgeRules(in.born).RuleYearOfBirth() < kFirstRuleYearOfBirth)
        throw PiaError("The date of birth must be 2 January 1933 or later.");
    if (in.born.year > kLastYear - 62 || in.asOf.year > kLastYear)
        throw PiaError("Years after 2100 are not supported.");
    if (in.asOf < in.born)
        throw PiaError("The as-of date lies before the date of birth.");
    if (in.colaMillionths < 0 || in.colaMillionths > 100 * 10000)
        throw PiaError("The COLA must be between 0 and 100 percent.");
    if (in.wageGrowthMillionths &&
        (*in.wageGrowthMillionths < kLeastWageGrowth || *in.wageGrowthMillionths > kMostWageGrowth))
        throw PiaError("The wage growth must be between -10 and 15 percent.");
    for (const auto& y : in.record.years) {
        if (y.year > in.asOf.year) {
            throw PiaError("The earnings record has the year " + std::to_string(y.year) +
                           ", after the as-of year " + std::to_string(in.asOf.year) + ".");
        }
        if (y.year < in.born.year) {
            throw PiaError("The earnings record has the year " + std::to_string(y.year) +
                           ", before the year of birth.");
        }
        if (y.cents < 0 || y.cents > kMostEarningsCents)
            throw PiaError("The earnings of " + std::to_string(y.year) + " are out of range.");
    }
    if (in.future) {
        if (!in.future->untilMonth && (in.future->untilAge < 22 || in.future->untilAge > 80))
            throw PiaError("The age future earnings stop at must be between 22 and 80.");
        if (in.future->yearlyCents < 0 || in.future->yearlyCents > kMostEarningsCents)
            throw PiaError("The future earnings must be between 0 and 999,999,999.99.");
    }
}

}  // namespace

std::pair<std::int64_t, std::int64_t> BendPoints(std::int64_t awiTwoYearsBeforeCents,
                                                 std::int64_t awi1977Cents) {
    return {MulDivNearest(kFirstBend1979, awiTwoYearsBeforeCents, awi1977Cents),
            MulDivNearest(kSecondBend1979, awiTwoYearsBeforeCents, awi1977Cents)};
}

std::int64_t PiaFromAime(std::int64_t aime, std::int64_t bend1, std::int64_t bend2) {
    // A whole number of dollars times a whole percentage is a whole number of cents.
    const std::int64_t first = std::min(aime, bend1);
    const std::int64_t second = std::max<std::int64_t>(0, std::min(aime, bend2) - bend1);
    const std::int64_t third = std::max<std::int64_t>(0, aime - bend2);
    return FloorToDime(90 * first + 32 * second + 15 * third);
}

std::int64_t ApplyColaToPia(std::int64_t piaCents, std::int64_t colaMillionths) {
    return FloorToDime(MulDivFloor(piaCents, kMillion + colaMillionths, kMillion));
}

std::string DollarsText(std::int64_t cents) {
    const bool negative = cents < 0;
    const std::int64_t magnitude = negative ? -cents : cents;
    const std::string digits = std::to_string(magnitude / 100);
    std::string text = negative ? "-$" : "$";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text.push_back(',');
        text.push_back(digits[i]);
    }
    const std::int64_t part = magnitude % 100;
    text.push_back('.');
    text.push_back(static_cast<char>('0' + part / 10));
    text.push_back(static_cast<char>('0' + part % 10));
    return text;
}

PiaComputation::PiaComputation(const PiaInputs& in) {
    CheckInputs(in);
    const ProgramData& data = in.data != nullptr ? *in.data : ProgramData::Shipped();
    source_ = data.Source();
    lastAwiYear_ = data.LastAwiYear();
    wageGrowthIsDefault_ = !in.wageGrowthMillionths;
    wageGrowth_ = in.wageGrowthMillionths ? *in.wageGrowthMillionths : data.DefaultWageGrowth();
    cola_ = in.colaMillionths;
    asOfYear_ = in.asOf.year;

    const AgeRules age(in.born);
    eligibilityYear_ = age.MonthAttained(62 * 12).Year();

    // The earnings of each year: the record, then the assumed future earnings in the
    // years after it, from the as-of year to the month the stopping age is attained.
    std::map<int, std::pair<std::int64_t, EarningsSource>> earnings;
    for (const auto& y : in.record.years)
        earnings[y.year] = {y.cents, EarningsSource::Record};
    if (in.future) {
        const int lastRecorded = in.record.years.empty() ? 0 : in.record.years.back().year;
        const Month stop = in.future->untilMonth ? *in.future->untilMonth
                                                 : age.MonthAttained(in.future->untilAge * 12);
        std::int64_t yearly = in.future->yearlyCents;
        for (int year = in.asOf.year; year <= stop.Year(); ++year) {
            if (year > in.asOf.year)
                yearly = MulDivNearest(yearly, kMillion + wageGrowth_, kMillion);
            if (year <= lastRecorded)
                continue;
            // The year the age is attained counts its months before that month.
            const int months = year == stop.Year() ? stop.MonthOfYear() - 1 : 12;
            const std::int64_t cents = MulDivNearest(yearly, months, 12);
            if (cents > 0)
                earnings[year] = {cents, EarningsSource::Future};
        }
    }
    const int firstYear = earnings.empty() ? 0 : earnings.begin()->first;
    const int lastYear = earnings.empty() ? 0 : earnings.rbegin()->first;

    const int needed = std::max({eligibilityYear_, lastYear, asOfYear_});
    try {
        const ProgramSeries series(data, needed, wageGrowth_, cola_);
        indexingAwiCents_ = series.At(IndexingYear()).awiCents;
        bendPointsProjected_ = series.At(IndexingYear()).awiProjected;

        // Years of the record: each year from the first with earnings to the last.
        std::int64_t wagesBefore1951 = 0;
        for (int year = firstYear; !earnings.empty() && year <= lastYear; ++year) {
            const SeriesYear& figures = series.At(year);
            PiaYear row;
            row.year = year;
            if (const auto it = earnings.find(year); it != earnings.end()) {
                row.earningsCents = it->second.first;
                row.source = it->second.second;
            }
            row.taxableMaximumDollars = figures.taxableMaximumDollars;
            row.taxableMaximumProjected = figures.taxableMaximumProjected;
            row.countedCents = std::min(row.earningsCents, figures.taxableMaximumDollars * 100);
            if (row.taxableMaximumProjected && row.earningsCents > 0)
                projectedMax_.push_back(year);
            if (year >= kFirstIndexedYear) {
                if (year < IndexingYear()) {
                    row.factorNumerator = indexingAwiCents_;
                    row.factorDenominator = figures.awiCents;
                    row.awiProjected = figures.awiProjected;
                    // To the nearest cent (POMS RS 00605.018).
                    row.indexedCents =
                        MulDivNearest(row.countedCents, indexingAwiCents_, figures.awiCents);
                } else {
                    row.factorNumerator = row.factorDenominator = 1;
                    row.indexedCents = row.countedCents;
                }
            }
            if (year >= kFirstYearlyCredits) {
                row.quarterOfCoverageDollars = figures.quarterOfCoverageDollars;
                row.credits = static_cast<int>(std::min<std::int64_t>(
                    4, row.earningsCents / (figures.quarterOfCoverageDollars * 100)));
            } else if (year >= kFirstIndexedYear) {
                // Wages at the year's maximum give all four quarters; below it the quarters
                // are unknown from a yearly total, so a yearly report's rule is taken: one
                // for each $100, at most four.
                row.credits =
                    row.countedCents >= figures.taxableMaximumDollars * 100
                        ? 4
                        : static_cast<int>(std::min<std::int64_t>(4, row.earningsCents / 10000));
                row.creditsEstimated = row.earningsCents > 0;
            } else {
                wagesBefore1951 += row.earningsCents;
                row.creditsEstimated = row.earningsCents > 0;
            }
            years_.push_back(row);
        }
        // Before 1951: one credit for each $400 of the total (at most four a year).
        creditsBefore1951_ = static_cast<int>(std::min<std::int64_t>(
            4 * (kFirstIndexedYear - kFirstEarningsYear), wagesBefore1951 / 40000));

        // The wage index years that were projected and used: the indexing year's, and
        // those the later years' taxable maximum and credit amounts rest on.
        const int lastAwiUsed = std::max(IndexingYear(), lastYear - 2);
        for (int year = data.LastAwiYear() + 1; year <= lastAwiUsed; ++year)
            projectedAwi_.push_back(year);

        // Elapsed years: after 1950 or the year 21 is attained, to the year before 62.
        const int start = std::max(kFirstIndexedYear - 1, age.MonthAttained(21 * 12).Year());
        computationYears_ = std::max(2, (eligibilityYear_ - 1 - start) - kDropoutYears);

        std::vector<std::size_t> order;
        for (std::size_t i = 0; i < years_.size(); ++i) {
            if (years_[i].year >= kFirstIndexedYear && years_[i].indexedCents > 0)
                order.push_back(i);
        }
        // The highest first; of equal amounts the earlier year.
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return years_[a].indexedCents > years_[b].indexedCents;
        });
        if (order.size() > static_cast<std::size_t>(computationYears_))
            order.resize(static_cast<std::size_t>(computationYears_));
        for (std::size_t i : order) {
            years_[i].amongHighest = true;
            totalIndexedCents_ += years_[i].indexedCents;
        }
        yearsWithEarnings_ = static_cast<int>(order.size());
        // The sum over the months of the computation years, down to the dollar.
        aimeDollars_ = totalIndexedCents_ / (static_cast<std::int64_t>(computationYears_) * 1200);

        const auto [b1, b2] = BendPoints(indexingAwiCents_, series.At(kBendBaseYear).awiCents);
        bend1_ = b1;
        bend2_ = b2;
        piaAtEligibilityCents_ = PiaFromAime(aimeDollars_, bend1_, bend2_);

        // The COLAs from December of the eligibility year up to the December before the
        // as-of year: the planner raises the benefit once for each later year itself.
        std::int64_t pia = piaAtEligibilityCents_;
        for (int year = eligibilityYear_; year < asOfYear_; ++year) {
            const SeriesYear& figures = series.At(year);
            pia = ApplyColaToPia(pia, figures.colaMillionths);
            colaSteps_.push_back({year, figures.colaMillionths, figures.colaProjected, pia});
            if (figures.colaProjected)
                projectedCola_.push_back(year);
        }
        if (eligibilityYear_ > asOfYear_) {
            // Taken back by the plan's COLA, which the planner adds again year by year.
            yearsTakenBack_ = eligibilityYear_ - asOfYear_;
            Wide value = static_cast<Wide>(pia) * kMillion;
            for (int k = 0; k < yearsTakenBack_; ++k)
                value = value * kMillion / (kMillion + cola_);
            pia = FloorToDime(static_cast<std::int64_t>(value / kMillion));
        }
        piaAsOfCents_ = pia;
    } catch (const ProgramDataError& e) {
        throw PiaError(e.what());
    }

    totalCredits_ = creditsBefore1951_;
    for (const auto& row : years_)
        totalCredits_ += row.credits;
    insured_ = totalCredits_ >= kCreditsNeeded;
}

std::vector<std::string> PiaComputation::Notes() const {
    std::vector<std::string> notes;
    notes.push_back("Program data: " + source_ + "; wage index published to " +
                    std::to_string(lastAwiYear_) + ".");
    notes.push_back("Assumed wage growth: " + PercentText(wageGrowth_) + " % a year" +
                    (wageGrowthIsDefault_ ? " (the mean yearly growth of the wage index " +
                                                std::to_string(lastAwiYear_ - 10) + "-" +
                                                std::to_string(lastAwiYear_) + ")."
                                          : "."));
    if (!projectedAwi_.empty()) {
        notes.push_back("Projected, not published: the wage index of " + YearsText(projectedAwi_) +
                        ", grown by the assumed wage growth.");
    }
    if (!projectedMax_.empty()) {
        notes.push_back("Projected, not published: the taxable maximum of " +
                        YearsText(projectedMax_) + ", derived from the wage index.");
    }
    if (!projectedCola_.empty()) {
        notes.push_back("Projected, not published: the COLA of December " +
                        YearsText(projectedCola_) + ", at the plan's COLA of " +
                        PercentText(cola_) + " %.");
    }
    const std::string asOf = std::to_string(asOfYear_);
    const std::string eligibility = std::to_string(eligibilityYear_);
    if (eligibilityYear_ < asOfYear_) {
        notes.push_back("The PIA at eligibility (" + eligibility + ") received each COLA from " +
                        "December " + eligibility + " to December " +
                        std::to_string(asOfYear_ - 1) + ": " + DollarsText(piaAsOfCents_) +
                        " in dollars of " + asOf + ", the as-of year; the planner adds the " +
                        "COLA of each later year.");
    } else if (eligibilityYear_ == asOfYear_) {
        notes.push_back("The client attains 62 in the as-of year: the PIA is in dollars of " +
                        asOf + " and receives its first COLA in December " + asOf + ".");
    } else {
        notes.push_back(
            "The client attains 62 in " + eligibility +
            ", after the as-of year: the PIA at eligibility, " +
            DollarsText(piaAtEligibilityCents_) + ", is in dollars of " + eligibility +
            " (bend points from the wage index of " + std::to_string(IndexingYear()) +
            (bendPointsProjected_ ? ", projected" : "") + "). Taken back to dollars of " + asOf +
            ", the as-of year, by the plan's COLA of " + PercentText(cola_) +
            " % for each of the " + std::to_string(yearsTakenBack_) +
            " years, which the planner adds again: " + DollarsText(piaAsOfCents_) + ".");
    }
    bool estimated = creditsBefore1951_ > 0;
    for (const auto& row : years_)
        estimated = estimated || row.creditsEstimated;
    if (estimated) {
        notes.push_back(
            "Credits before 1978 are estimated from yearly totals: four for a year at the "
            "taxable maximum, otherwise one for each $100 (at most four); before 1951 one for "
            "each $400 of the total wages.");
    }
    if (insured_) {
        notes.push_back("Credits: " + std::to_string(totalCredits_) + " (40 needed): insured.");
    } else {
        notes.push_back("Credits: " + std::to_string(totalCredits_) +
                        "; 40 are needed. On this record the client has no retirement benefit "
                        "of their own (the client can still be a spouse in a couple's plan).");
    }
    return notes;
}

}  // namespace velmora::planner
