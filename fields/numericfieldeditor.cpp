#include "fields/numericfieldeditor.h"

namespace velmora {

void NumericFieldEditor::Enter(bool selectAll, bool returning) {
    if (returning) {
        model.Return();
    } else {
        model.Enter(selectAll);
    }
}

std::optional<std::string> NumericFieldEditor::Leave(bool applyRules) {
    if (applyRules)
        return model.Leave();
    model.LeaveWithoutRules();
    return std::nullopt;
}

KeyOutcome NumericFieldEditor::Type(char32_t c, bool) {
    return model.Type(c);
}

void NumericFieldEditor::PressCaretKey(CaretKey key, bool shift, bool) {
    const bool horizontal = key == CaretKey::Left || key == CaretKey::Right ||
                            key == CaretKey::Home || key == CaretKey::End;
    if (shift && horizontal)
        model.SelectAll();
}

void NumericFieldEditor::Apply(Edit edit) {
    switch (edit) {
        case Edit::DeleteBackward:
        case Edit::DeleteForward:
            model.DeleteBackward();
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

FieldEditor::State NumericFieldEditor::CurrentState() const {
    // A numeric field's selection is always its whole text.
    return {model.Modified(), model.HasSelection(), model.HasSelection()};
}

FieldText NumericFieldEditor::Copy() const {
    return model.Copy();
}

FieldText NumericFieldEditor::Cut() {
    return model.Cut();
}

bool NumericFieldEditor::Paste(const FieldText& text, bool) {
    // A pasted amount's currency sign and group marks are left out, as intended.
    model.Paste(text);
    return true;
}

}  // namespace velmora
