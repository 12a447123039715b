#pragma once

#include <QString>
#include <string>

#include "planner/chartdata.h"

class QChart;
class QLineSeries;
class QScatterSeries;

namespace velmora {

/// The money text of the tables (MoneyText): the chart's library takes it from the program,
/// which holds the user's money format.
using ChartMoneyText = std::string (*)(long double amount, int decimals);

/// Object names of the chart's series, for finding them again.
inline constexpr const char* kEarlySeriesName = "earlyCumulativePv";
inline constexpr const char* kLaterSeriesName = "laterCumulativePv";
inline constexpr const char* kBreakEvenSeriesName = "breakEven";
inline constexpr const char* kAliveSeriesName = "chanceAlive";
inline constexpr const char* kSpouseAliveSeriesName = "spouseChanceAlive";
inline constexpr const char* kEitherAliveSeriesName = "eitherChanceAlive";

/// The hint an empty chart shows.
inline constexpr const char* kChartHint = "Calculate to see the two starts compared.";

/// Fills the chart anew from the data: the cumulative present value of the early and the
/// later start by year (left axis, dollars), the break-even year marked by a vertical line
/// where the later line passes the early one, and the chance of being alive at the end
/// of each year on a right axis 0-100 % when the data has it. Without data: no series,
/// no axes, the hint as the title.
/// For a couple the data's spouse and either-alive lines are drawn on the right axis too.
/// Amounts are in the money text of the tables; a year label stands at every year that fits
/// the chart's width (or every `labelEvery` years when given).
/// compact: for a small view on screen; smaller labels and titles, no chart title.
/// These two live in the chart library (see chartlibrary.h), which the program loads when it
/// first draws a chart.
void FillBreakEvenChart(QChart& chart, const planner::BreakEvenChartData& data,
                        ChartMoneyText money, bool compact = false, int labelEvery = 0);

/// The chart's points of a named series, for checks; empty when there is none.
QLineSeries* FindChartSeries(const QChart& chart, const char* objectName);

}  // namespace velmora
