// The "Planner" page in the window: reaching it, the plan of the typed client, the two
// buttons that copy an option into the calculation, the chart, the summary, help, and
// the planner's inputs travelling beside the scenario file.
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDate>
#include <QFileDialog>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <fstream>

#include "mainwindow_fixture.h"
#include "planner/plantable.h"
#include "report/preview/breakevenreport.h"
#include "report/summary/breakevenchart.h"
#include "ui/panels.h"
#include "ui/scenariofilecommands.h"

namespace velmora {
namespace {

class PlannerPageTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(folder_.isValid());
        window->fileCommands().SetDialogRunner(
            [this](QFileDialog&) -> std::optional<QString> { return answer_; });
    }

    // A client whose claiming months all lie within the year fields' bounds.
    void TypeClient() {
        window->OvcNotebook1->SetCurrentIndex(TfrmMain::kPlannerPage);
        window->oBirthDate->SetDate(FieldDate{1960, 3, 15});
        window->cmbSex->setCurrentIndex(1);
        window->oFraBenefit->SetValueExtended(2000);
        window->oAsOfDate->SetDate(FieldDate{2022, 6, 1});
        f().oCola->SetValueExtended(2.5L);
        f().oRate->SetValueExtended(3);
        f().oYears->SetValueInteger(40);
        window->RefreshPlanner();
        ASSERT_TRUE(window->CurrentPlan().has_value());
    }

    int RowOf(std::size_t option) const {
        const auto& rows = window->PlanRows();
        return static_cast<int>(std::find(rows.begin(), rows.end(), option) - rows.begin());
    }

    QString Path(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }

    std::optional<QString> answer_;
    QTemporaryDir folder_;
};

TEST_F(PlannerPageTest, ThirdPageByItsTabOrAltPWithTodayAsOfDate) {
    ShowActive();
    ASSERT_EQ(window->OvcNotebook1->Count(), 3);
    EXPECT_EQ(window->OvcNotebook1->Caption(2), QStringLiteral("Planner"));
    EXPECT_FALSE(window->oAsOfDate->Date().has_value());  // not shown yet

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), TfrmMain::kPlannerPage);
    EXPECT_EQ(QApplication::focusWidget(), window->oBirthDate);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(window->oAsOfDate->Date(), (FieldDate{today.year(), today.month(), today.day()}));
    EXPECT_EQ(window->chtBreakEven->chart()->title(), QString::fromLatin1(kChartHint));

    // F1 on the page shows its own topic.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_EQ(helpTopics, std::vector<int>({TfrmMain::kHelpContextPlanner}));
    EXPECT_TRUE(reported.empty());
}

TEST_F(PlannerPageTest, TabRunsTopToBottomAndAPartDateIsRefused) {
    ShowActive();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
    TypeClient();  // rows in the table, so that it takes the focus as well
    window->oBirthDate->setFocus();
    QApplication::processEvents();
    const QStringList expected = {"cmbSex",  "oFraBenefit", "oAsOfDate",   "btnFromEarnings",
                                  "grdPlan", "btnUseEarly", "btnUseLater", "btnPrintSummary"};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, expected);

    // Leaving the date of birth with part of a date: the field's own error, the focus kept.
    window->oBirthDate->setFocus();
    QApplication::processEvents();
    QTest::keyClick(window->oBirthDate, Qt::Key_Backspace);
    QTest::keyClicks(window->oBirthDate, QStringLiteral("0315"));
    QTest::keyClick(window->oBirthDate, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(fieldErrors,
              std::vector<QString>({QString::fromLatin1(kNotValidMessage) +
                                    QStringLiteral(" (03/15/____ is not a complete date)")}));
    EXPECT_EQ(QApplication::focusWidget(), window->oBirthDate);
}

