// The "Planner" page: the client's date of birth, sex, benefit at full retirement age
// and as-of date, the claiming options of the plan, the break-even chart, and the
// commands that copy an option into the calculation and print the client summary.
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

#include "engine/money.h"
#include "fields/entrysettings.h"
#include "planner/chartdata.h"
#include "planner/companionfile.h"
#include "report/preview/breakevenreport.h"
#include "report/reportoutput.h"
#include "report/summary/breakevenchart.h"
#include "report/summary/clientsummary.h"
#include "scenario/scenarioinputs.h"
#include "ui/glyphs.h"
#include "ui/main.h"
#include "ui/notebook.h"
#include "ui/panels.h"
#include "ui/planner/earningsdialog.h"

namespace velmora {

namespace {

const QColor kPanelColour(217, 232, 240);
const QColor kPillFill(64, 173, 225);
const QColor kPillOutline(28, 130, 179);
const QColor kBarFill(27, 122, 169);
const QColor kFieldFrame(48, 159, 214);
const QColor kBestFill(255, 236, 160);

// Dates a client's birth and the plan's day may take in the fields; the planner file
// refuses others, which these fields could not show.
constexpr int kLowYear = planner::kLowestYear;
constexpr int kHighYear = planner::kHighestYear;
constexpr long double kHighBenefit = 99999.99L;

struct PlannerPill {
    const char* shape;
    QRect box;
    const char* label;
    const char* text;
};
const PlannerPill kPlannerPills[] = {
    {"Shape14", {12, 12, 80, 19}, "Label14", "Date of Birth"},
    {"Shape15", {190, 12, 40, 19}, "Label15", "Sex"},
    {"Shape16", {318, 12, 72, 19}, "Label16", "FRA Benefit"},
    {"Shape17", {498, 12, 72, 19}, "Label17", "As-of Date"},
};

std::optional<planner::Date> ToDate(const std::optional<FieldDate>& d) {
    if (!d)
        return std::nullopt;
    return planner::Date{d->year, d->month, d->day};
}

FieldDate ToFieldDate(const planner::Date& d) {
    return FieldDate{d.year, d.month, d.day};
}

QString PercentText(long double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4Lf %%", value);
    return QString::fromLatin1(buffer);
}

}  // namespace

void TfrmMain::BuildPlannerPage() {
    Panel4 = new BevelPanel(kPanelColour, OvcNotebook1);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    OvcNotebook1->AddPage(Panel4, QStringLiteral("Planner"));

    for (const PlannerPill& pill : kPlannerPills) {
        auto* shape =
            new ShapeWidget(ShapeWidget::Kind::RoundRect, kPillFill, kPillOutline, Panel4);
        shape->setObjectName(QString::fromLatin1(pill.shape));
        shape->setGeometry(pill.box);
        auto* label = new QLabel(QString::fromLatin1(pill.text), Panel4);
        label->setObjectName(QString::fromLatin1(pill.label));
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(pill.box.adjusted(1, 1, -1, -1));
    }

    oBirthDate = new TDateEntryField(kLowYear, kHighYear, entrySettings_, Panel4);
    oBirthDate->setObjectName(QStringLiteral("oBirthDate"));
    oBirthDate->setGeometry(100, 11, 80, 20);
    cmbSex = new QComboBox(Panel4);
    cmbSex->setObjectName(QStringLiteral("cmbSex"));
    cmbSex->addItems({QStringLiteral("Female"), QStringLiteral("Male")});
    cmbSex->setGeometry(238, 10, 72, 22);
    // The benefit at FRA takes money as the benefit fields do, up to the plan's limit.
    ScenarioInput benefit = InputOf(&TScenarioRec::LaterBenefit);
    benefit.high = kHighBenefit;
    benefit.widget = "oFraBenefit";
    oFraBenefit = new TNumericEntryField(benefit, entrySettings_, Panel4);
    oFraBenefit->setObjectName(QStringLiteral("oFraBenefit"));
    oFraBenefit->setGeometry(398, 11, 92, 20);
    oAsOfDate = new TDateEntryField(kLowYear, kHighYear, entrySettings_, Panel4);
    oAsOfDate->setObjectName(QStringLiteral("oAsOfDate"));
    oAsOfDate->setGeometry(578, 11, 80, 20);
    btnFromEarnings = new QPushButton(QString::fromUtf8("From &earnings\u2026"), Panel4);
    btnFromEarnings->setObjectName(QStringLiteral("btnFromEarnings"));
    btnFromEarnings->setAutoDefault(true);
    // The window owns the Alt keys (WirePlanner gives this one to the page).
    btnFromEarnings->setShortcut(QKeySequence());
    btnFromEarnings->setGeometry(666, 9, 104, 24);

    lblPlanRates = new QLabel(Panel4);
    lblPlanRates->setObjectName(QStringLiteral("lblPlanRates"));
    lblPlanRates->move(12, 40);
    lblPlanMessage = new QLabel(Panel4);
    lblPlanMessage->setObjectName(QStringLiteral("lblPlanMessage"));
    QPalette red = lblPlanMessage->palette();
    red.setColor(QPalette::WindowText, QColor(176, 0, 0));
    lblPlanMessage->setPalette(red);
    lblPlanMessage->move(330, 40);

    auto* bar = new ShapeWidget(ShapeWidget::Kind::Rectangle, kBarFill, kPillFill, Panel4);
    bar->setObjectName(QStringLiteral("Shape18"));
    bar->setGeometry(13, 58, 720, 4);

    grdPlan = new QTableWidget(0, static_cast<int>(planner::kPlanColumns), Panel4);
    grdPlan->setObjectName(QStringLiteral("grdPlan"));
    // The titles of the command line's columns, broken into two lines to leave the chart room.
    QStringList titles;
    for (const char* title : planner::kPlanColumnTitles) {
        QString text = QString::fromLatin1(title);
        const qsizetype blank = text.indexOf(QLatin1Char(' '));
        if (blank > 0)
            text[blank] = QLatin1Char('\n');
        titles << text;
    }
    grdPlan->setHorizontalHeaderLabels(titles);
    grdPlan->verticalHeader()->hide();
    grdPlan->verticalHeader()->setDefaultSectionSize(18);
    grdPlan->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdPlan->setSelectionMode(QAbstractItemView::SingleSelection);
    grdPlan->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab moves on to the buttons; the arrow keys move between rows.
    grdPlan->setTabKeyNavigation(false);
    grdPlan->setWordWrap(false);
    grdPlan->setFrameShape(QFrame::Box);
    QPalette framed = grdPlan->palette();
    framed.setColor(QPalette::WindowText, kFieldFrame);
    grdPlan->setPalette(framed);

    auto* chart = new QChart();
    chart->setMargins(QMargins(2, 2, 2, 2));
    QFont small = font();
    chart->setTitleFont(small);
    chtBreakEven = new QChartView(chart, Panel4);
    chtBreakEven->setObjectName(QStringLiteral("chtBreakEven"));
    chtBreakEven->setRenderHint(QPainter::Antialiasing);
    chtBreakEven->setFrameShape(QFrame::Box);
    chtBreakEven->setFocusPolicy(Qt::NoFocus);
    FillBreakEvenChart(*chart, {}, true);

    struct ButtonLayout {
        QPushButton** button;
        const char* name;
        const char* caption;
    };
    const ButtonLayout buttons[] = {
        {&btnUseEarly, "btnUseEarly", "Use as Early"},
        {&btnUseLater, "btnUseLater", "Use as Later"},
        {&btnPrintSummary, "btnPrintSummary", "Print Summary"},
    };
    for (const ButtonLayout& entry : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(entry.caption), Panel4);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setAutoDefault(true);
        button->resize(86, 25);
        *entry.button = button;
    }
    btnPrintSummary->setIcon(GlyphIcon(QStringLiteral("print"), 16));
    btnPrintSummary->resize(104, 25);

