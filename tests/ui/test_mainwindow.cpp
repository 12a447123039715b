#include <QAction>
#include <QDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <cfenv>
#include <stdexcept>

#include "mainwindow_fixture.h"
#include "ui/panels.h"

namespace velmora {
namespace {

template <typename T = QWidget>
T* Child(TfrmMain& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

TEST_F(MainWindowTest, StartsWithTheWindowAloneInItsStartState) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Velmora Analysis"));
    EXPECT_EQ(window->objectName(), QStringLiteral("frmMain"));
    EXPECT_FALSE(window->HasUnsavedChanges());
    // Typing starts in the first field, not on a button.
    EXPECT_EQ(window->focusWidget(), f().oClientName);
    EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), 0);
    EXPECT_TRUE(window->lblResult->isHidden());
    EXPECT_EQ(window->lblResult->text(), QString());
    EXPECT_EQ(window->grdSS->cells().RowCount(), 25);
    EXPECT_EQ(&window->grdSS->cells(), &window->resultTable().cells) << "the grid shows the table";
    EXPECT_FALSE(window->resultTable().BreakEvenFound);
    EXPECT_EQ(window->resultTable().BreakEvenYear, "");
    EXPECT_EQ(window->ReportCursor, 0);
    const int widths[kResultColumns] = {50, 50, 50, 75, 75, 75, 75, 75, 75, 75, 75, 75};
    for (int c = 0; c < kResultColumns; ++c)
        EXPECT_EQ(window->grdSS->ColumnWidth(c), widths[c]);
    EXPECT_EQ(f().oYears->ValueAsInteger(), 1);
    EXPECT_EQ(f().oEarlyYear->ValueAsInteger(), 2000);
    EXPECT_EQ(f().oLaterYear->ValueAsInteger(), 2000);
    EXPECT_EQ(f().oAge->ValueAsInteger(), 1);
    EXPECT_EQ(f().oClientName->ValueAsText(), QString());
    // Nothing but the window is made: no dialog, no help viewer, nothing reported.
    EXPECT_TRUE(window->findChildren<QDialog*>().isEmpty());
    EXPECT_TRUE(reported.empty());
    EXPECT_TRUE(helpTopics.empty());
}

