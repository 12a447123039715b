// The "Planner" page in the window: reaching it, the plan of the typed client, the two
// buttons that copy an option into the calculation, the chart, the summary, help, and
// the planner's inputs travelling beside the scenario file.
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFileDialog>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <fstream>
#include <vector>

#include "engine/moneytext.h"
#include "planner/optimiser.h"

#include "fields/dateentryfield.h"
#include "fields/numericentryfield.h"
#include "mainwindow_fixture.h"
#include "planner/plantable.h"
#include "report/preview/breakevenreport.h"
#include "report/summary/breakevenchart.h"
#include "ui/panels.h"
#include "ui/planner/plannerpage.h"
#include "ui/scenariofilecommands.h"

namespace velmora {
namespace {

// The chart of the page's chart view; null before the page was shown.
QChart* ChartOf(const PlannerPage& page) {
    auto* view = qobject_cast<QChartView*>(page.chart());
    return view != nullptr ? view->chart() : nullptr;
}

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
        page().client.born->SetDate(FieldDate{1960, 3, 15});
        page().client.sex->setCurrentIndex(1);
        page().client.benefit->SetValueExtended(2000);
        page().asOfDate->SetDate(FieldDate{2022, 6, 1});
        f().oCola->SetValueExtended(2.5L);
        f().oRate->SetValueExtended(3);
        f().oYears->SetValueInteger(40);
        window->RefreshPlanner();
        ASSERT_TRUE(PlanNow() != nullptr);
    }

    PlannerPage& page() const { return *window->Planner(); }
    // Lets the page's refresh after a change run, as it does for a person who pauses.
    void Settle() const {
        for (int i = 0; i < 100 && page().RefreshPending(); ++i)
            QTest::qWait(10);
    }
    const planner::Plan* PlanNow() const {
        const auto& result = page().Result();
        return result && result->plan ? &*result->plan : nullptr;
    }

    int RowOf(std::size_t option) const {
        const auto& rows = page().Result()->rows;
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
    EXPECT_FALSE(page().asOfDate->Date().has_value());  // not shown yet

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), TfrmMain::kPlannerPage);
    EXPECT_EQ(QApplication::focusWidget(), page().client.born);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(page().asOfDate->Date(), (FieldDate{today.year(), today.month(), today.day()}));
    page().FlushChart();  // the chart follows once the grid is painted
    EXPECT_EQ(ChartOf(page())->title(), QString::fromLatin1(kChartHint));

    // F1 on the page shows its own topic.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_EQ(helpTopics, std::vector<int>({TfrmMain::kHelpContextPlanner}));
    EXPECT_TRUE(reported.empty());
}

TEST_F(PlannerPageTest, TabRunsTopToBottomAndAPartDateIsRefused) {
    ShowActive();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
    TypeClient();  // rows in the table, so that it takes the focus as well
    page().client.born->setFocus();
    QApplication::processEvents();
    // The spouse's fields are passed over while "Married" is not checked, and the claimed
    // month while "Already receiving since" is not.
    const QStringList expected = {"clientSex",     "clientBenefit", "clientFromEarnings",
                                  "clientClaimed", "clientHealth",  "married",
                                  "lifeTable",     "asOfDate",      "options",
                                  "useEarly",      "useLater",      "printSummary"};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, expected);

    // Leaving the date of birth with part of a date: the field's own error, the focus kept.
    page().client.born->setFocus();
    QApplication::processEvents();
    QTest::keyClick(page().client.born, Qt::Key_Backspace);
    QTest::keyClicks(page().client.born, QStringLiteral("0315"));
    QTest::keyClick(page().client.born, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(fieldErrors,
              std::vector<QString>({QString::fromLatin1(kNotValidMessage) +
                                    QStringLiteral(" (03/15/____ is not a complete date)")}));
    EXPECT_EQ(QApplication::focusWidget(), page().client.born);
}

