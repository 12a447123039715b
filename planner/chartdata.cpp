#include "planner/chartdata.h"

#include <algorithm>

namespace velmora::planner {

std::optional<int> YearOfCell(const std::string& text) {
    int value = 0;
    bool digits = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            if (value > 100000)
                return std::nullopt;
            value = value * 10 + (c - '0');
            digits = true;
        } else if (c != ' ' && c != ',' && c != '.') {
            // Group marks of a regional setting may stand in a year; anything else means
            // the cell is no year.
            return std::nullopt;
        }
    }
    return digits ? std::optional<int>(value) : std::nullopt;
}

BreakEvenChartData ChartDataFrom(const TResultTable& table,
                                 const std::optional<SurvivalBasis>& client,
                                 const LifeTable& lifeTable) {
    BreakEvenChartData data;
    const int rows =
        std::min({table.cells.RowCount() - 1, static_cast<int>(table.CumEarly.size()) - 1,
                  static_cast<int>(table.CumLater.size()) - 1});
    for (int r = 1; r <= rows; ++r) {
        const std::optional<int> year = YearOfCell(table.cells.GetCellText(grdYear, r));
        if (!year)
            break;
        data.years.push_back(*year);
        data.early.push_back(MoneyToReal(table.CumEarly[static_cast<std::size_t>(r)]));
        data.later.push_back(MoneyToReal(table.CumLater[static_cast<std::size_t>(r)]));
    }
    if (table.BreakEvenFound) {
        if (const auto year = YearOfCell(table.BreakEvenYear)) {
            data.breakEvenFound = true;
            data.breakEvenYear = *year;
        }
    }
    if (client && !data.Empty()) {
        const AgeRules age(client->born);
        const long double ageNow = age.AgeOn(client->asOf);
        for (const int year : data.years) {
            const long double end = static_cast<long double>(year) + 1;
            const long double chance =
                end <= FractionalYear(client->asOf)
                    ? 1.0L
                    : lifeTable.SurvivalChance(client->sex, ageNow, age.AgeAt(end));
            data.alivePercent.push_back(chance * 100);
        }
    }
    return data;
}

}  // namespace velmora::planner