TEST_F(MainWindowTest, ControlsAtTheirPlaces) {
    window->show();
    window->OvcNotebook1->SetCurrentIndex(1);
    QApplication::processEvents();
    EXPECT_EQ(window->centralWidget()->size(), QSize(792, 434));
    const struct {
        const char* name;
        QRect box;
    } places[] = {
        {"ToolBar1", {0, 0, 792, 29}},         {"tbNew", {0, 2, 23, 22}},
        {"tbOpen", {23, 2, 23, 22}},           {"tbSave", {46, 2, 23, 22}},
        {"ToolButton4", {69, 2, 8, 22}},       {"tbPrint", {77, 2, 23, 22}},
        {"OvcNotebook1", {0, 29, 792, 356}},   {"Panel3", {0, 385, 792, 49}},
        {"btnCalculate", {20, 12, 75, 25}},    {"btnClear", {362, 12, 75, 25}},
        {"btnExit", {704, 12, 75, 25}},        {"Shape2", {12, 16, 72, 19}},
        {"Shape4", {12, 48, 72, 19}},          {"Shape13", {12, 80, 72, 19}},
        {"Shape1", {12, 116, 72, 19}},         {"Shape3", {12, 149, 85, 19}},
        {"Shape5", {12, 180, 101, 41}},        {"Shape10", {452, 116, 72, 19}},
        {"Shape11", {536, 116, 72, 19}},       {"Shape12", {620, 116, 97, 19}},
        {"Shape7", {286, 149, 145, 19}},       {"Shape8", {286, 175, 145, 19}},
        {"Shape9", {286, 201, 145, 19}},       {"Shape6", {13, 105, 720, 4}},
        {"Label4", {19, 183, 86, 35}},         {"oClientName", {116, 15, 617, 20}},
        {"oDescription", {116, 47, 617, 20}},  {"oPreparer", {116, 79, 617, 20}},
        {"oCola", {116, 115, 120, 20}},        {"oRate", {116, 148, 120, 20}},
        {"oYears", {116, 190, 61, 20}},        {"oEarlyMonth", {452, 148, 72, 20}},
        {"oEarlyYear", {536, 148, 72, 20}},    {"oEarlyBenefit", {620, 148, 98, 20}},
        {"oLaterMonth", {452, 174, 72, 20}},   {"oLaterYear", {536, 174, 72, 20}},
        {"oLaterBenefit", {620, 174, 98, 20}}, {"oAge", {452, 200, 72, 20}},
    };
    for (const auto& place : places) {
        SCOPED_TRACE(place.name);
        if (QWidget* child = Child(*window, place.name)) {
            EXPECT_EQ(child->geometry(), place.box);
        }
    }
    const struct {
        const char* name;
        QPoint at;
        const char* text;
    } labels[] = {
        {"Label12", {20, 18}, "Client Name"},
        {"Label13", {20, 50}, "Description"},
        {"Label10", {20, 82}, "Preparer"},
        {"Label1", {34, 118}, "COLA"},
        {"Label2", {21, 151}, "Discount Rate"},
        {"Label4", {19, 183}, "Number of Years to Calculate"},
        {"Label7", {474, 118}, "Month"},
        {"Label8", {558, 118}, "Year"},
        {"Label9", {631, 118}, "Monthly Benefit"},
        {"Label3", {300, 151}, "Early Date of Retirement"},
        {"Label5", {300, 177}, "Later Date of Retirement"},
        {"Label6", {302, 203}, "Age at Early Retirement"},
        {"lblResult", {16, 248}, ""},
    };
    for (const auto& label : labels) {
        SCOPED_TRACE(label.name);
        if (auto* child = Child<QLabel>(*window, label.name)) {
            EXPECT_EQ(child->pos(), label.at);
            EXPECT_EQ(child->text(), QString::fromLatin1(label.text));
            EXPECT_EQ(child->parentWidget(), window->Panel1);
            // A one-line caption is exactly as large as its text, as Qt would size it.
            if (!child->wordWrap() && !child->text().isEmpty()) {
                EXPECT_EQ(child->size(), child->sizeHint());
            }
        }
    }
    // Each page is covered by its panel; the grid sits 6 px inside Panel2.
    EXPECT_EQ(window->Panel1->geometry(), window->OvcNotebook1->PageRect());
    EXPECT_EQ(window->Panel2->geometry(), window->OvcNotebook1->PageRect());
    EXPECT_EQ(window->grdSS->geometry(), window->Panel2->rect().adjusted(6, 6, -6, -6));
    EXPECT_EQ(window->grdSS->size(), QSize(777, 319));
}