TEST_F(PlannerPageTest, TypedClientBringsThePlanWithTheBestRowMarked) {
    ShowActive();
    f().oCola->SetValueExtended(2.5L);
    f().oRate->SetValueExtended(3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
    window->oAsOfDate->SetDate(FieldDate{2022, 6, 1});
    // As a person types: the plan comes when the field is left.
    QTest::keyClicks(window->oBirthDate, QStringLiteral("03151960"));
    window->oFraBenefit->SetValueExtended(2000);
    QTest::keyClick(window->oBirthDate, Qt::Key_Tab);
    QApplication::processEvents();
    ASSERT_TRUE(window->CurrentPlan().has_value());
    EXPECT_TRUE(fieldErrors.empty());

    const planner::Plan& plan = *window->CurrentPlan();
    EXPECT_EQ(window->PlanRows(), planner::SummaryOptions(plan));
    ASSERT_EQ(window->grdPlan->rowCount(), static_cast<int>(window->PlanRows().size()));
    for (int r = 0; r < window->grdPlan->rowCount(); ++r) {
        const std::size_t option = window->PlanRows()[static_cast<std::size_t>(r)];
        const auto texts = planner::PlanRowTexts(plan, option);
        for (std::size_t c = 0; c < texts.size(); ++c)
            EXPECT_EQ(window->grdPlan->item(r, static_cast<int>(c))->text().toStdString(),
                      texts[c]);
        EXPECT_EQ(window->grdPlan->item(r, 0)->font().bold(), option == plan.best);
    }
    EXPECT_TRUE(window->lblPlanRates->text().contains(QStringLiteral("COLA 2.5000 %")));

    // A client past 70 gets the planner's own message and an empty table.
    window->oBirthDate->SetDate(FieldDate{1940, 1, 10});
    window->RefreshPlanner();
    EXPECT_FALSE(window->CurrentPlan().has_value());
    EXPECT_EQ(window->grdPlan->rowCount(), 0);
    EXPECT_TRUE(window->lblPlanMessage->text().contains(QStringLiteral("70")));
    EXPECT_TRUE(reported.empty());
}

TEST_F(PlannerPageTest, UseAsEarlyAndLaterCopyTheOptionAndCalculate) {
    ShowActive();
    TypeClient();
    const planner::Plan plan = *window->CurrentPlan();
    window->SelectPlanRow(RowOf(0));
    QTest::mouseClick(window->btnUseEarly, Qt::LeftButton);
    const planner::ClaimEntry early = planner::ClaimEntryFor(plan, 0, planner::ClaimSide::Early);
    EXPECT_EQ(f().oEarlyYear->ValueAsInteger(), early.year);
    EXPECT_EQ(f().oEarlyMonth->ValueAsInteger(), early.month);
    EXPECT_EQ(f().oEarlyBenefit->ValueAsExtended(), early.benefit);
    EXPECT_EQ(f().oAge->ValueAsInteger(), early.age);

    const std::size_t best = plan.best;
    ASSERT_NE(best, 0u);
    window->SelectPlanRow(RowOf(best));
    QTest::mouseClick(window->btnUseLater, Qt::LeftButton);
    ASSERT_TRUE(reported.empty()) << reported.front().toStdString();
    const planner::ClaimEntry later = planner::ClaimEntryFor(plan, best, planner::ClaimSide::Later);
    EXPECT_EQ(f().oLaterYear->ValueAsInteger(), later.year);
    EXPECT_EQ(f().oLaterMonth->ValueAsInteger(), later.month);
    EXPECT_EQ(f().oLaterBenefit->ValueAsExtended(), later.benefit);
    EXPECT_EQ(f().oAge->ValueAsInteger(), early.age);  // Later leaves the age alone

    // Calculated as the button does: the message of the plan's row, the page kept.
    EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), TfrmMain::kPlannerPage);
    EXPECT_TRUE(window->lblResult->isVisibleTo(window->Panel1));
    ASSERT_EQ(plan.options[best].breakEven, planner::BreakEven::Year);
    EXPECT_EQ(window->lblResult->text(), QStringLiteral("Breakeven point occurs in the year %1")
                                             .arg(plan.options[best].breakEvenYear));
    // The plan's selection holds through the refresh.
    EXPECT_EQ(window->grdPlan->currentRow(), RowOf(best));

    // The chart now draws this table, with the client's odds.
    const QChart& chart = *window->chtBreakEven->chart();
    const QLineSeries* earlyLine = FindChartSeries(chart, kEarlySeriesName);
    const QLineSeries* laterLine = FindChartSeries(chart, kLaterSeriesName);
    ASSERT_NE(earlyLine, nullptr);
    ASSERT_NE(laterLine, nullptr);
    ASSERT_EQ(earlyLine->count(), 40);
    for (int r = 1; r <= 40; ++r) {
        EXPECT_EQ(earlyLine->at(r - 1).y(),
                  static_cast<double>(MoneyToReal(window->resultTable().CumEarly[r])));
        EXPECT_EQ(laterLine->at(r - 1).y(),
                  static_cast<double>(MoneyToReal(window->resultTable().CumLater[r])));
    }
    EXPECT_NE(FindChartSeries(chart, kBreakEvenSeriesName), nullptr);
    EXPECT_NE(FindChartSeries(chart, kAliveSeriesName), nullptr);

    // New/Clear empties the planner and the chart with the rest.
    window->btnClearClick();
    EXPECT_FALSE(window->oBirthDate->Date().has_value());
    EXPECT_EQ(window->grdPlan->rowCount(), 0);
    EXPECT_TRUE(chart.series().isEmpty());
}

// A click on a button straight from a changed field uses the plan of the new value.
TEST_F(PlannerPageTest, ClickFromAChangedFieldUsesTheNewPlan) {
    ShowActive();
    TypeClient();
    window->SelectPlanRow(RowOf(0));
    window->oFraBenefit->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(window->oFraBenefit, QStringLiteral("3000"));
    QTest::mouseClick(window->btnUseEarly, Qt::LeftButton);
    ASSERT_TRUE(reported.empty());
    ASSERT_TRUE(fieldErrors.empty());
    EXPECT_EQ(window->oFraBenefit->ValueAsExtended(), 3000);
    const planner::Plan& plan = *window->CurrentPlan();
    EXPECT_EQ(f().oEarlyBenefit->ValueAsExtended(), MoneyToReal(plan.options[0].monthlyBenefit));
    // At least 70 % of $3,000: more than any benefit of the $2,000 plan.
    EXPECT_GT(f().oEarlyBenefit->ValueAsExtended(), 2100);
}