    // Names for assistive technology, as the Data Input fields have.
    const std::pair<QWidget*, const char*> names[] = {
        {oBirthDate, "Date of Birth"},
        {cmbSex, "Sex"},
        {oFraBenefit, "FRA Benefit"},
        {oAsOfDate, "As-of Date"},
        {btnFromEarnings, "FRA Benefit from Earnings"},
        {grdPlan, "Claiming Options"},
        {chtBreakEven, "Break-even Chart"},
    };
    for (const auto& [widget, name] : names)
        widget->setAccessibleName(QString::fromLatin1(name));

    Panel4->installEventFilter(this);
    LayoutPlannerPage();
}

void TfrmMain::LayoutPlannerPage() {
    // The inputs keep their places; the table and the chart share what the page has.
    const int width = Panel4->width();
    const int height = Panel4->height();
    const int buttonTop = std::max(100, height - 35);
    const int top = 66;
    const int areaHeight = std::max(40, buttonTop - top - 6);
    const int areaWidth = std::max(200, width - 24);
    // The table as wide as its columns need (at most 58 %), the chart the rest.
    const int needed = grdPlan->horizontalHeader()->length() + 2 * grdPlan->frameWidth() +
                       grdPlan->verticalScrollBar()->sizeHint().width();
    const int tableWidth =
        grdPlan->rowCount() > 0 ? std::min(areaWidth * 58 / 100, needed) : areaWidth * 58 / 100;
    grdPlan->setGeometry(12, top, tableWidth, areaHeight);
    chtBreakEven->setGeometry(12 + tableWidth + 6, top - 4, areaWidth - tableWidth - 6,
                              areaHeight + 4);
    int left = 12;
    for (QPushButton* button : {btnUseEarly, btnUseLater, btnPrintSummary}) {
        button->move(left, buttonTop);
        left += button->width() + 8;
    }
}