TEST_F(MainWindowTest, ColoursAndFonts) {
    EXPECT_EQ(window->Panel1->colour(), QColor(217, 232, 240));
    EXPECT_EQ(window->Panel2->colour(), QColor(217, 232, 240));
    EXPECT_EQ(window->Panel3->colour(), QColor(0, 191, 191));
    auto* pill = Child<ShapeWidget>(*window, "Shape5");
    EXPECT_EQ(pill->kind(), ShapeWidget::Kind::RoundRect);
    EXPECT_EQ(pill->fill(), QColor(64, 173, 225));
    EXPECT_EQ(pill->outline(), QColor(28, 130, 179));
    auto* bar = Child<ShapeWidget>(*window, "Shape6");
    EXPECT_EQ(bar->kind(), ShapeWidget::Kind::Rectangle);
    EXPECT_EQ(bar->fill(), QColor(27, 122, 169));
    EXPECT_EQ(bar->outline(), QColor(64, 173, 225));

    // Arial, or where it is not installed its metric twin, named directly: either way the
    // face that asking for Arial draws.
    const bool arialInstalled =
        QFontDatabase::families().contains(QStringLiteral("Arial"), Qt::CaseInsensitive);
    const bool twinInstalled =
        QFontDatabase::families().contains(QStringLiteral("Liberation Sans"), Qt::CaseInsensitive);
    const QString family = !arialInstalled && twinInstalled ? QStringLiteral("Liberation Sans")
                                                            : QStringLiteral("Arial");
    const auto arialFace = [](const QFont& font) {
        QFont arial = font;
        arial.setFamily(QStringLiteral("Arial"));
        return QFontInfo(arial).family();
    };
    EXPECT_EQ(window->font().family(), family);
    EXPECT_EQ(QFontInfo(window->font()).family(), arialFace(window->font()));
    EXPECT_EQ(window->font().pixelSize(), 11);
    EXPECT_EQ(window->btnClear->font().pixelSize(), 11);
    const QFont result = window->lblResult->font();
    EXPECT_EQ(result.family(), family);
    EXPECT_EQ(QFontInfo(result).family(), arialFace(result));
    EXPECT_EQ(result.pixelSize(), 16);
    EXPECT_TRUE(result.bold());
    // Drawn in blue, whatever the panels below it.
    window->lblResult->setText(QStringLiteral("Breakeven point occurs in the year 2014"));
    window->lblResult->adjustSize();
    const QImage drawn = window->lblResult->grab().toImage();
    int blue = 0;
    int dark = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor c = drawn.pixelColor(x, y);
            if (c.blue() > 200 && c.red() < 60 && c.green() < 60)
                ++blue;
            if (c.blue() < 60 && c.red() < 60 && c.green() < 60)
                ++dark;
        }
    }
    EXPECT_GT(blue, 100);
    EXPECT_EQ(dark, 0);
    QFont tab(QStringLiteral("Arial"));
    tab.setPixelSize(13);
    tab.setBold(true);
    EXPECT_EQ(window->OvcNotebook1->TabStripHeight(),
              std::max(QFontMetrics(window->font()).height(), QFontMetrics(tab).height()) + 4);
}

TEST_F(MainWindowTest, CaptionsTooltipsAndMenuItems) {
    EXPECT_EQ(window->btnCalculate->text(), QStringLiteral("C&alculate"));
    EXPECT_EQ(window->btnClear->text(), QStringLiteral("C&lear"));
    EXPECT_EQ(window->btnExit->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(window->btnCalculate->iconSize(), QSize(16, 16));
    EXPECT_EQ(window->btnClear->iconSize(), QSize(18, 18));
    EXPECT_EQ(window->btnExit->iconSize(), QSize(18, 18));
    EXPECT_EQ(window->tbNew->toolTip(), QStringLiteral("Start a new calculation."));
    EXPECT_EQ(window->tbOpen->toolTip(), QStringLiteral("Open a previously saved calculation."));
    EXPECT_EQ(window->tbSave->toolTip(), QStringLiteral("Save the current calculation to disk."));
    EXPECT_EQ(window->tbPrint->toolTip(), QStringLiteral("Display or Print current calculation."));
    for (QToolButton* button : {window->tbNew, window->tbOpen, window->tbSave, window->tbPrint}) {
        EXPECT_EQ(button->iconSize(), QSize(16, 16));
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    }
    QStringList bar;
    for (QAction* item : window->menuBar()->actions())
        bar << item->text();
    EXPECT_EQ(bar, QStringList({"&File", "&Help"}));
    EXPECT_EQ(window->Help1->menu(), window->HelpMenu);
    QStringList file;
    for (QAction* item : window->File1->actions())
        file << (item->isSeparator() ? "-" : item->text());
    EXPECT_EQ(file,
              QStringList({"&New", "&Open", "&Save", QString::fromUtf8("Save &As\u2026"), "-",
                           "&Print", QString::fromUtf8("Printer Set&up\u2026"), "-", "E&xit"}));
    QStringList help;
    for (QAction* item : window->HelpMenu->actions())
        help << item->text();
    EXPECT_EQ(help, QStringList({"&Contents\tF1", "&About Velmora Analysis"}));
    EXPECT_EQ(window->OvcNotebook1->Caption(0), QStringLiteral("Data Input"));
    EXPECT_EQ(window->OvcNotebook1->Caption(1), QStringLiteral("Table of Results"));
}

// The name of the control that holds the focus, looking through focus proxies.
QString FocusedControl() {
    for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
        const QString name = w->objectName();
        if (name.startsWith(QLatin1String("btn")) || name.startsWith(QLatin1Char('o')) ||
            name == QLatin1String("grdSS")) {
            return name;
        }
    }
    return QStringLiteral("(none)");
}

