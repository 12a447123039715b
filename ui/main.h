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
#include "ui/questions.h"
#include "ui/scenariofilecommands.h"

class QAction;
class QComboBox;
class QLabel;
class QTableWidget;
class QMenu;
class QPrinter;
class QPushButton;
class QToolButton;

namespace velmora {

class EarningsDialog;

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
    QAction* SaveAs1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* PrinterSetup1 = nullptr;
    QAction* Exit1 = nullptr;
    /// The Help menu's item on the menu bar, and the menu's items.
    QAction* Help1 = nullptr;
    QMenu* HelpMenu = nullptr;
    QAction* HelpContents1 = nullptr;
    QAction* About1 = nullptr;

    /// The "Planner" page, which the window hosts. It is made when it is first shown or
    /// asked for, so that the window's start does not wait for it.
    PlannerPage* Planner();
    /// Whether the Planner page has been made yet.
    bool HasPlanner() const { return plannerPage_ != nullptr; }
    /// Runs the earnings dialog and gives its result; tests answer it. Empty: exec().
    std::function<int(EarningsDialog&)> earningsDialogRunner;

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
    /// Writes to the current file (the one opened or last saved), else asks as Save As.
    void Save1Click();
    /// Asks for a name and writes there; that file is then the current one.
    void SaveAs1Click();
    /// The page and printer setup; the printer chosen there prints the report.
    void PrinterSetup1Click();
    void HelpContents1Click();
    void About1Click();
    /// Opens the scenario file named when the program was started, as Open does once a
    /// name is chosen; a failure goes to the error box and leaves the fields as they are.
    void OpenFileAtStart(const QString& name);
    void Print1Click();
    void btnUseEarlyClick();
    void btnUseLaterClick();
    void btnPrintSummaryClick();
    void btnFromEarningsClick();
    /// Opens the earnings dialog for the client or the spouse.
    void FromEarnings(bool forSpouse);

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

    /// Replaces the modal questions (unsaved changes, calculate before printing), for tests.
    void SetQuestionAsker(QuestionAsker asker);
    /// Replaces the modal page and printer setup, for tests; true when accepted.
    void SetPageSetupRunner(std::function<bool(QPrinter&)> runner);
    /// The printer that Printer Setup sets up.
    QPrinter& SetupPrinter();
    /// The inputs (with the planner's, when it has a client) differ from those last
    /// opened or saved, or from the window's start or New.
    bool HasUnsavedChanges() const;
    /// The file opened or last saved, until New; empty when there is none.
    const QString& DocumentName() const { return documentName_; }
    /// The inputs as they stand are those of the table: calculated since the last change.
    bool ResultsMatchInputs();

    /// Where the window starts on a screen's free area: the client size, made smaller
    /// where the screen is too small, and the position of the frame's top-left corner that
    /// centres it with the frame.
    static QRect StartGeometry(const QRect& available, const QSize& client, const QSize& frame);

    /// The help context of a menu item: its own, or that of the nearest item above it
    /// that has one, or that of its menu.
    static int HelpContextOf(QAction* item);
    /// Shows a help topic; tests replace the viewer.
    void SetHelpRequester(std::function<void(int context)> requester);

  protected:
    void changeEvent(QEvent* event) override;
    /// Exit, Alt+F4 and the close box: asks first when there are unsaved changes.
    void closeEvent(QCloseEvent* event) override;
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
    void WirePlannerPage();
    /// The title follows every entry field and choice under root.
    void WatchForChanges(QWidget* root);
    void UseOption(planner::ClaimSide side);
    void BuildMenuPainter();
    void WireCommands();
    void SetTabOrder();
    void FormCreate();
    void PlaceAtStart();
    /// A command button's click; a click whose focus change a field refused is dropped.
    void ConnectButton(QPushButton* button, void (TfrmMain::*command)());
    void ContextHelp();
    /// Asks "Save changes to the scenario?" when there are unsaved changes; true when
    /// the command may go on (saved, discarded or nothing to save).
    bool MayDiscardChanges();
    /// Save (to the current file unless askName) and, once written, the inputs count as
    /// saved; false when the dialog was cancelled.
    bool SaveScenario(bool askName);
    /// A file's scenario was put into the fields: the old results go, page 0 is shown.
    void ScenarioShown();
    /// What Save would write, as text that compares equal when nothing changed.
    QString StateText() const;
    void MarkSaved();
    void UpdateTitle();
    /// Empties the table and its break-even result, and hides the result label.
    void ClearResults();
    /// Ctrl+Tab and Ctrl+PageDown (step 1), Ctrl+Shift+Tab and Ctrl+PageUp (step -1).
    void StepPage(int step);
    void WireUnsavedChanges();
    void KeepFocusMarked();
    void CentreInputPage();
    void RequestHelp(int context);

    EntrySettings entrySettings_;
    ScenarioFields fields_;
    std::unique_ptr<TResultTable> resultTable_;
    QWidget* plannerHost_ = nullptr;  // the Planner tab's page until it is made
    PlannerPage* plannerPage_ = nullptr;
    MenuPainterStyle* menuStyle_ = nullptr;
    HelpViewer* helpViewer_ = nullptr;
    ErrorReporter errorReporter_;
    std::function<void(int)> helpRequester_;
    std::unique_ptr<ScenarioFileCommands> fileCommands_;
    QuestionAsker questionAsker_;
    std::function<bool(QPrinter&)> pageSetupRunner_;
    std::unique_ptr<QPrinter> setupPrinter_;
    /// StateText when the inputs were last opened, saved or started anew.
    QString savedState_;
    QString documentName_;
    bool scenarioShown_ = false;
    /// The input page's controls at their places for the start size; a larger page
    /// shows them centred.
    std::vector<std::pair<QWidget*, QPoint>> inputPlaces_;
    /// The inputs of the calculation the table holds; none before the first one, after
    /// one that failed and after New/Clear.
    std::optional<ScheduleInputs> lastPair_;
    // Last, so that it goes first: the report closes its source while ReportCursor lives.
    std::shared_ptr<BreakEvenReport> rptSS_;
};

}  // namespace velmora
