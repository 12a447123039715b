#pragma once

// The "Planner" page: the client and, for a married couple, the spouse; the life table
// and each person's health; the claiming months of one client with their expected values,
// or the grid of a couple's claiming pairs; the chart of the chosen claim against the
// earliest; and what copying a choice into the calculation and printing the summary need.
// The window hosts it and gives it the COLA and rate of "Data Input".

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "planner/household.h"
#include "planner/optimiser.h"
#include "planner/plan.h"
#include "planner/plantable.h"
#include "report/summary/clientsummary.h"
#include "report/summary/householdview.h"
#include "ui/panels.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class QTimer;
class QVBoxLayout;

namespace velmora {

class EntrySettings;
class TDateEntryField;
class TNumericEntryField;

/// The health choices a person may have and the factor on the life table's q(x) each means.
struct HealthChoice {
    const char* text;
    long double factor;
};
extern const std::vector<HealthChoice> kHealthChoices;

/// One person's controls on the page.
struct PersonControls {
    QGroupBox* group = nullptr;
    QCheckBox* married = nullptr;  // the spouse's group only
    TDateEntryField* born = nullptr;
    QComboBox* sex = nullptr;
    TNumericEntryField* benefit = nullptr;
    /// "From earnings...": the benefit at FRA computed from the person's earnings record.
    QPushButton* fromEarnings = nullptr;
    /// The record that benefit came from, kept with the scenario; empty when typed.
    planner::EarningsRecord earnings;
    QCheckBox* claimed = nullptr;
    TNumericEntryField* claimedMonth = nullptr;
    TNumericEntryField* claimedYear = nullptr;
    QComboBox* health = nullptr;
    QLabel* factor = nullptr;
};

/// The one-client plan or the couple's search, as the page shows it.
struct PlannerResult {
    planner::HouseholdInputs inputs;
    /// One client: the plan of the listed months.
    std::optional<planner::Plan> plan;
    std::vector<std::size_t> rows;  // plan indexes of the table's rows
    /// A couple: every pair and the grid's cells [clientYear - 62][spouseYear - 62].
    std::optional<planner::CoupleSearch> couple;
    std::vector<std::vector<PairCell>> cells;
};

class PlannerPage final : public BevelPanel {
    Q_OBJECT
  public:
    PlannerPage(EntrySettings& settings, QWidget* parent);
    ~PlannerPage() override;

    PersonControls client;
    PersonControls spouse;
    QComboBox* lifeTable = nullptr;
    TDateEntryField* asOfDate = nullptr;
    QLabel* ratesLine = nullptr;
    QLabel* message = nullptr;
    QTableWidget* options = nullptr;  // one client
    QTableWidget* pairs = nullptr;    // a couple
    QLabel* bestPair = nullptr;
    QPushButton* useEarly = nullptr;
    QPushButton* useLater = nullptr;
    QPushButton* printSummary = nullptr;
    /// Made when the page is first shown, so that the window maps without it.
    /// The chart view (a QChartView of the chart library), once the page was shown.
    QWidget* chart() const { return chart_; }

    /// The COLA and discount rate of "Data Input", in percent.
    void SetRates(long double cola, long double rate);
    /// The page's inputs when a date of birth and the as-of date are given (COLA and
    /// rate as set); the spouse only while "Married" is checked.
    std::optional<planner::HouseholdInputs> Inputs() const;
    /// Shows the inputs, or clears the page (as-of date back to today when next shown).
    void ShowInputs(const std::optional<planner::HouseholdInputs>& inputs);

    /// The plan or the couple's search of the inputs as they stand; nothing while they are
    /// missing or refused.
    const std::optional<PlannerResult>& Result() const { return result_; }
    /// Builds the result, the table or grid, the words and the chart again now.
    void Refresh();
    /// A refresh asked for by a changed input and not yet run.
    bool RefreshPending() const;
    /// Runs a pending refresh now, so that a command sees the inputs as typed.
    void FlushRefresh();
    /// Draws the chart a refresh left for after the grid's painting, now.
    void FlushChart();
    /// Selects a one-client row, or a couple's cell, for the chart and the summary.
    void SelectPlanRow(int row);
    void SelectPairCell(int clientAge, int spouseAge);
    /// The couple's chosen pair: the cell clicked, else the best.
    std::optional<planner::ChoiceValue> ChosenPair() const;

    /// What "Use as Early" or "Use as Later" writes into the calculation (one client only);
    /// std::runtime_error with the sentence for the user when nothing fits.
    planner::ClaimEntry ChosenEntry(planner::ClaimSide side) const;
    /// The summary of the plan alone; std::runtime_error when there is none.
    ClientSummary Summary(const std::string& clientName, const std::string& spouseName,
                          const std::string& preparer, const std::string& dateText) const;

    /// The benefit at FRA and the record it was computed from, for the client or the spouse.
    void UseEarnings(bool forSpouse, std::int64_t piaCents, const planner::EarningsRecord& record);

    /// The page was shown: the chart is made, the as-of date set to today when it has none.
    void PageShown();

    /// Orders the page's controls for Tab, top to bottom, following after (when given).
    void SetTabOrder(QWidget* after = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildPerson(PersonControls& person, bool isSpouse, QWidget* parent);
    void BuildResults(QVBoxLayout* layout);
    void Wire();
    void QueueRefresh();
    void ShowOptions();
    void ShowPairs();
    void ShowBestPair();
    void RefreshChart();
    void UpdateEnabled();
    void SetHealth(PersonControls& person, long double factor);
    std::optional<planner::PersonInputs> PersonNow(const PersonControls& person) const;
    void ShowPerson(PersonControls& person, const planner::PersonInputs* inputs);

    EntrySettings& settings_;
    long double cola_ = 0;
    long double rate_ = 0;
    bool asOfSet_ = false;
    QTimer* refreshTimer_ = nullptr;
    QStackedWidget* resultArea_ = nullptr;
    QLabel* resultCaption_ = nullptr;
    QWidget* chartHolder_ = nullptr;
    QWidget* chart_ = nullptr;
    QLabel* chartFailure_ = nullptr;  // instead of the chart when its library is missing
    std::optional<PlannerResult> result_;
    /// A refresh's chart is still to be drawn.
    bool chartPending_ = false;
    std::optional<std::pair<int, int>> chosenCell_;
};

}  // namespace velmora