TEST_F(PlannerPageTest, TypedClientBringsThePlanWithTheBestRowMarked) {
    ShowActive();
    f().oCola->SetValueExtended(2.5L);
    f().oRate->SetValueExtended(3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
    page().asOfDate->SetDate(FieldDate{2022, 6, 1});
    // As a person types: the plan comes when the field is left.
    QTest::keyClicks(page().client.born, QStringLiteral("03151960"));
    page().client.benefit->SetValueExtended(2000);
    QTest::keyClick(page().client.born, Qt::Key_Tab);
    Settle();
    ASSERT_TRUE(PlanNow() != nullptr);
    EXPECT_TRUE(fieldErrors.empty());

    const planner::Plan& plan = *PlanNow();
    EXPECT_EQ(page().Result()->rows, planner::SummaryOptions(plan));
    ASSERT_EQ(page().options->rowCount(), static_cast<int>(page().Result()->rows.size()));
    for (int r = 0; r < page().options->rowCount(); ++r) {
        const std::size_t option = page().Result()->rows[static_cast<std::size_t>(r)];
        const auto texts = planner::PlanRowTexts(plan, option);
        for (std::size_t c = 0; c < texts.size(); ++c)
            EXPECT_EQ(page().options->item(r, static_cast<int>(c))->text().toStdString(), texts[c]);
        EXPECT_EQ(page().options->item(r, 0)->font().bold(), option == plan.best);
    }
    EXPECT_TRUE(page().ratesLine->text().contains(QStringLiteral("COLA 2.5000 %")));

    // A client past 70 gets the planner's own message and an empty table.
    page().client.born->SetDate(FieldDate{1940, 1, 10});
    window->RefreshPlanner();
    EXPECT_FALSE(PlanNow() != nullptr);
    EXPECT_EQ(page().options->rowCount(), 0);
    EXPECT_TRUE(page().message->text().contains(QStringLiteral("70")));
    EXPECT_TRUE(reported.empty());
}

TEST_F(PlannerPageTest, UseAsEarlyAndLaterCopyTheOptionAndCalculate) {
    ShowActive();
    TypeClient();
    const planner::Plan plan = *PlanNow();
    // The later start first: the default early start (2001) lies before it.
    const std::size_t best = plan.best;
    ASSERT_NE(best, 0u);
    page().SelectPlanRow(RowOf(best));
    QTest::mouseClick(page().useLater, Qt::LeftButton);
    ASSERT_TRUE(reported.empty()) << reported.front().toStdString();
    const planner::ClaimEntry later = planner::ClaimEntryFor(plan, best, planner::ClaimSide::Later);
    EXPECT_EQ(f().oLaterYear->ValueAsInteger(), later.year);
    EXPECT_EQ(f().oLaterMonth->ValueAsInteger(), later.month);
    EXPECT_EQ(f().oLaterBenefit->ValueAsExtended(), later.benefit);

    page().SelectPlanRow(RowOf(0));
    QTest::mouseClick(page().useEarly, Qt::LeftButton);
    ASSERT_TRUE(reported.empty()) << reported.front().toStdString();
    const planner::ClaimEntry early = planner::ClaimEntryFor(plan, 0, planner::ClaimSide::Early);
    EXPECT_EQ(f().oEarlyYear->ValueAsInteger(), early.year);
    EXPECT_EQ(f().oEarlyMonth->ValueAsInteger(), early.month);
    EXPECT_EQ(f().oEarlyBenefit->ValueAsExtended(), early.benefit);
    EXPECT_EQ(f().oAge->ValueAsInteger(), early.age);

    // Calculated as the button does: the message of the plan's row, the page kept.
    EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), TfrmMain::kPlannerPage);
    EXPECT_TRUE(window->lblResult->isVisibleTo(window->Panel1));
    ASSERT_EQ(plan.options[best].breakEven, planner::BreakEven::Year);
    EXPECT_EQ(window->lblResult->text(), QStringLiteral("Breakeven point occurs in the year %1")
                                             .arg(plan.options[best].breakEvenYear));
    // The plan's selection holds through the refresh.
    EXPECT_EQ(page().options->currentRow(), RowOf(0));

    // The chart draws the plan's own values (not the calculation's table): the chosen month
    // against the earliest, to the end of the life table, with the client's odds.
    page().SelectPlanRow(RowOf(best));
    const QChart& chart = *ChartOf(page());
    const QLineSeries* earlyLine = FindChartSeries(chart, kEarlySeriesName);
    const QLineSeries* laterLine = FindChartSeries(chart, kLaterSeriesName);
    ASSERT_NE(earlyLine, nullptr);
    ASSERT_NE(laterLine, nullptr);
    EXPECT_GT(earlyLine->count(), 40);  // past Data Input's years, to the table's end
    EXPECT_NEAR(laterLine->at(laterLine->count() - 1).y(),
                static_cast<double>(plan.options[best].expectedValue), 1.0);
    EXPECT_NEAR(earlyLine->at(earlyLine->count() - 1).y(),
                static_cast<double>(plan.options[0].expectedValue), 1.0);
    EXPECT_NE(FindChartSeries(chart, kAliveSeriesName), nullptr);

    // New/Clear empties the planner and the chart with the rest.
    window->btnClearClick();
    EXPECT_FALSE(page().client.born->Date().has_value());
    EXPECT_EQ(page().options->rowCount(), 0);
    page().FlushChart();  // the chart follows once the grid is painted
    EXPECT_TRUE(chart.series().isEmpty());
}

