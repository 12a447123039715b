#include <QMouseEvent>

#include "scenario/entryfield.h"
#include "scenario/entrysettings.h"

namespace velmora {

TTextEntryField::TTextEntryField(EntrySettings& settings, QWidget* parent, int maxLength)
    : TEntryField(settings, parent), model_(static_cast<std::size_t>(std::max(0, maxLength))) {}

QString TTextEntryField::ValueAsText() {
    if (Entered()) {
        model_.Trim();
        Redraw();
    }
    return QString::fromStdU32String(model_.Text());
}

void TTextEntryField::SetValueText(const QString& text) {
    model_.SetText(text.toStdU32String());
    Redraw();
}

TEntryField::View TTextEntryField::CurrentView() const {
    return {model_.Text(), model_.SelectionStart(), model_.SelectionEnd(), model_.Caret(), false};
}

void TTextEntryField::Enter(bool selectAll, bool) {
    model_.Enter(selectAll);
}

std::optional<std::string> TTextEntryField::Leave(bool applyRules) {
    model_.Leave(applyRules);
    return std::nullopt;
}

KeyOutcome TTextEntryField::TypeCharacter(char32_t c) {
    model_.SetInsertMode(InsertMode());
    return model_.Type(c);
}

void TTextEntryField::MoveKey(int key, bool shift, bool control) {
    using Move = TextFieldModel::Move;
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            model_.MoveCaret(control ? Move::WordLeft : Move::Left, shift);
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            model_.MoveCaret(control ? Move::WordRight : Move::Right, shift);
            break;
        case Qt::Key_Home:
            model_.MoveCaret(Move::Home, shift);
            break;
        case Qt::Key_End:
            model_.MoveCaret(Move::End, shift);
            break;
        default:
            break;
    }
}

void TTextEntryField::DeleteBackward() {
    model_.Backspace();
}
void TTextEntryField::DeleteForward() {
    model_.Delete();
}
void TTextEntryField::Restore() {
    model_.Restore();
}
FieldText TTextEntryField::Cut() {
    return model_.Cut();
}
void TTextEntryField::DeleteSelection() {
    model_.DeleteSelection();
}
void TTextEntryField::SelectAll() {
    model_.SelectAll();
}

bool TTextEntryField::Paste(const FieldText& text) {
    model_.SetInsertMode(InsertMode());
    return model_.Paste(text);
}

void TTextEntryField::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    model_.PlaceCaret(PositionAt(e->position().toPoint().x()), e->modifiers() & Qt::ShiftModifier);
    Changed();
}

void TTextEntryField::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton))
        return;
    model_.PlaceCaret(PositionAt(e->position().toPoint().x()), true);
    Changed();
}

void TTextEntryField::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    model_.SelectWordAt(PositionAt(e->position().toPoint().x()));
    Changed();
}

}  // namespace velmora
