#pragma once

#include <utility>

#include "fields/fieldeditor.h"
#include "scenario/numericfieldmodel.h"

namespace velmora {

/// The editing of a numeric field: its model's keys and commands. The caret stays at the
/// right end; Shift with a horizontal move selects the whole text.
class NumericFieldEditor final : public FieldEditor {
  public:
    template <typename... Args>
    explicit NumericFieldEditor(Args&&... args) : model(std::forward<Args>(args)...) {}

    void Enter(bool selectAll, bool returning) override;
    std::optional<std::string> Leave(bool applyRules) override;
    KeyOutcome Type(char32_t c, bool insertMode) override;
    void PressCaretKey(CaretKey key, bool shift, bool control) override;
    void Apply(Edit edit) override;
    State CurrentState() const override;
    FieldText Copy() const override;
    FieldText Cut() override;
    bool Paste(const FieldText& text, bool insertMode) override;

    NumericFieldModel model;
};

}  // namespace velmora