// Either button refuses a pair whose later start would not come after the early one.
TEST_F(PlannerPageTest, UseAsEarlyOrLaterRefusesAnImpossiblePair) {
    ShowActive();
    TypeClient();
    const planner::Plan plan = *PlanNow();
    struct Case {
        QPushButton* button;
        std::size_t option;
        const char* message;
    };
    // Data Input's own pair at start, 2000-01 for both, stands before every option of 2022 on.
    const Case cases[] = {
        {page().useEarly, 0, "The early start 2022-06 would not be before the later start 2000-01"},
        {page().useLater, plan.options.size() - 1, nullptr},
        {page().useEarly, plan.options.size() - 1,
         "The early start 2030-03 would not be before the later start 2030-03"},
    };
    for (const Case& c : cases) {
        reported.clear();
        const std::int32_t earlyYear = f().oEarlyYear->ValueAsInteger();
        page().SelectPlanRow(RowOf(c.option));
        QTest::mouseClick(c.button, Qt::LeftButton);
        if (c.message == nullptr) {
            EXPECT_TRUE(reported.empty());
            continue;
        }
        ASSERT_EQ(reported.size(), 1u);
        EXPECT_TRUE(reported[0].startsWith(QString::fromLatin1(c.message)))
            << reported[0].toStdString();
        EXPECT_EQ(f().oEarlyYear->ValueAsInteger(), earlyYear);  // nothing copied
    }
    EXPECT_EQ(plan.options.back().claim, planner::Month::Of(2030, 3));
}

// A click on a button straight from a changed field uses the plan of the new value.
TEST_F(PlannerPageTest, ClickFromAChangedFieldUsesTheNewPlan) {
    ShowActive();
    TypeClient();
    page().SelectPlanRow(RowOf(0));
    f().oLaterYear->SetValueInteger(2040);
    page().client.benefit->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(page().client.benefit, QStringLiteral("3000"));
    QTest::mouseClick(page().useEarly, Qt::LeftButton);
    ASSERT_TRUE(reported.empty());
    ASSERT_TRUE(fieldErrors.empty());
    EXPECT_EQ(page().client.benefit->ValueAsExtended(), 3000);
    const planner::Plan& plan = *PlanNow();
    EXPECT_EQ(f().oEarlyBenefit->ValueAsExtended(), MoneyToReal(plan.options[0].monthlyBenefit));
    // At least 70 % of $3,000: more than any benefit of the $2,000 plan.
    EXPECT_GT(f().oEarlyBenefit->ValueAsExtended(), 2100);
}

TEST_F(PlannerPageTest, ButtonsWithoutAChoiceSayWhatIsMissing) {
    ShowActive();
    window->OvcNotebook1->SetCurrentIndex(TfrmMain::kPlannerPage);
    // With nothing to show there is nothing to print or copy.
    EXPECT_FALSE(page().printSummary->isEnabled());
    EXPECT_FALSE(page().useEarly->isEnabled());
    QTest::mouseClick(page().printSummary, Qt::LeftButton);
    TypeClient();
    EXPECT_TRUE(page().printSummary->isEnabled());
    page().options->setCurrentCell(-1, -1);
    QTest::mouseClick(page().useLater, Qt::LeftButton);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], QStringLiteral("Choose a claiming month in the planner's table first."));
    EXPECT_EQ(f().oLaterYear->ValueAsInteger(), 2000);
    EXPECT_TRUE(window->lblResult->isHidden());
}

