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
        cells.SetCellText(grdEarlyBenefit, r, MoneyText(MoneyToReal(early), 2));
        if (r > 1)
            earlyMonths = 12;
        const long double annual = AnnualAmount(earlyMonths, early);
        cells.SetCellText(grdAnnualEarlyBenefit, r, MoneyText(annual, 0));
        const TMoney pv = PresentValue(annual, in.Rate, r);
        cells.SetCellText(grdEarlyPv, r, MoneyText(MoneyToReal(pv), 0));
        earlyTotal = MoneySum(earlyTotal, pv);
        table.CumEarly[row] = earlyTotal;
        cells.SetCellText(grdEarlyPvCumulative, r, MoneyText(MoneyToReal(earlyTotal), 0));
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
        cells.SetCellText(grdLaterBenefit, r, MoneyText(MoneyToReal(later), 2));
        if (year > laterStart)
            laterMonths = 12;
        const long double annual = AnnualAmount(laterMonths, later);
        cells.SetCellText(grdAnnualLaterBenefit, r, MoneyText(annual, 0));
        const TMoney pv = PresentValue(annual, in.Rate, r);
        cells.SetCellText(grdLaterPv, r, MoneyText(MoneyToReal(pv), 0));
        laterTotal = MoneySum(laterTotal, pv);
        table.CumLater[row] = laterTotal;
        cells.SetCellText(grdLaterPvCumulative, r, MoneyText(MoneyToReal(laterTotal), 0));
        later = ApplyCola(later, in.Cola);
    }

    for (int r = 1; r <= years; ++r) {
        const auto row = static_cast<std::size_t>(r);
        // The exact difference of the two counts; it can need 65 bits.
        __extension__ const __int128 counts =
            static_cast<__int128>(table.CumEarly[row].count) - table.CumLater[row].count;
        const long double difference = static_cast<long double>(counts) / 10000;
        cells.SetCellText(grdDifference, r, MoneyText(difference, 0));
        if (difference < 0 && !table.BreakEvenFound) {
            table.BreakEvenYear = cells.GetCellText(grdYear, r);
            table.BreakEvenFound = true;
        }
    }
}

std::string ResultMessage(const TResultTable& table) {
    if (table.BreakEvenFound)
        return "Breakeven point occurs in the year " + table.BreakEvenYear;
    return "Breakeven point not reached using these parameters.";
}

}  // namespace velmora
