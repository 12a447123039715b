#pragma once

#include <cstddef>

#include "fields/fieldeditor.h"
#include "scenario/textfieldmodel.h"

namespace velmora {

/// The editing of a text field: its model's keys and commands.
class TextFieldEditor final : public FieldEditor {
  public:
    explicit TextFieldEditor(std::size_t maxLength) : model(maxLength) {}

    void Enter(bool selectAll, bool returning) override;
    std::optional<std::string> Leave(bool applyRules) override;
    KeyOutcome Type(char32_t c, bool insertMode) override;
    void PressCaretKey(CaretKey key, bool shift, bool control) override;
    void Apply(Edit edit) override;
    State CurrentState() const override;
    FieldText Copy() const override;
    FieldText Cut() override;
    bool Paste(const FieldText& text, bool insertMode) override;

    TextFieldModel model;
};

}  // namespace velmora
