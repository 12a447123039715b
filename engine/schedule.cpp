#include "engine/schedule.h"

#include <algorithm>
#include <climits>

#include "engine/moneytext.h"

namespace velmora {

const std::array<const char*, kResultColumns> kColumnTitles = {
    "Year",
    "No. of Months",
    "Age",
    "Monthly Benefit at Early Retirement",
    "Annual Benefit at Early Retirement",
    "Present Value",
    "PV Cumulative Benefits",
    "Monthly Benefit at Later Retirement",
    "Annual Benefit at Later Retirement",
    "Present Value",
    "PV Cumulative Benefits",
    "Difference PV Cumulative Benefits",
};

MemoryCellStore::MemoryCellStore() : rowCount_(kInitialRowCount), rows_(kInitialRowCount) {
    for (std::size_t c = 0; c < kResultColumns; ++c)
        rows_[0][c] = kColumnTitles[c];
}

void MemoryCellStore::SetRowCount(int rows) {
    // Rows dropped by a smaller count are gone; rows added later start empty.
    rowCount_ = std::max(rows, 1);
    rows_.resize(static_cast<std::size_t>(rowCount_));
}

void MemoryCellStore::SetCellText(int column, int row, const std::string& text) {
    if (row < 0 || row >= rowCount_ || column < 0 || column >= kResultColumns)
        return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
}

std::string MemoryCellStore::GetCellText(int column, int row) const {
    if (row < 0 || row >= rowCount_ || column < 0 || column >= kResultColumns)
        return {};
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

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
    TCellStore& cells = *table.cells;
    // A money text is made only for a cell the store keeps.
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

std::string ResultMessage(const TResultTable& table) {
    if (table.BreakEvenFound)
        return "Breakeven point occurs in the year " + table.BreakEvenYear;
    return "Breakeven point not reached using these parameters.";
}

}  // namespace velmora
