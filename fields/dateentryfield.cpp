#include "fields/dateentryfield.h"

#include <QMouseEvent>

namespace velmora {

TDateEntryField::TDateEntryField(int lowYear, int highYear, EntrySettings& settings,
                                 QWidget* parent)
    : TEntryField(settings, parent), editor_(lowYear, highYear) {}

QString TDateEntryField::ValueAsText() {
    return QString::fromStdString(editor_.model.ValueText());
}

void TDateEntryField::SetValueText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        editor_.model.SetValue(std::nullopt);
    } else {
        const QStringList parts = trimmed.split(QLatin1Char('/'));
        bool ok[3] = {false, false, false};
        if (parts.size() == 3) {
            editor_.model.SetValue(
                FieldDate{parts[2].toInt(&ok[2]), parts[0].toInt(&ok[0]), parts[1].toInt(&ok[1])});
        }
        if (!(ok[0] && ok[1] && ok[2]))
            editor_.model.SetValue(std::nullopt);
    }
    Redraw();
}

void TDateEntryField::SetDate(const std::optional<FieldDate>& date) {
    editor_.model.SetValue(date);
    Redraw();
}

TEntryField::View TDateEntryField::CurrentView() const {
    View view;
    view.text = editor_.model.ShownText();
    view.caret = editor_.model.CaretPosition();
    if (view.caret > view.text.size())
        view.caret = view.text.size();
    if (editor_.model.HasSelection())
        view.selectionEnd = view.text.size();
    return view;
}

void TDateEntryField::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    editor_.model.Deselect();
    Changed();
}

void TDateEntryField::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    editor_.model.SelectAll();
    Changed();
}

}  // namespace velmora