// A claim year the year fields refuse would read back as 0 and give a wrong table.
TEST_F(PlannerPageTest, ClaimYearOutsideTheFieldsIsRefused) {
    ShowActive();
    window->OvcNotebook1->SetCurrentIndex(TfrmMain::kPlannerPage);
    page().client.born->SetDate(FieldDate{1964, 6, 15});
    page().asOfDate->SetDate(FieldDate{2026, 12, 10});
    page().client.benefit->SetValueExtended(2000);
    window->RefreshPlanner();
    const planner::Plan& plan = *PlanNow();
    const std::size_t last = plan.options.size() - 1;  // claimed in 2034
    page().SelectPlanRow(RowOf(last));
    QTest::mouseClick(page().useLater, Qt::LeftButton);
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
    page().SelectPlanRow(RowOf(0));
    f().oLaterYear->SetValueInteger(2040);
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
    QTest::mouseClick(page().printSummary, Qt::LeftButton);
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(reported.empty());
}

TEST_F(PlannerPageTest, PlannerInputsTravelBesideTheScenario) {
    ShowActive();
    TypeClient();
    const auto inputs = page().Inputs();
    ASSERT_TRUE(inputs.has_value());
    answer_ = Path("jane.ss");
    window->tbSave->click();
    ASSERT_TRUE(reported.empty());
    ASSERT_TRUE(QFile::exists(Path("jane.ssp")));

    // Open brings them back...
    window->btnClearClick();
    window->tbOpen->click();
    EXPECT_EQ(page().Inputs(), inputs);
    EXPECT_TRUE(PlanNow() != nullptr);

    // ...a scenario saved without them has no companion, and an old one goes...
    page().ShowInputs(std::nullopt);
    window->tbSave->click();
    EXPECT_FALSE(QFile::exists(Path("jane.ssp")));
    EXPECT_TRUE(QFile::exists(Path("jane.ss")));
    // ...so Open clears the planner.
    page().ShowInputs(inputs);
    window->tbOpen->click();
    EXPECT_FALSE(page().client.born->Date().has_value());
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
    EXPECT_FALSE(page().client.born->Date().has_value());
}

// Every control of the page has an access key; the client's and the spouse's fields share
// theirs, and a second press goes on to the spouse's while "Married" is checked.
TEST_F(PlannerPageTest, EveryControlHasAnAccessKey) {
    ShowActive();
    TypeClient();
    page().spouse.married->setChecked(true);
    page().client.claimed->setChecked(true);
    page().spouse.claimed->setChecked(true);
    struct Case {
        Qt::Key key;
        QWidget* first;
        QWidget* second;  // on a second press, when the key is shared
    };
    const Case cases[] = {
        {Qt::Key_B, page().client.born, page().spouse.born},
        {Qt::Key_S, page().client.sex, page().spouse.sex},
        {Qt::Key_N, page().client.benefit, page().spouse.benefit},
        {Qt::Key_C, page().client.claimed, page().spouse.claimed},
        {Qt::Key_T, page().client.health, page().spouse.health},
        {Qt::Key_R, page().lifeTable, nullptr},
        {Qt::Key_D, page().asOfDate, nullptr},
        {Qt::Key_G, page().options, nullptr},
    };
    for (const Case& c : cases) {
        page().asOfDate->setFocus();
        QApplication::processEvents();
        QTest::keyClick(QApplication::focusWidget(), c.key, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), c.first) << QTest::toString(QKeySequence(c.key));
        if (c.second != nullptr) {
            QTest::keyClick(QApplication::focusWidget(), c.key, Qt::AltModifier);
            EXPECT_EQ(QApplication::focusWidget(), c.second);
        }
    }
    // "Married" toggles; the buttons run their commands.
    page().asOfDate->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_M, Qt::AltModifier);
    QTest::qWait(200);  // a check box's key clicks it as a press would, shortly after
    EXPECT_FALSE(page().spouse.married->isChecked());
    f().oLaterYear->SetValueInteger(2040);
    page().client.claimed->setChecked(false);
    window->RefreshPlanner();
    page().SelectPlanRow(RowOf(0));
    page().asOfDate->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(page().useEarly->isEnabled()) << page().message->text().toStdString();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(f().oEarlyYear->ValueAsInteger(), 2022);
    EXPECT_TRUE(reported.empty()) << reported.front().toStdString();
    for (QPushButton* button : {page().useEarly, page().useLater, page().printSummary})
        EXPECT_TRUE(button->text().contains(QLatin1Char('&'))) << button->text().toStdString();
}

