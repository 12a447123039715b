#include "report/summary/breakevenchart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

QLineSeries* AddLine(QChart& chart, const char* objectName, const QString& legend,
                     const QColor& colour, Qt::PenStyle style = Qt::SolidLine, qreal width = 2) {
    auto* series = new QLineSeries(&chart);
    series->setObjectName(QString::fromLatin1(objectName));
    series->setName(legend);
    QPen pen(colour);
    pen.setWidthF(width);
    pen.setStyle(style);
    series->setPen(pen);
    chart.addSeries(series);
    return series;
}

// A round step for an axis running up to `top`, so that the labels read as whole amounts.
double NiceTop(double top) {
    if (top <= 0)
        return 1;
    const double magnitude = std::pow(10.0, std::floor(std::log10(top)));
    for (const double step : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (top <= step * magnitude)
            return step * magnitude;
    }
    return 10 * magnitude;
}

// The amount in the money text of the tables, whole dollars: the locale's own currency and
// group marks, never another currency beside the tables.
QString AmountLabel(ChartMoneyText money, double value) {
    return QString::fromStdString(money(static_cast<long double>(value), 0));
}

}  // namespace

void FillBreakEvenChart(QChart& chart, const planner::BreakEvenChartData& data,
                        ChartMoneyText money, bool compact, int labelEvery) {
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
    chart.setBackgroundRoundness(0);
    chart.legend()->setAlignment(Qt::AlignBottom);
    if (data.Empty()) {
        chart.setTitle(QString::fromLatin1(kChartHint));
        chart.legend()->hide();
        return;
    }
    const QString valueTitle = data.valueTitle.empty() ? QStringLiteral("Cumulative present value")
                                                       : QString::fromStdString(data.valueTitle);
    chart.setTitle(compact ? QString() : valueTitle + QStringLiteral(" by year"));
    chart.legend()->show();
    QFont small = chart.legend()->font();
    if (compact) {
        small.setPixelSize(9);
        chart.legend()->setFont(small);
    }

    const QString earlyName = !data.earlyName.empty() ? QString::fromStdString(data.earlyName)
                              : compact               ? QStringLiteral("Early")
                                                      : QStringLiteral("Early start");
    const QString laterName = !data.laterName.empty() ? QString::fromStdString(data.laterName)
                              : compact               ? QStringLiteral("Later")
                                                      : QStringLiteral("Later start");
    QLineSeries* early = AddLine(chart, kEarlySeriesName, earlyName, QColor(28, 130, 179));
    QLineSeries* later = AddLine(chart, kLaterSeriesName, laterName, QColor(200, 60, 30));
    double low = 0;
    double high = 0;
    for (std::size_t i = 0; i < data.years.size(); ++i) {
        const double year = data.years[i];
        const double e = static_cast<double>(data.early[i]);
        const double l = static_cast<double>(data.later[i]);
        early->append(year, e);
        later->append(year, l);
        low = std::min({low, e, l});
        high = std::max({high, e, l});
    }
    const double top = NiceTop(high);
    const double bottom = low < 0 ? -NiceTop(-low) : 0;

    auto* xAxis = new QValueAxis(&chart);
    xAxis->setLabelFormat(QStringLiteral("%d"));
    const int first = data.years.front();
    const int last = std::max(data.years.back(), first + 1);
    xAxis->setRange(first, last);
    const int span = last - first;
    xAxis->setTickType(QValueAxis::TicksDynamic);
    xAxis->setTickAnchor(first);
    // A label at every year that fits: the chart's plot width over a label's width.
    // A four-digit year and the gap to the next one.
    const double labelWidth = compact ? 34 : 46;
    const double plotWidth = std::max(100.0, chart.size().width() - (compact ? 140 : 180));
    const int fit = std::max(1, static_cast<int>(plotWidth / labelWidth));
    int step = 1;
    for (const int candidate : {1, 2, 5, 10, 20}) {
        step = candidate;
        if (span / candidate <= fit)
            break;
    }
    xAxis->setTickInterval(labelEvery > 0 ? labelEvery : step);
    xAxis->setMinorTickCount(step > 1 && labelEvery == 0 ? step - 1 : 0);
    // Amounts on the left in whole thousands where they are large, with their group marks.
    auto* yAxis = new QCategoryAxis(&chart);
    yAxis->setRange(bottom, top);
    yAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    constexpr int kSteps = 5;
    for (int i = 0; i <= kSteps; ++i) {
        const double value = bottom + (top - bottom) * i / kSteps;
        yAxis->append(AmountLabel(money, value), value);
    }
    if (compact) {
        for (QAbstractAxis* axis :
             {static_cast<QAbstractAxis*>(xAxis), static_cast<QAbstractAxis*>(yAxis)})
            axis->setLabelsFont(small);
    }
    xAxis->setTitleText(QStringLiteral("Year"));
    yAxis->setTitleText(valueTitle);
    if (compact) {
        QFont title = small;
        title.setBold(true);
        xAxis->setTitleFont(title);
        yAxis->setTitleFont(title);
    }
    chart.addAxis(xAxis, Qt::AlignBottom);
    chart.addAxis(yAxis, Qt::AlignLeft);
    for (QLineSeries* s : {early, later}) {
        s->attachAxis(xAxis);
        s->attachAxis(yAxis);
    }

    if (data.breakEvenFound) {
        QLineSeries* mark = AddLine(chart, kBreakEvenSeriesName,
                                    QStringLiteral("Break-even %1").arg(data.breakEvenYear),
                                    QColor(40, 40, 40), Qt::DashLine, 1.5);
        mark->append(data.breakEvenYear, bottom);
        mark->append(data.breakEvenYear, top);
        mark->attachAxis(xAxis);
        mark->attachAxis(yAxis);
    }

    if (!data.alivePercent.empty()) {
        auto* percentAxis = new QValueAxis(&chart);
        percentAxis->setRange(0, 100);
        percentAxis->setTickCount(6);
        percentAxis->setLabelFormat(QStringLiteral("%.0f %%"));
        percentAxis->setTitleText(QStringLiteral("Chance alive"));
        if (compact) {
            percentAxis->setLabelsFont(small);
            QFont title = small;
            title.setBold(true);
            percentAxis->setTitleFont(title);
        }
        chart.addAxis(percentAxis, Qt::AlignRight);
        const bool couple = !data.spouseAlivePercent.empty();
        const struct {
            const char* name;
            QString legend;
            const std::vector<long double>* values;
            QColor colour;
            Qt::PenStyle style;
        } lines[] = {
            {kAliveSeriesName,
             couple ? QStringLiteral("Client alive")
                    : (compact ? QStringLiteral("Alive") : QStringLiteral("Chance alive")),
             &data.alivePercent, QColor(60, 150, 60), Qt::DotLine},
            {kSpouseAliveSeriesName, QStringLiteral("Spouse alive"), &data.spouseAlivePercent,
             QColor(150, 90, 170), Qt::DotLine},
            {kEitherAliveSeriesName, QStringLiteral("Either alive"), &data.eitherAlivePercent,
             QColor(110, 110, 110), Qt::DashDotLine},
        };
        for (const auto& line : lines) {
            if (line.values->empty())
                continue;
            QLineSeries* alive = AddLine(chart, line.name, line.legend, line.colour, line.style, 2);
            for (std::size_t i = 0; i < data.years.size() && i < line.values->size(); ++i)
                alive->append(data.years[i], static_cast<double>((*line.values)[i]));
            alive->attachAxis(xAxis);
            alive->attachAxis(percentAxis);
        }
    }
}

QLineSeries* FindChartSeries(const QChart& chart, const char* objectName) {
    for (QAbstractSeries* series : chart.series()) {
        if (series->objectName() == QLatin1String(objectName))
            return qobject_cast<QLineSeries*>(series);
    }
    return nullptr;
}

}  // namespace velmora
