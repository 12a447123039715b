#include "fields/datefieldeditor.h"

namespace velmora {

void DateFieldEditor::Enter(bool selectAll, bool returning) {
    if (returning) {
        model.Return();
    } else {
        model.Enter(selectAll);
    }
}

std::optional<std::string> DateFieldEditor::Leave(bool applyRules) {
    if (applyRules)
        return model.Leave();
    model.LeaveWithoutRules();
    return std::nullopt;
}

KeyOutcome DateFieldEditor::Type(char32_t c, bool) {
    return model.Type(c);
}

void DateFieldEditor::PressCaretKey(CaretKey key, bool shift, bool) {
    const bool horizontal = key == CaretKey::Left || key == CaretKey::Right ||
                            key == CaretKey::Home || key == CaretKey::End;
    if (shift && horizontal)
        model.SelectAll();
}

void DateFieldEditor::Apply(Edit edit) {
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

FieldEditor::State DateFieldEditor::CurrentState() const {
    // The selection is always the whole date.
    return {model.Modified(), model.HasSelection(), model.HasSelection()};
}

FieldText DateFieldEditor::Copy() const {
    return model.Copy();
}

FieldText DateFieldEditor::Cut() {
    return model.Cut();
}

bool DateFieldEditor::Paste(const FieldText& text, bool) {
    return model.Paste(text);
}

}  // namespace velmora
