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

// "$250k" for an axis reaching 10,000 or more, else "$2,500"; group marks every three digits.
QString AmountLabel(double value, double top) {
    const bool thousands = top >= 10000 && value != 0;
    long long n = static_cast<long long>(std::llround(thousands ? value / 1000 : value));
    const bool negative = n < 0;
    QString digits = QString::number(negative ? -n : n);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return (negative ? QStringLiteral("-$") : QStringLiteral("$")) + digits +
           (thousands ? QStringLiteral("k") : QString());
}

}  // namespace

void FillBreakEvenChart(QChart& chart, const planner::BreakEvenChartData& data, bool compact) {
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
    chart.setTitle(compact ? QString() : QStringLiteral("Cumulative present value by year"));
    chart.legend()->show();
    QFont small = chart.legend()->font();
    if (compact) {
        small.setPixelSize(9);
        chart.legend()->setFont(small);
    }

    QLineSeries* early = AddLine(chart, kEarlySeriesName,
                                 compact ? QStringLiteral("Early") : QStringLiteral("Early start"),
                                 QColor(28, 130, 179));
    QLineSeries* later = AddLine(chart, kLaterSeriesName,
                                 compact ? QStringLiteral("Later") : QStringLiteral("Later start"),
                                 QColor(200, 60, 30));
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
    xAxis->setTickInterval(compact ? (span > 20  ? 10
                                      : span > 8 ? 5
                                                 : 1)
                                   : (span > 20  ? 5
                                      : span > 8 ? 2
                                                 : 1));
    // Amounts on the left in whole thousands where they are large, with their group marks.
    auto* yAxis = new QCategoryAxis(&chart);
    yAxis->setRange(bottom, top);
    yAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    constexpr int kSteps = 5;
    for (int i = 0; i <= kSteps; ++i) {
        const double value = bottom + (top - bottom) * i / kSteps;
        yAxis->append(AmountLabel(value, top), value);
    }
    if (compact) {
        for (QAbstractAxis* axis :
             {static_cast<QAbstractAxis*>(xAxis), static_cast<QAbstractAxis*>(yAxis)})
            axis->setLabelsFont(small);
    } else {
        xAxis->setTitleText(QStringLiteral("Year"));
        yAxis->setTitleText(QStringLiteral("Cumulative present value"));
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
        QLineSeries* alive =
            AddLine(chart, kAliveSeriesName,
                    compact ? QStringLiteral("Alive") : QStringLiteral("Chance alive"),
                    QColor(60, 150, 60), Qt::DotLine, 2);
        for (std::size_t i = 0; i < data.years.size() && i < data.alivePercent.size(); ++i)
            alive->append(data.years[i], static_cast<double>(data.alivePercent[i]));
        auto* percentAxis = new QValueAxis(&chart);
        percentAxis->setRange(0, 100);
        percentAxis->setTickCount(6);
        percentAxis->setLabelFormat(QStringLiteral("%.0f %%"));
        if (compact) {
            percentAxis->setLabelsFont(small);
        } else {
            percentAxis->setTitleText(QStringLiteral("Chance alive"));
        }
        chart.addAxis(percentAxis, Qt::AlignRight);
        alive->attachAxis(xAxis);
        alive->attachAxis(percentAxis);
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
