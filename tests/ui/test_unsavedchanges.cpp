// Work the window keeps: the question before New, Open and Exit lose unsaved changes, the
// title, the keys of the File commands and of the pages, the focus mark and the window's
// size on the screen.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "mainwindow_fixture.h"
#include "planner/companionfile.h"
#include "scenario/filesystem.h"
#include "scenario/scenariocodec.h"
#include "scenario/scenariofile.h"
#include "ui/panels.h"
#include "ui/planner/plannerpage.h"

namespace velmora {
namespace {

class UnsavedChangesTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(folder_.isValid());
        window->fileCommands().SetDialogRunner([this](QFileDialog&) -> std::optional<QString> {
            ++dialogRuns;
            return answer;
        });
    }

    QString PathOf(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }

    // The client name a scenario file holds.
    std::string ClientIn(const QString& path) const {
        const ScenarioBytes bytes =
            LoadScenarioBytes(QFile::encodeName(path).toStdString(), SystemFileSystem());
        return DecodeScenarioRecord(bytes).ClientName;
    }

    void SaveAs(const QString& path) {
        answer = path;
        window->SaveAs1Click();
        ASSERT_TRUE(reported.empty());
    }

    std::optional<QString> answer;
    int dialogRuns = 0;
    QTemporaryDir folder_;
};