void TfrmMain::WirePlanner() {
    ConnectButton(btnUseEarly, &TfrmMain::btnUseEarlyClick);
    ConnectButton(btnUseLater, &TfrmMain::btnUseLaterClick);
    ConnectButton(btnPrintSummary, &TfrmMain::btnPrintSummaryClick);
    ConnectButton(btnFromEarnings, &TfrmMain::btnFromEarningsClick);
    // Alt+E on the page: the focus moves to the button first, so the field being left
    // applies its rules, and a refusal there keeps the dialog closed.
    auto* fromEarnings = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_E), Panel4);
    fromEarnings->setContext(Qt::WidgetWithChildrenShortcut);
    connect(fromEarnings, &QShortcut::activated, this, [this] {
        btnFromEarnings->setFocus(Qt::ShortcutFocusReason);
        if (entrySettings_.errorPending)
            return;
        RunCommand([this] { btnFromEarningsClick(); });
    });
    connect(cmbSex, &QComboBox::currentIndexChanged, this, [this] { RefreshPlanner(); });
    connect(OvcNotebook1, &Notebook::currentChanged, this, [this](int index) {
        if (index == kPlannerPage)
            PlannerPageShown();
    });
    // A planner field that the user leaves brings the plan up to date once its rules ran.
    for (TEntryField* field :
         {static_cast<TEntryField*>(oBirthDate), static_cast<TEntryField*>(oFraBenefit),
          static_cast<TEntryField*>(oAsOfDate)})
        field->installEventFilter(this);

    auto* page = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_P), this);
    connect(page, &QShortcut::activated, this, [this] {
        // As a tab click: the focus moves first, so the field being left applies its rules.
        OvcNotebook1->setFocus(Qt::ShortcutFocusReason);
        if (entrySettings_.errorPending)
            return;
        OvcNotebook1->SetCurrentIndex(kPlannerPage);
        oBirthDate->setFocus(Qt::ShortcutFocusReason);
    });
}

bool TfrmMain::PlannerEvent(QObject* watched, QEvent* event) {
    if (watched == Panel4 && event->type() == QEvent::Resize) {
        LayoutPlannerPage();
    } else if (event->type() == QEvent::FocusOut &&
               (watched == oBirthDate || watched == oFraBenefit || watched == oAsOfDate) &&
               !refreshQueued_) {
        refreshQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            if (refreshQueued_)
                RefreshPlanner();
        });
    }
    return false;
}

void TfrmMain::PlannerPageShown() {
    if (!asOfSet_) {
        const QDate today = QDate::currentDate();
        oAsOfDate->SetDate(FieldDate{today.year(), today.month(), today.day()});
        asOfSet_ = true;
    }
    RefreshPlanner();
}

std::optional<planner::PlannerInputs> TfrmMain::PlannerInputsNow() const {
    const auto born = ToDate(oBirthDate->Date());
    const auto asOf = ToDate(oAsOfDate->Date());
    if (!born || !asOf)
        return std::nullopt;
    planner::PlannerInputs in;
    in.born = *born;
    in.asOf = *asOf;
    in.sex = cmbSex->currentIndex() == 1 ? planner::Sex::Male : planner::Sex::Female;
    in.fraBenefitCents = MoneyFromReal(oFraBenefit->ValueAsExtended()).count / 100;
    in.earnings = plannerEarnings_;
    return in;
}

