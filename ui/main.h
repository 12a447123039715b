#pragma once

#include <QMainWindow>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/schedule.h"
#include "fields/dateentryfield.h"
#include "fields/entrysettings.h"
#include "fields/numericentryfield.h"
#include "fields/scenariofields.h"
#include "planner/companionfile.h"
#include "planner/plantable.h"
#include "ui/cellalignment.h"
#include "ui/errorbox.h"
#include "ui/scenariofilecommands.h"

class QAction;
class QChartView;
class QComboBox;
class QLabel;
class QTableWidget;
class QMenu;
class QPushButton;
class QToolButton;

namespace velmora {

class BevelPanel;
class BreakEvenReport;
class HelpViewer;
class MenuPainterStyle;
class Notebook;
class PlannerPage;
class ResultsView;

/// The program's one window `frmMain`: the scenario's entry fields, the results grid
/// and the commands. Every command runs through RunCommand, so an error that ends it is
/// shown in the error box and the window carries on.
class TfrmMain final : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kHelpContextWindow = 10;
    static constexpr int kHelpContextFile = 210;
    static constexpr int kHelpContextHelp = 220;
    static constexpr int kHelpContextPlanner = 230;
    static constexpr int kPlannerPage = 2;

    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The window's controls; the window owns them.
    QWidget* ToolBar1 = nullptr;
    QToolButton* tbNew = nullptr;
    QToolButton* tbOpen = nullptr;
    QToolButton* tbSave = nullptr;
    QToolButton* tbPrint = nullptr;
    Notebook* OvcNotebook1 = nullptr;
    BevelPanel* Panel1 = nullptr;
    BevelPanel* Panel2 = nullptr;
    BevelPanel* Panel3 = nullptr;
    QPushButton* btnCalculate = nullptr;
    QPushButton* btnClear = nullptr;
    QPushButton* btnExit = nullptr;
    QLabel* lblResult = nullptr;
    ResultsView* grdSS = nullptr;
    QMenu* File1 = nullptr;
    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* PrinterSetup1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Help1 = nullptr;

    /// The "Planner" page, which the window hosts.
    PlannerPage* plannerPage = nullptr;

    /// The thirteen entry fields: the only store of the scenario.
    const ScenarioFields& fields() const { return fields_; }
    EntrySettings& entrySettings() { return entrySettings_; }
    /// The result table of the last calculation; grdSS shows its cells.
    TResultTable& resultTable() { return *resultTable_; }
    const TResultTable& resultTable() const { return *resultTable_; }
    /// The report data source's record number.
    std::int32_t ReportCursor = 0;
    /// The report rptSS with its data source jitPipelineSS over the entry fields, the
    /// result table and ReportCursor; made at its first use, kept while the window lives.
    BreakEvenReport& rptSS();

    // Commands.
    void btnCalculateClick();
    void btnClearClick();
    void btnExitClick();
    void Exit1Click();
    void Open1Click();
    void Save1Click();
    /// Opens the scenario file named when the program was started, as Open does once a
    /// name is chosen; a failure goes to the error box and leaves the fields as they are.
    void OpenFileAtStart(const QString& name);
    void Print1Click();
    void btnUseEarlyClick();
    void btnUseLaterClick();
    void btnPrintSummaryClick();

    /// Gives the Planner page the COLA and rate of "Data Input" and refreshes it.
    void RefreshPlanner();
    /// Year, month and age columns centred, money columns right-aligned, the header
    /// row centred throughout.
    static void grdSSGetAlignment(int ARow, int ACol, CellAlignment& AAlignment);

    /// Runs a command; an exception that leaves it is handled by HandleException.
    void RunCommand(const std::function<void()>& command);
    /// Shows the error in the error box (none for SilentAbort) and resets the
    /// arithmetic context.
    void HandleException(std::exception_ptr error);
    /// Replaces the modal error box, for tests.
    void SetErrorReporter(ErrorReporter reporter);
    /// The Open and Save commands' dialogs, record buffer and chosen name; tests script
    /// the dialogs through it.
    ScenarioFileCommands& fileCommands();

    /// The help context of a menu item: its own, or that of the nearest item above it
    /// that has one, or that of its menu.
    static int HelpContextOf(QAction* item);
    /// Shows a help topic; tests replace the viewer.
    void SetHelpRequester(std::function<void(int context)> requester);

  protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenu();
    void BuildToolBar(QWidget* parent);
    void BuildNotebook(QWidget* parent);
    void BuildInputPage();
    void BuildResultsPage();
    void BuildButtonPanel(QWidget* parent);
    void BuildPlannerPage();
    void WirePlanner();
    void UseOption(planner::ClaimSide side);
    void BuildMenuPainter();
    void WireCommands();
    void SetTabOrder();
    void FormCreate();
    void PlaceAtStart();
    /// A command button's click; a click whose focus change a field refused is dropped.
    void ConnectButton(QPushButton* button, void (TfrmMain::*command)());
    void ContextHelp();
    void RequestHelp(int context);

    EntrySettings entrySettings_;
    ScenarioFields fields_;
    std::unique_ptr<TResultTable> resultTable_;
    MenuPainterStyle* menuStyle_ = nullptr;
    HelpViewer* helpViewer_ = nullptr;
    ErrorReporter errorReporter_;
    std::function<void(int)> helpRequester_;
    std::unique_ptr<ScenarioFileCommands> fileCommands_;
    /// The inputs of the calculation the table holds; none before the first one, after
    /// one that failed and after New/Clear.
    std::optional<ScheduleInputs> lastPair_;
    // Last, so that it goes first: the report closes its source while ReportCursor lives.
    std::shared_ptr<BreakEvenReport> rptSS_;
};

}  // namespace velmora
