// Work the window keeps from being lost: the unsaved-changes question before New, Open and
// Exit, the title that names the file and marks unsaved changes, and the question before a
// report whose table would not belong to the inputs printed beside it.
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>

#include "planner/companionfile.h"
#include "planner/scenariopair.h"
#include "ui/main.h"
#include "ui/notebook.h"
#include "ui/planner/plannerpage.h"
#include "ui/resultsview.h"

namespace velmora {

namespace {

QString FieldState(const TEntryField* field) {
    if (const auto* number = qobject_cast<const TNumericEntryField*>(field))
        return QString::fromStdU32String(number->Model().ShownText());
    if (const auto* text = qobject_cast<const TTextEntryField*>(field))
        return QString::fromStdU32String(text->Model().Text());
    if (const auto* date = qobject_cast<const TDateEntryField*>(field))
        return QString::fromStdString(date->Model().Digits());
    return field->ShownText();
}

}  // namespace

void TfrmMain::SetQuestionAsker(QuestionAsker asker) {
    questionAsker_ = std::move(asker);
}

QString TfrmMain::StateText() const {
    // The models' own texts: reading them changes nothing, unlike the getters, which show
    // the number of the field being typed in again in full.
    QStringList parts;
    for (const TEntryField* field : TabOrder(fields_))
        parts << FieldState(field);
    // The planner's inputs as Save writes them, which it does only when both dates stand;
    // the as-of date that the page sets to today on first showing does not count alone.
    // A page not made yet has none.
    if (const auto planner = plannerPage_ ? plannerPage_->Inputs() : std::nullopt)
        parts << QString::fromStdString(planner::FormatCompanion(*planner));
    return parts.join(QChar(0));
}

bool TfrmMain::HasUnsavedChanges() const {
    return StateText() != savedState_;
}

void TfrmMain::MarkSaved() {
    savedState_ = StateText();
    UpdateTitle();
}

void TfrmMain::UpdateTitle() {
    QString title = QString::fromLatin1(kApplicationTitle);
    if (!documentName_.isEmpty())
        title += QStringLiteral(" - ") + QFileInfo(documentName_).fileName();
    if (HasUnsavedChanges())
        title += QLatin1Char('*');
    if (title != windowTitle())
        setWindowTitle(title);
}

void TfrmMain::KeepFocusMarked() {
    // Styles draw the focus mark only after a key has moved the focus; here it is always
    // drawn, so that the user sees where a key will go, also after a click or at start.
    setAttribute(Qt::WA_KeyboardFocusChange);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && now->window() == this && !testAttribute(Qt::WA_KeyboardFocusChange)) {
            setAttribute(Qt::WA_KeyboardFocusChange);
            now->update();
        }
    });
}

void TfrmMain::WireUnsavedChanges() {
    // Every entry field of the window and the choices; the planner's when it is made.
    WatchForChanges(this);
    MarkSaved();
}

void TfrmMain::WatchForChanges(QWidget* root) {
    for (TEntryField* field : root->findChildren<TEntryField*>())
        connect(field, &TEntryField::TextChanged, this, [this] { UpdateTitle(); });
    for (QComboBox* choice : root->findChildren<QComboBox*>())
        connect(choice, &QComboBox::currentIndexChanged, this, [this] { UpdateTitle(); });
}

bool TfrmMain::MayDiscardChanges() {
    if (!HasUnsavedChanges())
        return true;
    const Answer answer = questionAsker_ ? questionAsker_(this, Question::SaveChanges)
                                         : AskInMessageBox(this, Question::SaveChanges);
    switch (answer) {
        case Answer::Save:
            return SaveScenario(false);
        case Answer::Discard:
            return true;
        default:
            return false;
    }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    bool mayClose = false;
    RunCommand([this, &mayClose] { mayClose = MayDiscardChanges(); });
    if (mayClose) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool TfrmMain::SaveScenario(bool askName) {
    try {
        if (!askName && !documentName_.isEmpty()) {
            fileCommands().SaveFile(documentName_);
        } else if (!fileCommands().Save()) {
            return false;
        }
    } catch (const planner::PairSaveError& e) {
        // The record was written but not its planner file: the file is now this one, and
        // the work stays marked unsaved, since the planner's inputs are not on disk.
        if (e.scenarioSaved()) {
            documentName_ = fileCommands().FileName();
            UpdateTitle();
        }
        throw;
    }
    documentName_ = fileCommands().FileName();
    MarkSaved();
    return true;
}

void TfrmMain::ScenarioShown() {
    scenarioShown_ = true;
    // The table and its message belong to the inputs just replaced.
    ClearResults();
    OvcNotebook1->SetCurrentIndex(0);
}

void TfrmMain::ClearResults() {
    resultTable_->cells.Clear();
    resultTable_->BreakEvenFound = false;
    resultTable_->BreakEvenYear.clear();
    resultTable_->CumEarly.clear();
    resultTable_->CumLater.clear();
    lblResult->clear();
    lblResult->hide();
    lastPair_.reset();
}

bool TfrmMain::ResultsMatchInputs() {
    return lastPair_ && ScheduleInputsFromRecord(CollectNumbers(fields_)) == *lastPair_;
}

}  // namespace velmora