// Each menu's access keys are its own: the one letter chooses one item.
TEST_F(MainWindowTest, AccessKeysOfAMenuDoNotClash) {
    for (QMenu* menu : {window->File1, window->HelpMenu}) {
        SCOPED_TRACE(menu->objectName().toStdString());
        QStringList keys;
        for (QAction* item : menu->actions()) {
            if (item->isSeparator())
                continue;
            const QString text = item->text();
            const auto amp = text.indexOf(QLatin1Char('&'));
            ASSERT_GE(amp, 0) << text.toStdString() << " has no access key";
            const QString key = text.mid(amp + 1, 1).toLower();
            EXPECT_FALSE(keys.contains(key)) << text.toStdString();
            keys << key;
        }
    }
}

TEST_F(MainWindowTest, TabVisitsTheFieldsThenTheButtonsInTheirOrder) {
    ShowActive();
    EXPECT_EQ(FocusedControl(), QStringLiteral("oClientName"));
    const QStringList expected = {"oDescription", "oPreparer",   "oCola",         "oRate",
                                  "oYears",       "oEarlyMonth", "oEarlyYear",    "oEarlyBenefit",
                                  "oLaterMonth",  "oLaterYear",  "oLaterBenefit", "oAge",
                                  "btnCalculate", "btnClear",    "btnExit",       "oClientName"};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << FocusedControl();
    }
    EXPECT_EQ(visited, expected);
    EXPECT_TRUE(fieldErrors.empty());
}

TEST_F(MainWindowTest, CalculateShowsTheMessageAndKeepsThePage) {
    ShowActive();
    window->OvcNotebook1->SetCurrentIndex(1);
    QTest::mouseClick(window->btnCalculate, Qt::LeftButton);
    EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), 1);
    EXPECT_TRUE(window->lblResult->isVisibleTo(window->Panel1));
    EXPECT_EQ(window->lblResult->text().toStdString(), ResultMessage(window->resultTable()));
    EXPECT_EQ(window->lblResult->size(), window->lblResult->sizeHint());
    // The window start holds one year.
    EXPECT_EQ(window->grdSS->cells().RowCount(), 2);
    EXPECT_TRUE(reported.empty());
}

TEST_F(MainWindowTest, AltACalculatesWithoutMovingTheFocus) {
    ShowActive();
    f().oCola->setFocus();
    QApplication::processEvents();
    const QString before = FocusedControl();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(window->lblResult->isVisibleTo(window->Panel1));
    EXPECT_EQ(FocusedControl(), before);
    EXPECT_EQ(before, QStringLiteral("oCola"));
}

// A window that has calculated and been edited: page 2 shown, rows filled, label shown.
void MakeDirty(TfrmMain& w) {
    w.fields().oClientName->SetValueText(QStringLiteral("Client"));
    w.fields().oDescription->SetValueText(QStringLiteral("Description"));
    w.fields().oPreparer->SetValueText(QStringLiteral("Pat Preparer"));
    w.fields().oYears->SetValueInteger(30);
    w.fields().oAge->SetValueInteger(66);
    w.grdSS->cells().SetRowCount(31);
    for (int r = 1; r <= 30; ++r) {
        for (int c = 0; c < kResultColumns; ++c)
            w.grdSS->cells().SetCellText(c, r, "$1");
    }
    w.resultTable().BreakEvenFound = true;
    w.resultTable().BreakEvenYear = "2014";
    w.lblResult->setText(QStringLiteral("Breakeven point occurs in the year 2014"));
    w.lblResult->show();
    w.OvcNotebook1->SetCurrentIndex(1);
}