void TfrmMain::ShowPlannerInputs(const std::optional<planner::PlannerInputs>& inputs) {
    const QSignalBlocker quiet(cmbSex);
    if (inputs) {
        oBirthDate->SetDate(ToFieldDate(inputs->born));
        cmbSex->setCurrentIndex(inputs->sex == planner::Sex::Male ? 1 : 0);
        oFraBenefit->SetValueExtended(static_cast<long double>(inputs->fraBenefitCents) / 100);
        oAsOfDate->SetDate(ToFieldDate(inputs->asOf));
        plannerEarnings_ = inputs->earnings;
        asOfSet_ = true;
    } else {
        plannerEarnings_ = {};
        oBirthDate->SetDate(std::nullopt);
        cmbSex->setCurrentIndex(0);
        oFraBenefit->SetValueExtended(0);
        oAsOfDate->SetDate(std::nullopt);
        asOfSet_ = false;
        if (OvcNotebook1->CurrentIndex() == kPlannerPage)
            PlannerPageShown();
    }
    RefreshPlanner();
}

void TfrmMain::RefreshPlanner() {
    refreshQueued_ = false;
    const long double cola = fields_.oCola->ValueAsExtended();
    const long double rate = fields_.oRate->ValueAsExtended();
    lblPlanRates->setText(QStringLiteral("COLA %1 and discount rate %2, from Data Input")
                              .arg(PercentText(cola), PercentText(rate)));
    lblPlanRates->adjustSize();

    // The row chosen before is chosen again when its month is still an option.
    std::optional<planner::Month> chosen;
    if (plan_ && grdPlan->currentRow() >= 0 &&
        static_cast<std::size_t>(grdPlan->currentRow()) < planRows_.size())
        chosen = plan_->options[planRows_[static_cast<std::size_t>(grdPlan->currentRow())]].claim;

    plan_.reset();
    planRows_.clear();
    QString message;
    if (const auto in = PlannerInputsNow()) {
        planner::PlanInputs p;
        p.born = in->born;
        p.sex = in->sex;
        p.fraBenefit = static_cast<long double>(in->fraBenefitCents) / 100;
        p.asOf = in->asOf;
        p.cola = static_cast<double>(cola);
        p.rate = rate;
        try {
            plan_ = planner::BuildPlan(p);
            planRows_ = planner::SummaryOptions(*plan_);
        } catch (const std::exception& e) {
            SetArithmeticContext();
            message = QString::fromUtf8(e.what());
        }
    } else if (oBirthDate->Date() || !oBirthDate->Model().Digits().empty()) {
        message = QStringLiteral("Type the as-of date.");
    }
    lblPlanMessage->setText(message);
    lblPlanMessage->adjustSize();

    grdPlan->clearContents();
    grdPlan->setRowCount(static_cast<int>(planRows_.size()));
    int select = -1;
    for (std::size_t r = 0; r < planRows_.size(); ++r) {
        const std::size_t index = planRows_[r];
        const std::vector<std::string> texts = planner::PlanRowTexts(*plan_, index);
        const bool best = index == plan_->best;
        for (std::size_t c = 0; c < texts.size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(texts[c]));
            item->setTextAlignment((c < 2                       ? Qt::AlignLeft
                                    : c == planner::kBestColumn ? Qt::AlignHCenter
                                                                : Qt::AlignRight) |
                                   Qt::AlignVCenter);
            if (best) {
                QFont bold = grdPlan->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setBackground(kBestFill);
            }
            grdPlan->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
        if (chosen && plan_->options[index].claim == *chosen)
            select = static_cast<int>(r);
    }
    grdPlan->resizeColumnsToContents();
    LayoutPlannerPage();
    if (select >= 0)
        SelectPlanRow(select);
    RefreshChart();
}

void TfrmMain::SelectPlanRow(int row) {
    grdPlan->setCurrentCell(row, 0);
    grdPlan->selectRow(row);
}

void TfrmMain::RefreshChart() {
    planner::BreakEvenChartData chartData;
    if (lastPair_) {
        std::optional<planner::SurvivalBasis> client;
        if (const auto in = PlannerInputsNow())
            client = planner::SurvivalBasis{in->born, in->sex, in->asOf};
        chartData = planner::ChartDataFrom(*resultTable_, client);
    }
    FillBreakEvenChart(*chtBreakEven->chart(), chartData, true);
}

