#include <QMouseEvent>

#include "scenario/entryfield.h"

namespace velmora {

TDateEntryField::TDateEntryField(int lowYear, int highYear, EntrySettings& settings,
                                 QWidget* parent)
    : TEntryField(settings, parent), model_(lowYear, highYear) {}

QString TDateEntryField::ValueAsText() {
    return QString::fromStdString(model_.ValueText());
}

void TDateEntryField::SetValueText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        model_.SetValue(std::nullopt);
    } else {
        const QStringList parts = trimmed.split(QLatin1Char('/'));
        bool ok[3] = {false, false, false};
        if (parts.size() == 3) {
            model_.SetValue(
                FieldDate{parts[2].toInt(&ok[2]), parts[0].toInt(&ok[0]), parts[1].toInt(&ok[1])});
        }
        if (!(ok[0] && ok[1] && ok[2]))
            model_.SetValue(std::nullopt);
    }
    update();
}

void TDateEntryField::SetDate(const std::optional<FieldDate>& date) {
    model_.SetValue(date);
    update();
}

TEntryField::View TDateEntryField::CurrentView() const {
    View view;
    view.text = model_.ShownText();
    view.caret = model_.CaretPosition();
    if (view.caret > view.text.size())
        view.caret = view.text.size();
    if (model_.HasSelection())
        view.selectionEnd = view.text.size();
    return view;
}

void TDateEntryField::Enter(bool selectAll, bool returning) {
    if (returning) {
        model_.Return();
    } else {
        model_.Enter(selectAll);
    }
}

std::optional<std::string> TDateEntryField::Leave(bool applyRules) {
    if (applyRules)
        return model_.Leave();
    model_.LeaveWithoutRules();
    return std::nullopt;
}

void TDateEntryField::MoveKey(int key, bool shift, bool) {
    // As in the numeric fields, the caret stays after the last digit.
    const bool horizontal =
        key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End;
    if (shift && horizontal)
        model_.SelectAll();
}

void TDateEntryField::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    model_.Deselect();
    Changed();
}

void TDateEntryField::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    model_.SelectAll();
    Changed();
}

}  // namespace velmora