TEST_F(MainWindowTest, EveryWayToNewClearsTheSameWay) {
    ShowActive();
    const struct {
        const char* trigger;
        std::function<void(TfrmMain&)> run;
    } triggers[] = {
        {"btnClear click", [](TfrmMain& w) { QTest::mouseClick(w.btnClear, Qt::LeftButton); }},
        {"tbNew click", [](TfrmMain& w) { QTest::mouseClick(w.tbNew, Qt::LeftButton); }},
        {"File > New", [](TfrmMain& w) { w.New1->trigger(); }},
        {"Alt+L",
         [](TfrmMain& w) {
             w.fields().oRate->setFocus();
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::AltModifier);
         }},
        {"Esc in a field",
         [](TfrmMain& w) {
             w.fields().oLaterBenefit->setFocus();
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
         }},
        {"Esc on a button",
         [](TfrmMain& w) {
             w.btnExit->setFocus();
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
         }},
        {"Esc in the grid",
         [](TfrmMain& w) {
             w.grdSS->setFocus();
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
         }},
    };
    for (const auto& trigger : triggers) {
        SCOPED_TRACE(trigger.trigger);
        MakeDirty(*window);
        trigger.run(*window);
        EXPECT_EQ(f().oClientName->ValueAsText(), QString());
        EXPECT_EQ(f().oDescription->ValueAsText(), QString());
        EXPECT_EQ(f().oPreparer->ValueAsText(), QStringLiteral("Pat Preparer"));
        EXPECT_EQ(f().oYears->ValueAsInteger(), 0);
        EXPECT_EQ(f().oAge->ValueAsInteger(), 62);
        EXPECT_EQ(f().oEarlyYear->ValueAsInteger(), 2001);
        EXPECT_EQ(f().oLaterYear->ValueAsInteger(), 2004);
        EXPECT_EQ(window->grdSS->cells().RowCount(), 31);
        EXPECT_EQ(window->grdSS->cells().GetCellText(0, 1), "");
        EXPECT_EQ(window->grdSS->cells().GetCellText(11, 30), "");
        EXPECT_EQ(window->grdSS->cells().GetCellText(0, 0), "Year");
        EXPECT_TRUE(window->lblResult->isHidden());
        EXPECT_EQ(window->lblResult->text(), QString());
        EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), 0);
        // The break-even result goes with the table: no report can show it beside the new
        // inputs.
        EXPECT_FALSE(window->resultTable().BreakEvenFound);
        EXPECT_EQ(window->resultTable().BreakEvenYear, "");
        // The changed inputs were offered for saving first; discarded, they are gone.
        EXPECT_EQ(questions, std::vector<Question>{Question::SaveChanges});
        EXPECT_FALSE(window->HasUnsavedChanges());
        questions.clear();
    }
    EXPECT_TRUE(reported.empty());
    EXPECT_TRUE(fieldErrors.empty());
}

TEST_F(MainWindowTest, KeysRunTheirCommandWhereTheFocusIs) {
    ShowActive();
    MakeDirty(*window);
    window->OvcNotebook1->SetCurrentIndex(0);
    f().oDescription->setFocus();
    QApplication::processEvents();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(FocusedControl(), QStringLiteral("oDescription"));
    EXPECT_TRUE(window->lblResult->isHidden());
}

TEST_F(MainWindowTest, ColumnWidthsHoldThroughCalculateAndNew) {
    window->grdSS->SetColumnWidth(3, 140);
    window->btnCalculateClick();
    window->btnClearClick();
    window->btnCalculateClick();
    EXPECT_EQ(window->grdSS->ColumnWidth(3), 140);
    EXPECT_EQ(window->grdSS->ColumnWidth(2), 50);
}

TEST_F(MainWindowTest, NewAtStartChangesNothingInTheTable) {
    window->btnClearClick();
    EXPECT_EQ(window->grdSS->cells().RowCount(), 25);
    for (int c = 0; c < kResultColumns; ++c) {
        EXPECT_EQ(window->grdSS->cells().GetCellText(c, 0),
                  kColumnTitles[static_cast<std::size_t>(c)]);
        EXPECT_EQ(window->grdSS->cells().GetCellText(c, 24), "");
    }
}