// The sentence for a client past 70 is shown whole at the window's first size.
TEST_F(PlannerPageTest, PastSeventyMessageIsNeverCutOff) {
    ShowActive();
    TypeClient();
    page().client.born->SetDate(FieldDate{1940, 1, 10});
    window->RefreshPlanner();
    QApplication::processEvents();
    const QLabel* label = page().message;
    ASSERT_TRUE(label->isVisible());
    ASSERT_TRUE(label->text().contains(QStringLiteral("70")));
    const QRect shown = label->geometry();
    EXPECT_LE(shown.right(), page().contentsRect().right());
    const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, shown.width(), 1000),
                                                           Qt::TextWordWrap, label->text());
    EXPECT_LE(needed.width(), shown.width());
    EXPECT_LE(needed.height(), shown.height());
}

// The chart is made when the page is first shown, so that the window maps without it.
TEST_F(PlannerPageTest, ChartIsMadeWhenThePageIsFirstShown) {
    ShowActive();
    EXPECT_EQ(page().chart(), nullptr);
    window->OvcNotebook1->SetCurrentIndex(TfrmMain::kPlannerPage);
    ASSERT_NE(page().chart(), nullptr);
    EXPECT_TRUE(page().chart()->isVisible());
}

class CouplePageTest : public PlannerPageTest {
  protected:
    void TypeCouple() {
        TypeClient();
        page().spouse.married->setChecked(true);
        page().spouse.born->SetDate(FieldDate{1961, 9, 20});
        page().spouse.sex->setCurrentIndex(0);
        page().spouse.benefit->SetValueExtended(900);
        window->RefreshPlanner();
        ASSERT_TRUE(page().Result().has_value()) << page().message->text().toStdString();
        ASSERT_TRUE(page().Result()->couple.has_value());
    }
};

// The grid's cells hold the model's own values for the same inputs, the best pair marked
// and named in words with the three references.
TEST_F(CouplePageTest, GridCellsAreTheModelsValues) {
    ShowActive();
    TypeCouple();
    const PlannerResult& result = *page().Result();
    const planner::HouseholdModel model(result.inputs);
    const planner::CoupleSearch search = model.SearchCouple();
    EXPECT_EQ(result.couple->values, search.values);
    ASSERT_EQ(page().pairs->rowCount(), kGridAges);
    ASSERT_EQ(page().pairs->columnCount(), kGridAges);
    int possible = 0;
    int marked = 0;
    for (int r = 0; r < kGridAges; ++r) {
        for (int c = 0; c < kGridAges; ++c) {
            const PairCell& cell =
                result.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            const QTableWidgetItem* item = page().pairs->item(r, c);
            ASSERT_NE(item, nullptr);
            if (!cell.possible)
                continue;
            ++possible;
            // The search's shared sums and the plain way agree to far below a cent.
            EXPECT_NEAR(static_cast<double>(cell.value),
                        static_cast<double>(model.CoupleValue(cell.client, cell.spouse)), 1e-6);
            EXPECT_TRUE(item->toolTip().contains(QString::fromStdString(MoneyText(cell.value, 0))));
            EXPECT_FALSE(item->data(Qt::AccessibleTextRole).toString().isEmpty());
            if (item->text() == QStringLiteral("best")) {
                ++marked;
                EXPECT_EQ(cell.client, search.best.client);
                EXPECT_EQ(cell.spouse, *search.best.spouse);
            }
        }
    }
    EXPECT_GT(possible, 40);
    EXPECT_EQ(marked, 1);
    const QString words = page().bestPair->text();
    EXPECT_TRUE(words.contains(
        QString::fromStdString(PairWords(result.inputs, search.best.client, *search.best.spouse))));
    for (const char* name : {"Both at the earliest month", "Both at FRA", "Both at 70"})
        EXPECT_TRUE(words.contains(QLatin1String(name))) << name;
    EXPECT_FALSE(page().useEarly->isEnabled());  // a couple's pair is no Early/Later pair

    // A cell chosen by the keyboard is the pair of the chart and the words.
    page().pairs->setFocus();
    page().SelectPairCell(62, 62);
    QTest::keyClick(page().pairs, Qt::Key_Right);
    const auto chosen = page().ChosenPair();
    ASSERT_TRUE(chosen.has_value());
    const PairCell& cell = result.cells[0][1];
    EXPECT_EQ(chosen->client, cell.client);
    EXPECT_EQ(chosen->spouse, cell.spouse);
    EXPECT_TRUE(page().bestPair->text().contains(QStringLiteral("Chosen: ")));
    const QLineSeries* line = FindChartSeries(*ChartOf(page()), kLaterSeriesName);
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR(line->at(line->count() - 1).y(), static_cast<double>(cell.value), 1.0);
    EXPECT_NE(FindChartSeries(*ChartOf(page()), kEitherAliveSeriesName), nullptr);
}

