#include "fields/textfieldeditor.h"

namespace velmora {

void TextFieldEditor::Enter(bool selectAll, bool) {
    model.Enter(selectAll);
}

std::optional<std::string> TextFieldEditor::Leave(bool applyRules) {
    model.Leave(applyRules);
    return std::nullopt;
}

KeyOutcome TextFieldEditor::Type(char32_t c, bool insertMode) {
    model.SetInsertMode(insertMode);
    return model.Type(c);
}

void TextFieldEditor::PressCaretKey(CaretKey key, bool shift, bool control) {
    using Move = TextFieldModel::Move;
    switch (key) {
        case CaretKey::Left:
        case CaretKey::Up:
            model.MoveCaret(control ? Move::WordLeft : Move::Left, shift);
            break;
        case CaretKey::Right:
        case CaretKey::Down:
            model.MoveCaret(control ? Move::WordRight : Move::Right, shift);
            break;
        case CaretKey::Home:
            model.MoveCaret(Move::Home, shift);
            break;
        case CaretKey::End:
            model.MoveCaret(Move::End, shift);
            break;
    }
}

void TextFieldEditor::Apply(Edit edit) {
    switch (edit) {
        case Edit::DeleteBackward:
            model.Backspace();
            break;
        case Edit::DeleteForward:
            model.Delete();
            break;
        case Edit::DeleteSelection:
            model.DeleteSelection();
            break;
        case Edit::SelectAll:
            model.SelectAll();
            break;
        case Edit::Restore:
            model.Restore();
            break;
    }
}

FieldEditor::State TextFieldEditor::CurrentState() const {
    return {model.Modified(), model.HasSelection(), model.AllSelected()};
}

FieldText TextFieldEditor::Copy() const {
    return model.SelectedText();
}

FieldText TextFieldEditor::Cut() {
    return model.Cut();
}

bool TextFieldEditor::Paste(const FieldText& text, bool insertMode) {
    model.SetInsertMode(insertMode);
    return model.Paste(text);
}

}  // namespace velmora