TEST_F(MainWindowTest, EveryWayToExitAsksFirstWhenThereAreUnsavedChanges) {
    const struct {
        const char* trigger;
        std::function<void(TfrmMain&)> run;
    } triggers[] = {
        {"btnExit click", [](TfrmMain& w) { QTest::mouseClick(w.btnExit, Qt::LeftButton); }},
        {"File > Exit", [](TfrmMain& w) { w.Exit1->trigger(); }},
        {"Alt+X",
         [](TfrmMain& w) {
             w.fields().oClientName->setFocus();
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::AltModifier);
         }},
        {"close box", [](TfrmMain& w) { w.close(); }},
    };
    const struct {
        bool changed;
        Answer answer;
        bool asked;
        bool closed;
    } cases[] = {
        {false, Answer::Cancel, false, true},
        {true, Answer::Cancel, true, false},
        {true, Answer::Discard, true, true},
    };
    for (const auto& trigger : triggers) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(trigger.trigger) + (c.changed ? ", changed" : ", unchanged") +
                         ", answer " + std::to_string(static_cast<int>(c.answer)));
            ShowActive();
            if (c.changed)
                f().oClientName->SetValueText(QStringLiteral("changed"));
            questions.clear();
            saveAnswer = c.answer;
            trigger.run(*window);
            EXPECT_EQ(questions.size(), c.asked ? 1u : 0u);
            EXPECT_EQ(window->isVisible(), !c.closed);
            EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
            // Cancelled, the work stays as it was.
            if (!c.closed) {
                EXPECT_EQ(f().oClientName->ValueAsText(), QStringLiteral("changed"));
            }
            f().oClientName->SetValueText(QString());
        }
    }
    EXPECT_TRUE(reported.empty());
}

TEST_F(MainWindowTest, PrinterSetupOpensThePageSetupAndTheHelpMenuItsTopics) {
    ShowActive();
    MakeDirty(*window);
    int setups = 0;
    window->SetPageSetupRunner([&setups](QPrinter& printer) {
        ++setups;
        // The setup starts from the report's paper.
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
        EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::Letter);
        return true;
    });
    window->PrinterSetup1->trigger();
    EXPECT_EQ(setups, 1);
    window->HelpContents1->trigger();
    EXPECT_EQ(helpTopics, std::vector<int>{TfrmMain::kHelpContextWindow});
    window->About1->trigger();
    auto* about = window->findChild<QMessageBox*>(QStringLiteral("AboutBox"));
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->text().contains(QStringLiteral("Velmora Analysis")));
    about->close();
    // None of them touched the inputs, the page or the results.
    EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), 1);
    EXPECT_TRUE(window->lblResult->isVisibleTo(window->Panel1));
    EXPECT_EQ(f().oClientName->ValueAsText(), QStringLiteral("Client"));
    EXPECT_TRUE(reported.empty());
}

TEST_F(MainWindowTest, ErrorsEndTheCommandShowTheMessageAndResetArithmetic) {
    const struct {
        const char* name;
        std::function<void()> command;
        std::vector<QString> shown;
    } cases[] = {
        {"file error", [] { throw std::runtime_error("File not found"); }, {"File not found."}},
        {"full stop kept",
         [] { throw std::runtime_error("Cannot generate report."); },
         {"Cannot generate report."}},
        {"exclamation kept", [] { throw std::runtime_error("Stop!"); }, {"Stop!"}},
        {"empty message", [] { throw std::runtime_error(""); }, {""}},
        {"silent abort", [] { throw SilentAbort(); }, {}},
        {"no error", [] {}, {}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        reported.clear();
        window->RunCommand([&test] {
            std::fesetround(FE_UPWARD);
            std::feraiseexcept(FE_INVALID | FE_OVERFLOW);
            test.command();
            std::fesetround(FE_TONEAREST);
            std::feclearexcept(FE_ALL_EXCEPT);
        });
        EXPECT_EQ(reported, test.shown);
        EXPECT_EQ(std::fegetround(), FE_TONEAREST);
        EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
    }
}

TEST_F(MainWindowTest, ErrorBoxIsTitledWithTheProgramName) {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->accept();
    });
    ShowErrorBox(window.get(), QStringLiteral("File not found."));
    EXPECT_EQ(title, QStringLiteral("Velmora Analysis"));
    EXPECT_EQ(text, QStringLiteral("File not found."));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST_F(MainWindowTest, AClickWhoseFocusChangeAFieldRefusedDoesNotCount) {
    ShowActive();
    window->entrySettings().errorPending = true;
    QTest::mouseClick(window->btnCalculate, Qt::LeftButton);
    QTest::mouseClick(window->btnExit, Qt::LeftButton);
    QTest::mouseClick(window->OvcNotebook1, Qt::LeftButton, {},
                      window->OvcNotebook1->TabRect(1).center());
    EXPECT_TRUE(window->lblResult->isHidden());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), 0);

    window->entrySettings().errorPending = false;
    QTest::mouseClick(window->OvcNotebook1, Qt::LeftButton, {},
                      window->OvcNotebook1->TabRect(1).center());
    EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), 1);
    QTest::mouseClick(window->btnCalculate, Qt::LeftButton);
    EXPECT_TRUE(window->lblResult->isVisibleTo(window->Panel1));
}

