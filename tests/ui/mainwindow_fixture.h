// A main window whose error box, help viewer, questions and field error dialog record instead
// of showing anything, so that no test blocks.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <memory>
#include <vector>

#include "engine/moneytext.h"
#include "support/qtprint.h"
#include "ui/main.h"
#include "ui/notebook.h"
#include "ui/resultsview.h"

namespace velmora {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedFormat_ = MoneyFormat();
        MoneyFormat() = TMoneyFormat::UnitedStates();
        window = std::make_unique<TfrmMain>();
        window->SetErrorReporter(
            [this](QWidget*, const QString& text) { reported.push_back(text); });
        window->SetHelpRequester([this](int context) { helpTopics.push_back(context); });
        window->entrySettings().reportError = [this](QWidget*, const QString& message) {
            fieldErrors.push_back(message);
        };
        window->SetQuestionAsker([this](QWidget*, Question question) {
            questions.push_back(question);
            return question == Question::SaveChanges ? saveAnswer : printAnswer;
        });
    }

    void TearDown() override {
        window.reset();
        MoneyFormat() = savedFormat_;
    }

    // Keys reach the window's shortcuts only while it is the active window.
    void ShowActive() {
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    const ScenarioFields& f() const { return window->fields(); }

    std::unique_ptr<TfrmMain> window;
    std::vector<QString> reported;
    std::vector<int> helpTopics;
    std::vector<QString> fieldErrors;
    /// The questions asked, and the answers given to them.
    std::vector<Question> questions;
    Answer saveAnswer = Answer::Discard;
    Answer printAnswer = Answer::Calculate;

  private:
    TMoneyFormat savedFormat_;
};

}  // namespace velmora
