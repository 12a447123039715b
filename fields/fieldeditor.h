#pragma once

#include <optional>
#include <string>

#include "scenario/fielderrors.h"
#include "scenario/fieldtext.h"

namespace velmora {

/// What an entry field asks of its model. The widget draws, routes keys, the focus and the
/// clipboard for both kinds of field; each kind hands it one of these over its model.
class FieldEditor {
  public:
    enum class CaretKey { Left, Right, Up, Down, Home, End };
    enum class Edit { DeleteBackward, DeleteForward, DeleteSelection, SelectAll, Restore };
    struct State {
        bool modified = false;
        bool hasSelection = false;
        bool allSelected = false;
    };

    /// returning: the focus comes back after a refusal.
    virtual void Enter(bool selectAll, bool returning) = 0;
    /// Returns the refusal message when the rules refuse the content.
    virtual std::optional<std::string> Leave(bool applyRules) = 0;
    virtual KeyOutcome Type(char32_t c, bool insertMode) = 0;
    virtual void PressCaretKey(CaretKey key, bool shift, bool control) = 0;
    virtual void Apply(Edit edit) = 0;
    virtual State CurrentState() const = 0;
    virtual FieldText Copy() const = 0;
    virtual FieldText Cut() = 0;
    /// Gives false when characters of the text were refused and dropped.
    virtual bool Paste(const FieldText& text, bool insertMode) = 0;

  protected:
    ~FieldEditor() = default;
};

}  // namespace velmora