TEST_F(MainWindowTest, F1ShowsTheWindowTopicFromAnyControl) {
    ShowActive();
    const struct {
        const char* control;
        std::function<QWidget*(TfrmMain&)> focus;
    } controls[] = {
        {"field", [](TfrmMain& w) -> QWidget* { return w.fields().oEarlyBenefit; }},
        {"button", [](TfrmMain& w) -> QWidget* { return w.btnClear; }},
        {"grid",
         [](TfrmMain& w) -> QWidget* {
             w.OvcNotebook1->SetCurrentIndex(1);
             return w.grdSS;
         }},
    };
    for (const auto& control : controls) {
        SCOPED_TRACE(control.control);
        helpTopics.clear();
        control.focus(*window)->setFocus();
        QApplication::processEvents();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        EXPECT_EQ(helpTopics, std::vector<int>({10}));
    }
}

TEST_F(MainWindowTest, F1OnMenuItemsShowsTheirTopic) {
    ShowActive();
    window->File1->popup(window->mapToGlobal(QPoint(0, 0)));
    window->File1->setActiveAction(window->Print1);
    QTest::keyClick(window->File1, Qt::Key_F1);
    window->File1->close();
    EXPECT_EQ(helpTopics, std::vector<int>({210}));

    // The Help menu opens with its item highlighted on the bar; F1 there, or on one of its
    // items, shows its topic.
    helpTopics.clear();
    window->menuBar()->setActiveAction(window->Help1);
    QTest::keyClick(window->HelpMenu, Qt::Key_F1);
    window->HelpMenu->setActiveAction(window->About1);
    QTest::keyClick(window->HelpMenu, Qt::Key_F1);
    window->HelpMenu->close();
    EXPECT_EQ(helpTopics, std::vector<int>({220, 220}));
}

TEST_F(MainWindowTest, MenuItemsTakeTheNearestHelpContextAbove) {
    QAction* plain = window->File1->addAction(QStringLiteral("no context"));
    const struct {
        const char* item;
        QAction* action;
        int context;
    } cases[] = {
        {"File", window->File1->menuAction(), 210},
        {"New", window->New1, 210},
        {"Printer Setup", window->PrinterSetup1, 210},
        {"Exit", window->Exit1, 210},
        {"item without one", plain, 210},
        {"Help", window->Help1, 220},
        {"none", nullptr, 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.item);
        EXPECT_EQ(TfrmMain::HelpContextOf(test.action), test.context);
    }
}

TEST_F(MainWindowTest, LocaleChangeReadsTheMoneyFormatAgainAndKeepsTheTable) {
    window->grdSS->cells().SetCellText(3, 1, "$1,000.00");
    MoneyFormat().CurrencySymbol = "zz";
    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(window.get(), &change);
    const TMoneyFormat read = MoneyFormat();
    EXPECT_NE(read.CurrencySymbol, "zz");
    ReadMoneyFormat();
    EXPECT_EQ(MoneyFormat(), read);
    EXPECT_EQ(window->grdSS->cells().GetCellText(3, 1), "$1,000.00");
}

}  // namespace
}  // namespace velmora