void TfrmMain::UseOption(planner::ClaimSide side) {
    // A click straight from a changed field comes before the queued refresh.
    if (refreshQueued_)
        RefreshPlanner();
    const int row = grdPlan->currentRow();
    if (!plan_ || row < 0 || static_cast<std::size_t>(row) >= planRows_.size())
        throw std::runtime_error("Choose a claiming month in the planner's table first.");
    const planner::ClaimEntry entry =
        planner::ClaimEntryFor(*plan_, planRows_[static_cast<std::size_t>(row)], side);
    const ScenarioFields& f = fields_;
    // A year the field refuses would read as 0 and give a plainly wrong table.
    const NumericFieldModel& yearField =
        (side == planner::ClaimSide::Early ? f.oEarlyYear : f.oLaterYear)->Model();
    if (entry.year < yearField.Low() || entry.year > yearField.High()) {
        throw std::runtime_error("The claim year " + std::to_string(entry.year) +
                                 " is outside the year fields' range " +
                                 std::to_string(static_cast<int>(yearField.Low())) + " to " +
                                 std::to_string(static_cast<int>(yearField.High())) + ".");
    }
    if (side == planner::ClaimSide::Early) {
        f.oEarlyYear->SetValueInteger(entry.year);
        f.oEarlyMonth->SetValueInteger(entry.month);
        f.oEarlyBenefit->SetValueExtended(entry.benefit);
        f.oAge->SetValueInteger(entry.age);
    } else {
        f.oLaterYear->SetValueInteger(entry.year);
        f.oLaterMonth->SetValueInteger(entry.month);
        f.oLaterBenefit->SetValueExtended(entry.benefit);
    }
    btnCalculateClick();
}

void TfrmMain::btnUseEarlyClick() {
    UseOption(planner::ClaimSide::Early);
}

void TfrmMain::btnUseLaterClick() {
    UseOption(planner::ClaimSide::Later);
}

void TfrmMain::btnPrintSummaryClick() {
    if (refreshQueued_)
        RefreshPlanner();
    if (!plan_)
        throw std::runtime_error(
            "The summary needs the client's date of birth, sex and benefit at full "
            "retirement age on the Planner page.");
    const auto in = PlannerInputsNow();
    ClientSummaryInputs s;
    s.clientName = fields_.oClientName->ValueAsText().toStdString();
    s.preparer = fields_.oPreparer->ValueAsText().toStdString();
    s.dateText = SystemReportEnvironment().dateText();
    s.planInputs.born = in->born;
    s.planInputs.sex = in->sex;
    s.planInputs.fraBenefit = static_cast<long double>(in->fraBenefitCents) / 100;
    s.planInputs.asOf = in->asOf;
    s.planInputs.cola = fields_.oCola->ValueAsDouble();
    s.planInputs.rate = fields_.oRate->ValueAsExtended();
    s.plan = &*plan_;
    if (lastPair_) {
        s.pair = lastPair_;
        s.table = resultTable_.get();
    }
    ClientSummaryDocument document(BuildClientSummary(s));
    BreakEvenReport& report = rptSS();
    PrintPreviewDialog dialog(document, report.services, this);
    if (report.OnPreviewFormCreate)
        report.OnPreviewFormCreate(dialog);
    if (report.runPreview) {
        report.runPreview(dialog);
    } else {
        dialog.exec();
    }
    if (dialog.Failure())
        ThrowReportFailure(dialog.Failure());
}

void TfrmMain::btnFromEarningsClick() {
    EarningsDialog::Setup setup;
    setup.born = ToDate(oBirthDate->Date());
    setup.asOf = ToDate(oAsOfDate->Date());
    setup.colaPercent = static_cast<double>(fields_.oCola->ValueAsExtended());
    setup.record = plannerEarnings_;
    EarningsDialog dialog(setup, entrySettings_, this);
    const int result = earningsDialogRunner ? earningsDialogRunner(dialog) : dialog.exec();
    if (result != QDialog::Accepted || !dialog.PiaCents())
        return;
    oFraBenefit->SetValueExtended(static_cast<long double>(*dialog.PiaCents()) / 100);
    plannerEarnings_ = dialog.Record();
    RefreshPlanner();
}

}  // namespace velmora
