// The window's side of the "Planner" page: hosting it, giving it the COLA and rate of
// "Data Input", its keys, and the commands that copy a choice into the calculation and
// print the client summary.
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <stdexcept>
#include <string>

#include "report/preview/breakevenreport.h"
#include "report/reportoutput.h"
#include "report/summary/clientsummary.h"
#include "ui/main.h"
#include "ui/notebook.h"
#include "ui/planner/earningsdialog.h"
#include "ui/planner/plannerpage.h"

namespace velmora {

namespace {

std::string MonthYearText(std::int32_t year, std::int32_t month) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d", static_cast<int>(year),
                  static_cast<int>(month));
    return buffer;
}

}  // namespace

void TfrmMain::BuildPlannerPage() {
    // The tab's page holds the Planner page once it is made, filling it.
    plannerHost_ = new QWidget(OvcNotebook1);
    plannerHost_->setObjectName(QStringLiteral("plannerHost"));
    auto* layout = new QVBoxLayout(plannerHost_);
    layout->setContentsMargins(0, 0, 0, 0);
    OvcNotebook1->AddPage(plannerHost_, QStringLiteral("Planner"));
}

PlannerPage* TfrmMain::Planner() {
    if (plannerPage_ == nullptr) {
        plannerPage_ = new PlannerPage(entrySettings_, plannerHost_);
        plannerHost_->layout()->addWidget(plannerPage_);
        plannerPage_->show();
        WirePlannerPage();
        // The Planner page orders its own controls, top to bottom, after the last field;
        // hidden with its page, so Tab on the other pages never reaches it.
        plannerPage_->SetTabOrder(TabOrder(fields_).back());
        WatchForChanges(plannerPage_);
    }
    return plannerPage_;
}

void TfrmMain::WirePlanner() {
    connect(OvcNotebook1, &Notebook::currentChanged, this, [this](int index) {
        if (index == kPlannerPage) {
            PlannerPage* page = Planner();
            page->SetRates(fields_.oCola->ValueAsExtended(), fields_.oRate->ValueAsExtended());
            page->PageShown();
        }
    });

    auto* page = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_P), this);
    connect(page, &QShortcut::activated, this, [this] {
        // As a tab click: the focus moves first, so the field being left applies its rules.
        OvcNotebook1->setFocus(Qt::ShortcutFocusReason);
        if (entrySettings_.errorPending)
            return;
        OvcNotebook1->SetCurrentIndex(kPlannerPage);
        Planner()->client.born->setFocus(Qt::ShortcutFocusReason);
    });
}

void TfrmMain::WirePlannerPage() {
    PlannerPage* plannerPage = plannerPage_;
    ConnectButton(plannerPage->useEarly, &TfrmMain::btnUseEarlyClick);
    ConnectButton(plannerPage->useLater, &TfrmMain::btnUseLaterClick);
    ConnectButton(plannerPage->printSummary, &TfrmMain::btnPrintSummaryClick);
    for (const bool forSpouse : {false, true}) {
        QPushButton* button = (forSpouse ? plannerPage->spouse : plannerPage->client).fromEarnings;
        connect(button, &QPushButton::clicked, this,
                [this, forSpouse] { RunCommand([this, forSpouse] { FromEarnings(forSpouse); }); });
    }
    // The page's buttons by their keys, on the page only: the focus moves to the button
    // first, so that the field being left applies its rules, as a click does.
    const struct {
        Qt::Key key;
        QPushButton* button;
    } keys[] = {
        {Qt::Key_E, plannerPage->useEarly},
        {Qt::Key_U, plannerPage->useLater},
        {Qt::Key_Y, plannerPage->printSummary},
        {Qt::Key_I, plannerPage->client.fromEarnings},
        {Qt::Key_O, plannerPage->spouse.fromEarnings},
    };
    for (const auto& entry : keys) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | entry.key), plannerPage);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        QPushButton* button = entry.button;
        connect(shortcut, &QShortcut::activated, this, [this, button] {
            if (!button->isEnabled())
                return;
            button->setFocus(Qt::ShortcutFocusReason);
            if (entrySettings_.errorPending)
                return;
            button->click();
        });
    }
}

void TfrmMain::RefreshPlanner() {
    // A page not made yet takes the rates when it is first shown.
    if (plannerPage_ == nullptr)
        return;
    PlannerPage* plannerPage = plannerPage_;
    plannerPage->SetRates(fields_.oCola->ValueAsExtended(), fields_.oRate->ValueAsExtended());
    plannerPage->Refresh();
}

void TfrmMain::UseOption(planner::ClaimSide side) {
    PlannerPage* plannerPage = Planner();
    // A click straight from a changed field comes before the queued refresh.
    plannerPage->FlushRefresh();
    const planner::ClaimEntry entry = plannerPage->ChosenEntry(side);
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
    // The later start must come after the early one, or the table compares an impossible
    // pair (the later start paid first).
    const int month = entry.year * 12 + entry.month;
    const bool early = side == planner::ClaimSide::Early;
    const std::int32_t otherYear = (early ? f.oLaterYear : f.oEarlyYear)->ValueAsInteger();
    const std::int32_t otherMonth = (early ? f.oLaterMonth : f.oEarlyMonth)->ValueAsInteger();
    const int other = otherYear * 12 + otherMonth;
    if (early ? other <= month : month <= other) {
        const std::string chosen = MonthYearText(entry.year, entry.month);
        const std::string kept = MonthYearText(otherYear, otherMonth);
        throw std::runtime_error(
            early ? "The early start " + chosen + " would not be before the later start " + kept +
                        " on Data Input. Choose the later start first with Use as Later."
                  : "The later start " + chosen + " would not be after the early start " + kept +
                        " on Data Input. Choose an earlier month with Use as Early first.");
    }
    if (early) {
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
    PlannerPage* plannerPage = Planner();
    plannerPage->FlushRefresh();
    ClientSummaryDocument document(plannerPage->Summary(
        fields_.oClientName->ValueAsText().toStdString(), std::string(),
        fields_.oPreparer->ValueAsText().toStdString(), SystemReportEnvironment().dateText()));
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
    FromEarnings(false);
}

void TfrmMain::FromEarnings(bool forSpouse) {
    PlannerPage* plannerPage = Planner();
    plannerPage->FlushRefresh();
    const PersonControls& person = forSpouse ? plannerPage->spouse : plannerPage->client;
    const auto dateOf = [](const std::optional<FieldDate>& d) -> std::optional<planner::Date> {
        if (!d)
            return std::nullopt;
        return planner::Date{d->year, d->month, d->day};
    };
    EarningsDialog::Setup setup;
    setup.born = dateOf(person.born->Date());
    setup.asOf = dateOf(plannerPage->asOfDate->Date());
    setup.colaPercent = static_cast<double>(fields_.oCola->ValueAsExtended());
    setup.record = person.earnings;
    EarningsDialog dialog(setup, entrySettings_, this);
    const int result = earningsDialogRunner ? earningsDialogRunner(dialog) : dialog.exec();
    if (result != QDialog::Accepted || !dialog.PiaCents())
        return;
    plannerPage->UseEarnings(forSpouse, *dialog.PiaCents(), dialog.Record());
}

}  // namespace velmora