TEST_F(UnsavedChangesTest, TitleNamesTheFileAndMarksUnsavedChanges) {
    ShowActive();
    const struct {
        const char* step;
        std::function<void()> run;
        const char* title;
    } steps[] = {
        {"start", [] {}, "Velmora Analysis"},
        {"a typed name", [this] { QTest::keyClicks(f().oClientName, QStringLiteral("Ann")); },
         "Velmora Analysis*"},
        {"Save As", [this] { SaveAs(PathOf("ann.ss")); }, "Velmora Analysis - ann.ss"},
        {"a typed COLA",
         [this] {
             f().oCola->setFocus();
             QTest::keyClicks(f().oCola, QStringLiteral("2"));
         },
         "Velmora Analysis - ann.ss*"},
        {"typed back as it was and left",
         [this] {
             QTest::keyClick(f().oCola, Qt::Key_Backspace);
             QTest::keyClick(f().oCola, Qt::Key_Tab);
         },
         "Velmora Analysis - ann.ss"},
        {"Save via Ctrl+S after another change",
         [this] {
             f().oCola->setFocus();
             QTest::keyClicks(f().oCola, QStringLiteral("3"));
             QTest::keyClick(f().oCola, Qt::Key_S, Qt::ControlModifier);
         },
         "Velmora Analysis - ann.ss"},
        {"New", [this] { window->btnClearClick(); }, "Velmora Analysis"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.run();
        EXPECT_EQ(window->windowTitle(), QString::fromLatin1(s.title));
    }
    // Save had a file to write to: only Save As asked for a name.
    EXPECT_EQ(dialogRuns, 1);
    EXPECT_EQ(ClientIn(PathOf("ann.ss")), "Ann");
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(reported.empty());
}

TEST_F(UnsavedChangesTest, NewAndOpenAskFirstAndEachAnswerDoesItsPart) {
    const QString other = PathOf("bob.ss");
    const struct {
        const char* command;
        Answer answer;
        const char* clientShown;  // after the command
        const char* clientSaved;  // in ann.ss afterwards
    } cases[] = {
        {"Esc", Answer::Save, "", "Changed"},      {"Esc", Answer::Discard, "", "Ann"},
        {"Esc", Answer::Cancel, "Changed", "Ann"}, {"Open", Answer::Save, "Bob", "Changed"},
        {"Open", Answer::Discard, "Bob", "Ann"},   {"Open", Answer::Cancel, "Changed", "Ann"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " answered " +
                     std::to_string(static_cast<int>(c.answer)));
        ShowActive();
        f().oClientName->SetValueText(QStringLiteral("Bob"));
        SaveAs(other);
        f().oClientName->SetValueText(QStringLiteral("Ann"));
        SaveAs(PathOf("ann.ss"));
        f().oClientName->SetValueText(QStringLiteral("Changed"));
        questions.clear();
        dialogRuns = 0;
        saveAnswer = c.answer;
        answer = other;
        if (std::string(c.command) == "Esc") {
            QTest::keyClick(f().oCola, Qt::Key_Escape);
        } else {
            window->Open1->trigger();
        }
        EXPECT_EQ(questions, std::vector<Question>{Question::SaveChanges});
        EXPECT_EQ(f().oClientName->ValueAsText(), QString::fromLatin1(c.clientShown));
        EXPECT_EQ(ClientIn(PathOf("ann.ss")), c.clientSaved);
        // Save wrote to the open file without asking; a cancelled question runs no dialog.
        EXPECT_EQ(dialogRuns, std::string(c.command) == "Open" && c.answer != Answer::Cancel);
        EXPECT_EQ(window->HasUnsavedChanges(), c.answer == Answer::Cancel);
    }
    EXPECT_TRUE(reported.empty());
}

TEST_F(UnsavedChangesTest, SaveCancelledInItsDialogKeepsTheWork) {
    ShowActive();
    f().oClientName->SetValueText(QStringLiteral("Changed"));
    saveAnswer = Answer::Save;
    answer = std::nullopt;  // no file yet: Save asks for a name, and the user cancels
    window->btnClearClick();
    EXPECT_EQ(dialogRuns, 1);
    EXPECT_EQ(f().oClientName->ValueAsText(), QStringLiteral("Changed"));
    EXPECT_TRUE(window->HasUnsavedChanges());
    // Exit the same way: the window stays; discarded, it closes.
    window->close();
    EXPECT_TRUE(window->isVisible());
    saveAnswer = Answer::Discard;
    window->close();
    EXPECT_EQ(questions.size(), 3u);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(UnsavedChangesTest, WhatCountsAsAChange) {
    // Showing the Planner page sets its as-of date, which Save writes only with a client.
    window->OvcNotebook1->SetCurrentIndex(TfrmMain::kPlannerPage);
    EXPECT_FALSE(window->HasUnsavedChanges());
    planner::PlannerInputs client;
    client.client.born = {1960, 3, 15};
    client.asOf = {2026, 1, 1};
    client.client.piaCents = 200000;
    window->Planner()->ShowInputs(client);
    EXPECT_TRUE(window->HasUnsavedChanges()) << "the planner's inputs are saved with the scenario";
    SaveAs(PathOf("planned.ss"));
    EXPECT_FALSE(window->HasUnsavedChanges());
    // Calculating changes no input.
    window->btnCalculateClick();
    EXPECT_FALSE(window->HasUnsavedChanges());
    window->close();
    EXPECT_TRUE(questions.empty());
}

// The Planner page is made when it is first needed. Until then there are no planner inputs
// to save or to lose; once made, what is typed on it counts as a change; and a file's planner
// inputs make it in a window that never showed it.
TEST_F(UnsavedChangesTest, ThePlannerPageIsMadeWhenFirstNeeded) {
    ShowActive();
    EXPECT_FALSE(window->HasPlanner());
    SaveAs(PathOf("plain.ss"));
    window->btnClearClick();
    EXPECT_FALSE(window->HasPlanner());
    EXPECT_FALSE(QFile::exists(PathOf("plain.ssp")));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
    ASSERT_TRUE(window->HasPlanner());
    PlannerPage& page = *window->Planner();
    EXPECT_EQ(QApplication::focusWidget(), page.client.born);
    page.asOfDate->SetDate(FieldDate{2026, 1, 1});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Velmora Analysis"));
    QTest::keyClicks(page.client.born, QStringLiteral("03151960"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Velmora Analysis*"));
    page.client.benefit->SetValueExtended(2000);
    SaveAs(PathOf("planned.ss"));
    ASSERT_TRUE(QFile::exists(PathOf("planned.ssp")));
    const auto saved = page.Inputs();
    ASSERT_TRUE(saved.has_value());

    TfrmMain fresh;
    fresh.SetErrorReporter([this](QWidget*, const QString& text) { reported.push_back(text); });
    EXPECT_FALSE(fresh.HasPlanner());
    fresh.OpenFileAtStart(PathOf("planned.ss"));
    ASSERT_TRUE(fresh.HasPlanner());
    const auto opened = fresh.Planner()->Inputs();
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(planner::FormatCompanion(*opened), planner::FormatCompanion(*saved));
    EXPECT_FALSE(fresh.HasUnsavedChanges());
    EXPECT_TRUE(reported.empty());
    EXPECT_TRUE(questions.empty());
}

TEST_F(UnsavedChangesTest, KeysOfTheFileCommandsAndThePages) {
    ShowActive();
    QWidget* typing = f().oRate;
    typing->setFocus();
    const struct {
        const char* keys;
        QKeyCombination key;
        int dialogs;
        std::vector<Question> asked;
    } files[] = {
        {"Ctrl+O", Qt::CTRL | Qt::Key_O, 1, {}},
        {"Ctrl+S with no file", Qt::CTRL | Qt::Key_S, 1, {}},
        {"Ctrl+Shift+S", Qt::CTRL | Qt::SHIFT | Qt::Key_S, 1, {}},
        {"Ctrl+P", Qt::CTRL | Qt::Key_P, 0, {Question::CalculateBeforePrint}},
    };
    printAnswer = Answer::Cancel;
    answer = std::nullopt;
    for (const auto& k : files) {
        SCOPED_TRACE(k.keys);
        dialogRuns = 0;
        questions.clear();
        QTest::keyClick(typing, k.key.key(), k.key.keyboardModifiers());
        EXPECT_EQ(dialogRuns, k.dialogs);
        EXPECT_EQ(questions, k.asked);
        EXPECT_EQ(QApplication::focusWidget(), typing) << "the command leaves the focus";
    }

    // Pages change round, the focus going to each page's first control.
    const struct {
        const char* keys;
        QKeyCombination key;
        int page;
    } pages[] = {
        {"Ctrl+Tab", Qt::CTRL | Qt::Key_Tab, 1},
        {"Ctrl+PageDown", Qt::CTRL | Qt::Key_PageDown, 2},
        {"Ctrl+PageDown at the last page", Qt::CTRL | Qt::Key_PageDown, 0},
        {"Ctrl+PageUp at the first page", Qt::CTRL | Qt::Key_PageUp, 2},
        {"Ctrl+Shift+Tab", Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, 1},
    };
    for (const auto& p : pages) {
        SCOPED_TRACE(p.keys);
        QTest::keyClick(QApplication::focusWidget(), p.key.key(), p.key.keyboardModifiers());
        EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), p.page);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_TRUE(window->OvcNotebook1->Page(p.page)->isAncestorOf(focus))
            << focus->objectName().toStdString() << " " << focus->metaObject()->className();
    }
    // A field that refuses its content keeps the page, as a click on a tab would.
    window->OvcNotebook1->SetCurrentIndex(0);
    f().oYears->setFocus();
    QTest::keyClicks(f().oYears, QStringLiteral("41"));
    QTest::keyClick(f().oYears, Qt::Key_Tab, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), 0);
    EXPECT_EQ(fieldErrors.size(), 1u);
}

TEST_F(UnsavedChangesTest, TheFocusedButtonIsMarkedAfterAClickToo) {
    ShowActive();
    window->btnCalculate->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    const QImage focused = window->btnCalculate->grab().toImage();
    f().oClientName->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    const QImage unfocused = window->btnCalculate->grab().toImage();
    EXPECT_NE(focused, unfocused);
}

TEST(WindowPlace, StartsWhollyOnTheScreen) {
    const QSize client(792, 455);
    const QSize frame(8, 25);
    const struct {
        const char* screen;
        QRect available;
        QRect expected;
    } cases[] = {
        {"large", {0, 0, 1920, 1040}, {560, 280, 792, 455}},
        {"a second screen to the right", {1920, 0, 1280, 1024}, {2160, 272, 792, 455}},
        {"just the window's size", {0, 0, 800, 480}, {0, 0, 792, 455}},
        {"half of 960 x 600, as at scale 2", {0, 0, 480, 300}, {0, 0, 472, 275}},
        {"narrow, below a top panel", {0, 27, 640, 1000}, {0, 287, 632, 455}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        EXPECT_EQ(TfrmMain::StartGeometry(c.available, client, frame), c.expected);
    }
}

TEST_F(UnsavedChangesTest, NothingIsCutOffAndALargerWindowCentresTheInputs) {
    ShowActive();
    const QSize start = window->size();
    // The offscreen screen holds the start size, which is the smallest.
    EXPECT_EQ(window->minimumSize(), start);
    window->resize(start + QSize(400, 200));
    QApplication::processEvents();
    const QSize extra = window->Panel1->size() - QSize(792, 356);
    const QPoint offset(extra.width() / 2, extra.height() / 2);
    EXPECT_GT(offset.x(), 100);
    EXPECT_EQ(f().oClientName->pos(), QPoint(116, 15) + offset);
    EXPECT_EQ(window->lblResult->pos(), QPoint(16, 248) + offset);
    // The table grows with its page.
    window->OvcNotebook1->SetCurrentIndex(1);
    QApplication::processEvents();
    EXPECT_EQ(window->grdSS->geometry(), window->Panel2->rect().adjusted(6, 6, -6, -6));
    EXPECT_GT(window->grdSS->width(), 1000);
    window->resize(start);
    window->OvcNotebook1->SetCurrentIndex(0);
    QApplication::processEvents();
    EXPECT_EQ(f().oClientName->pos(), QPoint(116, 15));
}

}  // namespace
}  // namespace velmora
