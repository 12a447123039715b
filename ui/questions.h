#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace velmora {

/// The questions the window asks before a command that would lose work or print a report
/// that does not belong to the inputs beside it.
enum class Question {
    /// "Save changes to the scenario?": Save, Discard or Cancel.
    SaveChanges,
    /// "The inputs changed since the last calculation. Calculate now?": Calculate or Cancel.
    CalculateBeforePrint,
};

enum class Answer { Save, Discard, Calculate, Cancel };

inline constexpr const char* kSaveChangesQuestion = "Save changes to the scenario?";
inline constexpr const char* kCalculateBeforePrintQuestion =
    "The inputs changed since the last calculation. Calculate now?";

QString QuestionText(Question question);

/// Asks a question and gives the answer; closing the box without a button is Cancel.
using QuestionAsker = std::function<Answer(QWidget* owner, Question question)>;

/// The question in a modal message box titled with the application title.
Answer AskInMessageBox(QWidget* owner, Question question);

}  // namespace velmora