// The summary comes from the plan alone: an unrelated calculation on Data Input and the
// page's hints never reach it.
TEST_F(CouplePageTest, SummaryHoldsNothingOfDataInput) {
    ShowActive();
    f().oEarlyYear->SetValueInteger(2001);
    f().oLaterYear->SetValueInteger(2004);
    f().oEarlyBenefit->SetValueExtended(1000);
    f().oLaterBenefit->SetValueExtended(1400);
    window->btnCalculateClick();
    for (const bool couple : {false, true}) {
        if (couple) {
            TypeCouple();
        } else {
            TypeClient();
        }
        const ClientSummary s = page().Summary("Pat", "Sam", "Lee", "12/10/2026");
        std::vector<std::string> lines = s.inputLines;
        for (const std::string& line :
             {s.clientLine, s.pairLine, s.breakEvenLine, s.survivorLine, s.lifeTableLine})
            lines.push_back(line);
        lines.insert(lines.end(), s.referenceLines.begin(), s.referenceLines.end());
        for (const std::string& line : lines) {
            for (const char* foreign : {"2001", "2004", "$1,400", "Calculate", "Compared:"})
                EXPECT_EQ(line.find(foreign), std::string::npos) << line;
        }
        EXPECT_EQ(s.pairGrid, couple);
        EXPECT_FALSE(s.chart.Empty());
    }
}

TEST_F(CouplePageTest, SpouseAndChoicesTravelInTheCompanionFile) {
    ShowActive();
    TypeCouple();
    page().client.health->setCurrentIndex(4);
    page().spouse.claimed->setChecked(true);
    page().spouse.claimedMonth->SetValueInteger(11);
    page().spouse.claimedYear->SetValueInteger(2023);
    page().lifeTable->setCurrentIndex(1);
    window->RefreshPlanner();
    const auto inputs = page().Inputs();
    ASSERT_TRUE(inputs.has_value());
    ASSERT_TRUE(inputs->spouse.has_value());
    EXPECT_EQ(inputs->spouse->claimed, planner::Month::Of(2023, 11));
    EXPECT_EQ(inputs->client.mortalityFactor, kHealthChoices[4].factor);
    EXPECT_EQ(inputs->mortality, planner::MortalityKind::Period);
    answer_ = Path("pair.ss");
    window->tbSave->click();
    ASSERT_TRUE(reported.empty()) << reported.front().toStdString();
    window->btnClearClick();
    EXPECT_FALSE(page().spouse.married->isChecked());
    window->tbOpen->click();
    EXPECT_EQ(page().Inputs(), inputs);
    EXPECT_TRUE(page().spouse.married->isChecked());
    EXPECT_EQ(page().client.factor->text(), QStringLiteral("factor 2.50"));

    // A file naming keys of a later version opens, with a word about what was left out.
    std::ofstream(QFile::encodeName(Path("pair.ssp")).toStdString(), std::ios::app)
        << "spouse_pension = 1200\n";
    window->btnClearClick();
    window->tbOpen->click();
    EXPECT_EQ(page().Inputs(), inputs);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_TRUE(reported[0].contains(QStringLiteral("spouse_pension")))
        << reported[0].toStdString();
}

}  // namespace
}  // namespace velmora
