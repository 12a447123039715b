// The main window's commands, keys, context help and top-level error handling.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <clocale>

#include "engine/money.h"
#include "engine/moneytext.h"
#include "ui/helpviewer.h"
#include "ui/main.h"
#include "ui/menupainter.h"
#include "ui/notebook.h"
#include "ui/panels.h"
#include "ui/planner/plannerpage.h"
#include "ui/resultsview.h"

namespace velmora {

void TfrmMain::WireCommands() {
    const auto command = [this](void (TfrmMain::*handler)()) {
        return [this, handler] { RunCommand([this, handler] { (this->*handler)(); }); };
    };
    ConnectButton(btnCalculate, &TfrmMain::btnCalculateClick);
    ConnectButton(btnClear, &TfrmMain::btnClearClick);
    ConnectButton(btnExit, &TfrmMain::btnExitClick);

    connect(tbNew, &QToolButton::clicked, this, command(&TfrmMain::btnClearClick));
    connect(tbOpen, &QToolButton::clicked, this, command(&TfrmMain::Open1Click));
    connect(tbSave, &QToolButton::clicked, this, command(&TfrmMain::Save1Click));
    connect(tbPrint, &QToolButton::clicked, this, command(&TfrmMain::Print1Click));

    connect(New1, &QAction::triggered, this, command(&TfrmMain::btnClearClick));
    connect(Open1, &QAction::triggered, this, command(&TfrmMain::Open1Click));
    connect(Save1, &QAction::triggered, this, command(&TfrmMain::Save1Click));
    connect(SaveAs1, &QAction::triggered, this, command(&TfrmMain::SaveAs1Click));
    connect(Print1, &QAction::triggered, this, command(&TfrmMain::Print1Click));
    connect(PrinterSetup1, &QAction::triggered, this, command(&TfrmMain::PrinterSetup1Click));
    connect(Exit1, &QAction::triggered, this, command(&TfrmMain::Exit1Click));
    connect(HelpContents1, &QAction::triggered, this, command(&TfrmMain::HelpContents1Click));
    connect(About1, &QAction::triggered, this, command(&TfrmMain::About1Click));
    // The desktop's usual keys for the File commands, shown in the menu.
    Open1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Save1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAs1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    Print1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));

    // Keys of the window. They run their command where the focus is, so no field is left
    // and no field rule runs; Esc is the window's cancel key.
    const struct {
        QKeySequence keys;
        void (TfrmMain::*handler)();
    } keys[] = {
        {QKeySequence(Qt::Key_Escape), &TfrmMain::btnClearClick},
        {QKeySequence(Qt::ALT | Qt::Key_A), &TfrmMain::btnCalculateClick},
        {QKeySequence(Qt::ALT | Qt::Key_L), &TfrmMain::btnClearClick},
        {QKeySequence(Qt::ALT | Qt::Key_X), &TfrmMain::btnExitClick},
        // Window managers take Alt+F4 themselves; this serves a desktop without one.
        {QKeySequence(Qt::ALT | Qt::Key_F4), &TfrmMain::btnExitClick},
    };
    for (const auto& key : keys) {
        auto* shortcut = new QShortcut(key.keys, this);
        connect(shortcut, &QShortcut::activated, this, command(key.handler));
    }
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { ContextHelp(); });

    // Changing pages from the keyboard, as with a click on a tab.
    const struct {
        QKeySequence keys;
        int step;
    } pageKeys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
    };
    for (const auto& key : pageKeys) {
        auto* shortcut = new QShortcut(key.keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, step = key.step] { StepPage(step); });
    }
}

void TfrmMain::StepPage(int step) {
    // As a tab click: the focus moves first, so the field being left applies its rules.
    OvcNotebook1->setFocus(Qt::TabFocusReason);
    if (entrySettings_.errorPending)
        return;
    const int count = OvcNotebook1->Count();
    const int index = (OvcNotebook1->CurrentIndex() + step + count) % count;
    OvcNotebook1->SetCurrentIndex(index);
    // The focus goes to the page's first control in Tab order; on a page without one (the
    // results), to the first that takes the focus at all, so that its keys work.
    QWidget* const page = OvcNotebook1->Page(index);
    for (const Qt::FocusPolicy wanted : {Qt::TabFocus, Qt::ClickFocus}) {
        for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
            if (page->isAncestorOf(w) && w->isVisible() && w->isEnabled() &&
                (w->focusPolicy() & wanted) != 0) {
                w->setFocus(Qt::TabFocusReason);
                return;
            }
        }
    }
}

void TfrmMain::ConnectButton(QPushButton* button, void (TfrmMain::*command)()) {
    connect(button, &QPushButton::clicked, this, [this, command] {
        // The press moved the focus here from a field that refused its content: the
        // field takes the focus back and the click does not count.
        if (entrySettings_.errorPending)
            return;
        RunCommand([this, command] { (this->*command)(); });
    });
}

void TfrmMain::btnCalculateClick() {
    const ScheduleInputs inputs = ScheduleInputsFromRecord(CollectNumbers(fields_));
    lastPair_.reset();
    BuildSchedule(inputs, *resultTable_);
    lastPair_ = inputs;
    lblResult->setText(QString::fromStdString(ResultMessage(*resultTable_)));
    lblResult->adjustSize();
    lblResult->show();
    // The planner reads COLA and rate from this page, and its chart shows this table.
    RefreshPlanner();
}

