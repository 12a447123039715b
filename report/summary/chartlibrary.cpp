// The chart library's side: the functions the program reaches through ChartLibrary.
#include "report/summary/chartlibrary.h"

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QPen>

namespace velmora {

namespace {

QWidget* MakeView(QWidget* parent, const QFont& titleFont) {
    auto* chart = new QChart();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setTitleFont(titleFont);
    auto* view = new QChartView(chart, parent);
    view->setObjectName(QStringLiteral("chart"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setFrameShape(QFrame::Box);
    view->setFocusPolicy(Qt::NoFocus);
    view->setAccessibleName(QStringLiteral("Expected value chart"));
    return view;
}

void FillView(QWidget* view, const planner::BreakEvenChartData& data, ChartMoneyText money) {
    auto* chartView = qobject_cast<QChartView*>(view);
    if (chartView != nullptr)
        FillBreakEvenChart(*chartView->chart(), data, money, true);
}

void Paint(QPainter& painter, const QRectF& target, const planner::BreakEvenChartData& data,
           ChartMoneyText money) {
    // The chart is laid out at screen resolution (96 per inch) and scaled onto the page.
    const QRectF source(0, 0, target.width() * 0.96, target.height() * 0.96);
    QGraphicsScene scene;
    auto* chart = new QChart();
    scene.addItem(chart);
    chart->setGeometry(source);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundVisible(false);
    FillBreakEvenChart(*chart, data, money);
    scene.setSceneRect(source);
    // The chart lays out its axes, labels and legend in posted events.
    QCoreApplication::sendPostedEvents();
    if (chart->layout() != nullptr)
        chart->layout()->activate();
    painter.save();
    painter.setPen(QPen(QColor(160, 160, 160), 1));
    painter.drawRect(target);
    scene.render(&painter, target, source);
    painter.restore();
}

const ChartLibrary kLibrary{&MakeView, &FillView, &Paint};

}  // namespace

}  // namespace velmora

extern "C" __attribute__((visibility("default"))) const velmora::ChartLibrary*
velmora_chart_library() {
    return &velmora::kLibrary;
}
