#include "engine/schedule.h"

#include <algorithm>
#include <climits>

#include "engine/moneytext.h"

namespace velmora {

namespace {

// Wrapping 32-bit addition: the year and age texts of inputs far outside the fields'
// rules must not be undefined behaviour.
std::int32_t WrappedSum(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// 13 - month: the months of a first year that starts in that month.
std::int32_t FirstYearMonths(std::int32_t month) {
    return static_cast<std::int32_t>(13u - static_cast<std::uint32_t>(month));
}

TMoney PresentValue(long double annual, long double rate, int row) {
    if (rate > 0) {
        return MoneyFromReal(
            DiscountedWorth(rate / 100, row - 1, 0, annual, pfYearly, ptPeriodEnd));
    }
    return MoneyFromReal(annual);
}

}  // namespace

void BuildSchedule(const ScheduleInputs& in, TResultTable& table) {
    ResultCells& cells = table.cells;
    // A money text is made only for a cell the table keeps.
    const auto putMoney = [&cells](int column, int row, long double amount, int decimals) {
        if (cells.KeepsText(column, row))
            cells.SetCellText(column, row, MoneyText(amount, decimals));
    };

    TMoney early = MoneyFromReal(in.EarlyBenefit);
    TMoney later = MoneyFromReal(in.LaterBenefit);
    TMoney earlyTotal{};
    TMoney laterTotal{};
    table.BreakEvenFound = false;
    table.BreakEvenYear.clear();
    std::int32_t earlyMonths = FirstYearMonths(in.EarlyMonth);
    std::int32_t laterMonths = FirstYearMonths(in.LaterMonth);

    const int years = std::clamp(in.Years, 0, INT_MAX - 1);
    cells.SetRowCount(years + 1);
    table.CumEarly.assign(static_cast<std::size_t>(years) + 1, TMoney{});
    table.CumLater.assign(static_cast<std::size_t>(years) + 1, TMoney{});

    for (int r = 1; r <= years; ++r) {
        cells.SetCellText(grdYear, r, WholeText(WrappedSum(in.EarlyYear, r - 1)));
    }
    for (int r = 1; r <= years; ++r) {
        cells.SetCellText(grdMonths, r, r == 1 ? WholeText(FirstYearMonths(in.EarlyMonth)) : "12");
    }
    for (int r = 1; r <= years; ++r) {
        cells.SetCellText(grdAge, r, WholeText(WrappedSum(in.Age, r - 1)));
    }

    for (int r = 1; r <= years; ++r) {
        const auto row = static_cast<std::size_t>(r);
        putMoney(grdEarlyBenefit, r, MoneyToReal(early), 2);
        if (r > 1)
            earlyMonths = 12;
        const long double annual = AnnualAmount(earlyMonths, early);
        putMoney(grdAnnualEarlyBenefit, r, annual, 0);
        const TMoney pv = PresentValue(annual, in.Rate, r);
        putMoney(grdEarlyPv, r, MoneyToReal(pv), 0);
        earlyTotal = MoneySum(earlyTotal, pv);
        table.CumEarly[row] = earlyTotal;
        putMoney(grdEarlyPvCumulative, r, MoneyToReal(earlyTotal), 0);
        early = ApplyCola(early, in.Cola);
    }

    // Whether a row lies before the later start is decided on the year texts as the
    // table holds them, compared character by character.
    const std::string laterStart = WholeText(in.LaterYear);
    for (int r = 1; r <= years; ++r) {
        const auto row = static_cast<std::size_t>(r);
        const std::string year = cells.GetCellText(grdYear, r);
        if (year < laterStart) {
            cells.SetCellText(grdLaterBenefit, r, "0");
            cells.SetCellText(grdAnnualLaterBenefit, r, "0");
            cells.SetCellText(grdLaterPv, r, "0");
            cells.SetCellText(grdLaterPvCumulative, r, "0");
            table.CumLater[row] = TMoney{};
            continue;
        }
        putMoney(grdLaterBenefit, r, MoneyToReal(later), 2);
        if (year > laterStart)
            laterMonths = 12;
        const long double annual = AnnualAmount(laterMonths, later);
        putMoney(grdAnnualLaterBenefit, r, annual, 0);
        const TMoney pv = PresentValue(annual, in.Rate, r);
        putMoney(grdLaterPv, r, MoneyToReal(pv), 0);
        laterTotal = MoneySum(laterTotal, pv);
        table.CumLater[row] = laterTotal;
        putMoney(grdLaterPvCumulative, r, MoneyToReal(laterTotal), 0);
        later = ApplyCola(later, in.Cola);
    }

    for (int r = 1; r <= years; ++r) {
        const auto row = static_cast<std::size_t>(r);
        // The exact difference of the two counts; it can need 65 bits.
        __extension__ const __int128 counts =
            static_cast<__int128>(table.CumEarly[row].count) - table.CumLater[row].count;
        const long double difference = static_cast<long double>(counts) / 10000;
        putMoney(grdDifference, r, difference, 0);
        if (difference < 0 && !table.BreakEvenFound) {
            table.BreakEvenYear = cells.GetCellText(grdYear, r);
            table.BreakEvenFound = true;
        }
    }
}

ScheduleArithmetic::ScheduleArithmetic(const ScheduleInputs& early) : in_(early) {
    const int years = std::clamp(in_.Years, 0, INT_MAX - 1);
    const long long lastYear = static_cast<long long>(in_.EarlyYear) + years - 1;
    numeric_ = in_.EarlyYear >= 1000 && lastYear <= 9999;
    if (!numeric_)
        return;
    // The early side's pass of BuildSchedule, without its texts.
    cumEarly_.assign(static_cast<std::size_t>(years) + 1, TMoney{});
    TMoney benefit = MoneyFromReal(in_.EarlyBenefit);
    TMoney total{};
    std::int32_t months = FirstYearMonths(in_.EarlyMonth);
    for (int r = 1; r <= years; ++r) {
        if (r > 1)
            months = 12;
        total = MoneySum(total, PresentValue(AnnualAmount(months, benefit), in_.Rate, r));
        cumEarly_[static_cast<std::size_t>(r)] = total;
        benefit = ApplyCola(benefit, in_.Cola);
    }
}

void ScheduleArithmetic::Totals(std::int32_t laterYear, std::int32_t laterMonth,
                                long double laterBenefit, ScheduleTotals& out) const {
    ScheduleInputs in = in_;
    in.LaterYear = laterYear;
    in.LaterMonth = laterMonth;
    in.LaterBenefit = laterBenefit;
    if (!numeric_ || laterYear < 1000 || laterYear > 9999) {
        TResultTable table;
        BuildSchedule(in, table);
        out.CumEarly = table.CumEarly;
        out.CumLater = table.CumLater;
        out.BreakEvenFound = table.BreakEvenFound;
        out.BreakEvenYear = table.BreakEvenFound ? std::stoi(table.BreakEvenYear) : 0;
        return;
    }
    const int years = static_cast<int>(cumEarly_.size()) - 1;
    out.CumEarly = cumEarly_;
    out.CumLater.assign(cumEarly_.size(), TMoney{});
    out.BreakEvenFound = false;
    out.BreakEvenYear = 0;
    // Four-digit years: the text comparison of BuildSchedule is the comparison of numbers.
    TMoney benefit = MoneyFromReal(laterBenefit);
    TMoney total{};
    std::int32_t months = FirstYearMonths(laterMonth);
    for (int r = 1; r <= years; ++r) {
        const auto row = static_cast<std::size_t>(r);
        const std::int32_t year = in.EarlyYear + r - 1;
        if (year < laterYear)
            continue;
        if (year > laterYear)
            months = 12;
        total = MoneySum(total, PresentValue(AnnualAmount(months, benefit), in.Rate, r));
        out.CumLater[row] = total;
        benefit = ApplyCola(benefit, in.Cola);
    }
    for (int r = 1; r <= years && !out.BreakEvenFound; ++r) {
        const auto row = static_cast<std::size_t>(r);
        if (out.CumEarly[row].count < out.CumLater[row].count) {
            out.BreakEvenFound = true;
            out.BreakEvenYear = in.EarlyYear + r - 1;
        }
    }
}

std::string ResultMessage(const TResultTable& table) {
    if (table.BreakEvenFound)
        return "Breakeven point occurs in the year " + table.BreakEvenYear;
    return "Breakeven point not reached using these parameters.";
}

}  // namespace velmora