void TfrmMain::btnClearClick() {
    if (!MayDiscardChanges())
        return;
    ResetScenario(fields_);
    // The break-even result goes with the table: a report must not show it beside
    // other inputs.
    ClearResults();
    if (HasPlanner())
        Planner()->ShowInputs(std::nullopt);
    OvcNotebook1->SetCurrentIndex(0);
    // A new scenario: no file yet, nothing to save.
    documentName_.clear();
    MarkSaved();
}

void TfrmMain::btnExitClick() {
    close();
}

void TfrmMain::Exit1Click() {
    btnExitClick();
}

QPrinter& TfrmMain::SetupPrinter() {
    if (!setupPrinter_) {
        setupPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // The report's paper, which the setup shows to start with.
        setupPrinter_->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter),
                                                 QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    }
    return *setupPrinter_;
}

void TfrmMain::SetPageSetupRunner(std::function<bool(QPrinter&)> runner) {
    pageSetupRunner_ = std::move(runner);
}

void TfrmMain::PrinterSetup1Click() {
    QPrinter& printer = SetupPrinter();
    if (pageSetupRunner_) {
        pageSetupRunner_(printer);
        return;
    }
    QPageSetupDialog dialog(&printer, this);
    dialog.exec();
}

void TfrmMain::HelpContents1Click() {
    RequestHelp(kHelpContextWindow);
}

void TfrmMain::About1Click() {
    // Not modal to the program's run: the box closes by itself with its OK.
    auto* box = new QMessageBox(
        QMessageBox::Information, QString::fromLatin1(kApplicationTitle),
        QStringLiteral("Velmora Analysis %1\n\nCompares an earlier and a later start of "
                       "Social Security retirement benefits.")
            .arg(QStringLiteral(VELMORA_VERSION)),
        QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("AboutBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void TfrmMain::grdSSGetAlignment(int ARow, int ACol, CellAlignment& AAlignment) {
    if (ACol >= grdYear && ACol <= grdAge) {
        AAlignment = CellAlignment::Center;
    } else if (ACol >= grdEarlyBenefit && ACol <= grdDifference) {
        AAlignment = CellAlignment::Right;
    }
    if (ARow == 0)
        AAlignment = CellAlignment::Center;
}

void TfrmMain::RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

void TfrmMain::HandleException(std::exception_ptr error) {
    QString message;
    bool silent = false;
    try {
        std::rethrow_exception(error);
    } catch (const SilentAbort&) {
        silent = true;
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
        message = QStringLiteral("Unexpected error");
    }
    if (!silent)
        errorReporter_(this, ErrorBoxText(message));
    SetArithmeticContext();
}

void TfrmMain::SetErrorReporter(ErrorReporter reporter) {
    errorReporter_ = std::move(reporter);
}

int TfrmMain::HelpContextOf(QAction* item) {
    if (item == nullptr)
        return 0;
    if (const int own = item->property("helpContext").toInt(); own != 0)
        return own;
    for (const QObject* owner = item->parent(); owner != nullptr; owner = owner->parent()) {
        const auto* menu = qobject_cast<const QMenu*>(owner);
        if (menu == nullptr)
            continue;
        const QList<QAction*> items = menu->actions();
        for (auto i = items.indexOf(item) - 1; i >= 0; --i) {
            if (const int above = items[i]->property("helpContext").toInt(); above != 0) {
                return above;
            }
        }
        return HelpContextOf(menu->menuAction());
    }
    return 0;
}

void TfrmMain::SetHelpRequester(std::function<void(int)> requester) {
    helpRequester_ = std::move(requester);
}

void TfrmMain::ContextHelp() {
    // No control has a context of its own, so every control leads to the window's; a
    // highlighted menu bar item has its own.
    const int menuContext = HelpContextOf(menuBar()->activeAction());
    if (menuContext == 0 && OvcNotebook1->CurrentIndex() == kPlannerPage) {
        // The planner page has a topic of its own.
        RequestHelp(kHelpContextPlanner);
        return;
    }
    RequestHelp(menuContext != 0 ? menuContext : kHelpContextWindow);
}

void TfrmMain::RequestHelp(int context) {
    if (helpRequester_) {
        helpRequester_(context);
        return;
    }
    if (helpViewer_ == nullptr)
        helpViewer_ = new HelpViewer(this);
    helpViewer_->ShowTopic(context);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel1 && event->type() == QEvent::Resize)
        CentreInputPage();
    auto* const menu =
        watched == File1 || watched == HelpMenu ? static_cast<QMenu*>(watched) : nullptr;
    if (menu != nullptr && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        const int context = HelpContextOf(menu->activeAction());
        RequestHelp(context != 0 ? context : HelpContextOf(menu->menuAction()));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::changeEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::LocaleChange:
            // Texts already in the table stay; the next calculation uses the new format.
            std::setlocale(LC_ALL, "");
            ReadMoneyFormat();
            break;
        case QEvent::PaletteChange:
            if (menuStyle_ != nullptr) {
                menuStyle_->SetColours(DesktopMenuColours());
            }
            break;
        default:
            break;
    }
    QMainWindow::changeEvent(event);
}

}  // namespace velmora
