#include "fields/textentryfield.h"

#include <QMouseEvent>

#include "fields/entrysettings.h"

namespace velmora {

TTextEntryField::TTextEntryField(EntrySettings& settings, QWidget* parent, int maxLength)
    : TEntryField(settings, parent), editor_(static_cast<std::size_t>(std::max(0, maxLength))) {}

QString TTextEntryField::ValueAsText() {
    if (Entered()) {
        editor_.model.Trim();
        Redraw();
    }
    return QString::fromStdU32String(editor_.model.Text());
}

void TTextEntryField::SetValueText(const QString& text) {
    editor_.model.SetText(text.toStdU32String());
    Redraw();
}

TEntryField::View TTextEntryField::CurrentView() const {
    return {editor_.model.Text(), editor_.model.SelectionStart(), editor_.model.SelectionEnd(),
            editor_.model.Caret(), false};
}

void TTextEntryField::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    editor_.model.PlaceCaret(PositionAt(e->position().toPoint().x()),
                             e->modifiers() & Qt::ShiftModifier);
    Changed();
}

void TTextEntryField::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton))
        return;
    editor_.model.PlaceCaret(PositionAt(e->position().toPoint().x()), true);
    Changed();
}

void TTextEntryField::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    editor_.model.SelectWordAt(PositionAt(e->position().toPoint().x()));
    Changed();
}

}  // namespace velmora
