#include "report/summary/householdview.h"

#include <cmath>
#include <map>

namespace velmora {

namespace {

using planner::AgeRules;
using planner::Month;

// The year of age (62..70) in which a claim month falls; 70 holds only the month 70 is
// attained, as no month after it is an option.
int AgeYearOf(const AgeRules& age, Month month) {
    return age.AgeMonthsIn(month) / 12;
}

// The months of each year of age that lie within a person's range of choices.
std::vector<std::vector<Month>> MonthsByAge(const AgeRules& age, Month first, int count) {
    std::vector<std::vector<Month>> byAge(kGridAges);
    for (int i = 0; i < count; ++i) {
        const Month m{first.index + i};
        const int year = AgeYearOf(age, m);
        if (year >= kGridFirstAge && year < kGridFirstAge + kGridAges)
            byAge[static_cast<std::size_t>(year - kGridFirstAge)].push_back(m);
    }
    return byAge;
}

}  // namespace

std::vector<std::vector<PairCell>> PairCells(const planner::CoupleSearch& search,
                                             const planner::HouseholdInputs& inputs) {
    std::vector<std::vector<PairCell>> cells(
        kGridAges, std::vector<PairCell>(static_cast<std::size_t>(kGridAges)));
    if (!inputs.spouse || search.values.empty())
        return cells;
    const auto clientMonths =
        MonthsByAge(AgeRules(inputs.client.born), search.clientFirst, search.clientCount);
    const auto spouseMonths =
        MonthsByAge(AgeRules(inputs.spouse->born), search.spouseFirst, search.spouseCount);
    for (std::size_t r = 0; r < cells.size(); ++r) {
        for (std::size_t c = 0; c < cells[r].size(); ++c) {
            PairCell& cell = cells[r][c];
            // Months in order, so a strictly larger value is needed to replace: the earlier
            // client month, then the earlier spouse month, wins a tie.
            for (const Month cm : clientMonths[r]) {
                for (const Month sm : spouseMonths[c]) {
                    const long double v = search.Value(cm, sm);
                    if (!cell.possible || v > cell.value) {
                        cell = PairCell{true, cm, sm, v};
                    }
                }
            }
        }
    }
    return cells;
}

std::string ClaimWords(const planner::PersonInputs& person, Month claim) {
    return planner::MonthText(claim) + " at " +
           planner::AgeText(AgeRules(person.born).AgeMonthsIn(claim));
}

std::string PairWords(const planner::HouseholdInputs& inputs, Month client, Month spouse) {
    std::string words = "Client claims " + ClaimWords(inputs.client, client);
    if (inputs.spouse)
        words += ", spouse " + ClaimWords(*inputs.spouse, spouse);
    return words;
}

std::vector<ReferenceLine> References(const planner::CoupleSearch& search) {
    std::vector<ReferenceLine> lines;
    for (const auto& [name, choice] :
         {std::pair{"Both at the earliest month", search.bothEarliest},
          std::pair{"Both at FRA", search.bothFra}, std::pair{"Both at 70", search.both70}}) {
        lines.push_back(ReferenceLine{name, choice, choice.value - search.best.value});
    }
    return lines;
}

planner::BreakEvenChartData ExpectedValueChart(const planner::HouseholdModel& model, Month client,
                                               std::optional<Month> spouse) {
    using planner::Who;
    planner::BreakEvenChartData data;
    const planner::HouseholdInputs& in = model.Inputs();
    const bool couple = in.spouse.has_value() && spouse.has_value();
    const int months = model.MonthCount();
    if (months <= 0)
        return data;
    const Month asOf = model.Rules().AsOf();
    const long double rate = in.rate / 100;

    // The chance that a payment for month k reaches each person: alive to the end of it.
    const auto alive = [&](Who who, int k) -> long double {
        if (k < 0)
            return 1;
        return k < months ? model.Alive(who, k) : 0;
    };
    // The survivor streams read the same few hundred factors again for every month of
    // death, so each is worked out once; a month outside the table is worked out as read.
    std::vector<long double> discounts(static_cast<std::size_t>(months) + 2);
    for (std::size_t k = 0; k < discounts.size(); ++k)
        discounts[k] = std::pow(1 + rate, -static_cast<long double>(k) / 12);
    const auto discount = [&](int paidK) {
        if (paidK >= 0 && static_cast<std::size_t>(paidK) < discounts.size())
            return discounts[static_cast<std::size_t>(paidK)];
        return std::pow(1 + rate, -static_cast<long double>(paidK) / 12);
    };
    // Expected value of each benefit month k for a choice, the household summed.
    const auto monthly = [&](Month c, std::optional<Month> s) {
        std::vector<long double> value(static_cast<std::size_t>(months), 0);
        const auto both = model.Payments(c, s);
        for (const planner::PaymentRow& row : both) {
            const int k = row.benefitMonth.index - asOf.index;
            if (k < 0 || k >= months)
                continue;
            const long double d = discount(row.paidMonth.index - asOf.index);
            if (!couple) {
                value[static_cast<std::size_t>(k)] +=
                    static_cast<long double>(row.client.dollars) * alive(Who::Client, k) * d;
                continue;
            }
            // Both alive through month k.
            value[static_cast<std::size_t>(k)] +=
                (static_cast<long double>(row.client.dollars) + row.spouse.dollars) *
                alive(Who::Client, k) * alive(Who::Spouse, k) * d;
        }
        if (!couple)
            return value;
        // One died first in month j; the other is paid by the stream that follows that death.
        for (const Who dead : {Who::Client, Who::Spouse}) {
            const Who survivor = dead == Who::Client ? Who::Spouse : Who::Client;
            for (int j = 0; j < months; ++j) {
                const long double died = alive(dead, j - 1) - alive(dead, j);
                if (died <= 0)
                    continue;
                // Only the months from the death on are read.
                const Month deathMonth{asOf.index + j};
                const auto after =
                    model.Payments(c, s, planner::Death{dead, deathMonth}, deathMonth);
                for (const planner::PaymentRow& row : after) {
                    const int k = row.benefitMonth.index - asOf.index;
                    if (k < j || k >= months)
                        continue;
                    const planner::PersonPayment& paid =
                        survivor == Who::Client ? row.client : row.spouse;
                    value[static_cast<std::size_t>(k)] +=
                        static_cast<long double>(paid.dollars) * alive(survivor, k) * died *
                        discount(row.paidMonth.index - asOf.index);
                }
            }
        }
        return value;
    };

    const Month earliestClient = model.FirstChoice(Who::Client);
    const std::optional<Month> earliestSpouse =
        couple ? std::optional<Month>(model.FirstChoice(Who::Spouse)) : std::nullopt;
    const std::vector<long double> early = monthly(earliestClient, earliestSpouse);
    const std::vector<long double> chosen = monthly(client, couple ? spouse : std::nullopt);

    long double sumEarly = 0;
    long double sumChosen = 0;
    bool below = false;
    for (int k = 0; k < months; ++k) {
        sumEarly += early[static_cast<std::size_t>(k)];
        sumChosen += chosen[static_cast<std::size_t>(k)];
        const Month m{asOf.index + k};
        if (m.MonthOfYear() != 12 && k != months - 1)
            continue;
        data.years.push_back(m.Year());
        data.early.push_back(sumEarly);
        data.later.push_back(sumChosen);
        const long double c = alive(Who::Client, k);
        data.alivePercent.push_back(100 * c);
        if (couple) {
            const long double s = alive(Who::Spouse, k);
            data.spouseAlivePercent.push_back(100 * s);
            data.eitherAlivePercent.push_back(100 * (1 - (1 - c) * (1 - s)));
        }
        // The chosen claim overtakes the earliest in the first year it is no longer behind.
        if (sumChosen < sumEarly) {
            below = true;
        } else if (below && !data.breakEvenFound) {
            data.breakEvenFound = true;
            data.breakEvenYear = m.Year();
        }
    }
    data.earlyName = couple ? "Both at the earliest month" : "Earliest month";
    data.laterName = couple ? "Chosen pair" : "Chosen month";
    data.valueTitle = "Cumulative expected value";
    return data;
}

}  // namespace velmora