TEST_F(PlannerPageTest, ButtonsWithoutAChoiceSayWhatIsMissing) {
    ShowActive();
    window->OvcNotebook1->SetCurrentIndex(TfrmMain::kPlannerPage);
    QTest::mouseClick(window->btnPrintSummary, Qt::LeftButton);
    TypeClient();
    window->grdPlan->setCurrentCell(-1, -1);
    QTest::mouseClick(window->btnUseLater, Qt::LeftButton);
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_TRUE(reported[0].startsWith(QStringLiteral("The summary needs")));
    EXPECT_EQ(reported[1], QStringLiteral("Choose a claiming month in the planner's table first."));
    EXPECT_EQ(f().oLaterYear->ValueAsInteger(), 2000);
    EXPECT_TRUE(window->lblResult->isHidden());
}

// A claim year the year fields refuse would read back as 0 and give a wrong table.
TEST_F(PlannerPageTest, ClaimYearOutsideTheFieldsIsRefused) {
    ShowActive();
    window->OvcNotebook1->SetCurrentIndex(TfrmMain::kPlannerPage);
    window->oBirthDate->SetDate(FieldDate{1964, 6, 15});
    window->oAsOfDate->SetDate(FieldDate{2026, 12, 10});
    window->oFraBenefit->SetValueExtended(2000);
    window->RefreshPlanner();
    const planner::Plan& plan = *window->CurrentPlan();
    const std::size_t last = plan.options.size() - 1;  // claimed in 2034
    window->SelectPlanRow(RowOf(last));
    QTest::mouseClick(window->btnUseLater, Qt::LeftButton);
    if (f().oLaterYear->Model().High() < 2034) {
        ASSERT_EQ(reported.size(), 1u);
        EXPECT_TRUE(reported[0].startsWith(QStringLiteral("The claim year 2034 is outside")));
        EXPECT_EQ(f().oLaterYear->ValueAsInteger(), 2000);
    } else {
        EXPECT_TRUE(reported.empty());
        EXPECT_EQ(f().oLaterYear->ValueAsInteger(), 2034);
    }
}

TEST_F(PlannerPageTest, PrintSummaryShowsOnePageInThePreview) {
    ShowActive();
    TypeClient();
    window->SelectPlanRow(RowOf(0));
    window->btnUseEarlyClick();
    int pages = -1;
    BreakEvenReport& report = window->rptSS();
    report.OnPreviewFormCreate = nullptr;
    report.runPreview = [&pages](PrintPreviewDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        pages = dialog.PageCount();
        dialog.reject();
    };
    QTest::mouseClick(window->btnPrintSummary, Qt::LeftButton);
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(reported.empty());
}

TEST_F(PlannerPageTest, PlannerInputsTravelBesideTheScenario) {
    ShowActive();
    TypeClient();
    const auto inputs = window->PlannerInputsNow();
    ASSERT_TRUE(inputs.has_value());
    answer_ = Path("jane.ss");
    window->tbSave->click();
    ASSERT_TRUE(reported.empty());
    ASSERT_TRUE(QFile::exists(Path("jane.ssp")));

    // Open brings them back...
    window->btnClearClick();
    window->tbOpen->click();
    EXPECT_EQ(window->PlannerInputsNow(), inputs);
    EXPECT_TRUE(window->CurrentPlan().has_value());

    // ...a scenario saved without them has no companion, and an old one goes...
    window->ShowPlannerInputs(std::nullopt);
    window->tbSave->click();
    EXPECT_FALSE(QFile::exists(Path("jane.ssp")));
    EXPECT_TRUE(QFile::exists(Path("jane.ss")));
    // ...so Open clears the planner.
    window->ShowPlannerInputs(inputs);
    window->tbOpen->click();
    EXPECT_FALSE(window->oBirthDate->Date().has_value());
    EXPECT_TRUE(reported.empty());
}

TEST_F(PlannerPageTest, DamagedCompanionIsReportedAndTheScenarioStillOpens) {
    ShowActive();
    f().oClientName->SetValueText(QStringLiteral("Jane"));
    answer_ = Path("jane.ss");
    window->tbSave->click();
    std::ofstream(QFile::encodeName(Path("jane.ssp")).toStdString()) << "born = 1962-13-45\n";
    window->btnClearClick();
    TypeClient();
    window->tbOpen->click();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_TRUE(
        reported[0].startsWith(QStringLiteral("The planner file jane.ssp could not be read")))
        << reported[0].toStdString();
    EXPECT_TRUE(reported[0].contains(QStringLiteral("line 1")));
    EXPECT_EQ(f().oClientName->ValueAsText(), QStringLiteral("Jane"));
    EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), 0);
    EXPECT_FALSE(window->oBirthDate->Date().has_value());
}

}  // namespace
}  // namespace velmora
