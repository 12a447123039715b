#pragma once

#include <utility>

#include "fields/fieldeditor.h"
#include "scenario/datefieldmodel.h"

namespace velmora {

/// The editing of a date field: its model's keys and commands. As in the numeric fields,
/// the caret stays after the last digit and Shift with a horizontal move selects it all.
class DateFieldEditor final : public FieldEditor {
  public:
    template <typename... Args>
    explicit DateFieldEditor(Args&&... args) : model(std::forward<Args>(args)...) {}

    void Enter(bool selectAll, bool returning) override;
    std::optional<std::string> Leave(bool applyRules) override;
    KeyOutcome Type(char32_t c, bool insertMode) override;
    void PressCaretKey(CaretKey key, bool shift, bool control) override;
    void Apply(Edit edit) override;
    State CurrentState() const override;
    FieldText Copy() const override;
    FieldText Cut() override;
    bool Paste(const FieldText& text, bool insertMode) override;

    DateFieldModel model;
};

}  // namespace velmora
