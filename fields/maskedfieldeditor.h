#pragma once

#include <type_traits>
#include <utility>

#include "fields/fieldeditor.h"
#include "scenario/datefieldmodel.h"
#include "scenario/numericfieldmodel.h"

namespace velmora {

/// The editing of a masked field (a number or a date): its model's keys and commands. The
/// caret stays at the right end; the selection is always the whole text, and Shift with a
/// horizontal move selects it.
template <typename Model>
class MaskedFieldEditor final : public FieldEditor {
  public:
    template <typename... Args>
    explicit MaskedFieldEditor(Args&&... args) : model(std::forward<Args>(args)...) {}

    void Enter(bool selectAll, bool returning) override {
        if (returning) {
            model.Return();
        } else {
            model.Enter(selectAll);
        }
    }

    std::optional<std::string> Leave(bool applyRules) override {
        if (applyRules)
            return model.Leave();
        model.LeaveWithoutRules();
        return std::nullopt;
    }

    KeyOutcome Type(char32_t c, bool) override { return model.Type(c); }

    void PressCaretKey(CaretKey key, bool shift, bool) override {
        const bool horizontal = key == CaretKey::Left || key == CaretKey::Right ||
                                key == CaretKey::Home || key == CaretKey::End;
        if (shift && horizontal)
            model.SelectAll();
    }

    void Apply(Edit edit) override {
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

    State CurrentState() const override {
        return {model.Modified(), model.HasSelection(), model.HasSelection()};
    }

    FieldText Copy() const override { return model.Copy(); }
    FieldText Cut() override { return model.Cut(); }

    bool Paste(const FieldText& text, bool) override {
        if constexpr (std::is_void_v<decltype(model.Paste(text))>) {
            // A pasted amount's currency sign and group marks are left out, as intended.
            model.Paste(text);
            return true;
        } else {
            return model.Paste(text);
        }
    }

    Model model;
};

using NumericFieldEditor = MaskedFieldEditor<NumericFieldModel>;
using DateFieldEditor = MaskedFieldEditor<DateFieldModel>;

}  // namespace velmora
