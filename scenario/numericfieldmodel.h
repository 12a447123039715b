#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scenario/fielderrors.h"
#include "scenario/fieldtext.h"
#include "scenario/numericentry.h"
#include "scenario/numericmask.h"

namespace velmora {

/// A numeric entry field without its widget: the shown text (which is the value), the entry
/// buffer while the field has the focus, the selection (all or nothing), the text remembered
/// for Restore, the bounds and the rules applied when the user leaves the field.
class NumericFieldModel {
  public:
    NumericFieldModel(NumberKind kind, std::string_view mask, long double low, long double high,
                      EntryFormat format);

    NumberKind Kind() const { return kind_; }
    const NumericMask& Mask() const { return mask_; }
    long double Low() const { return low_; }
    long double High() const { return high_; }

    const FieldText& ShownText() const { return shown_; }
    /// The shown text without the blanks at both ends: what the widget draws.
    FieldText DrawnText() const { return TrimBlanks(shown_); }
    /// The caret's place in the drawn text: after the last digit position.
    std::size_t CaretPosition() const;
    bool HasSelection() const { return selected_; }
    bool Modified() const { return modified_; }
    bool Entered() const { return entered_; }
    const NumericEntry& Entry() const { return entry_; }

    /// The focus arrives: buffer loaded, text remembered for Restore.
    void Enter(bool selectAll);
    /// The focus comes back after a refusal: buffer reloaded, whole text selected; the text
    /// remembered when the user first entered stays, so Restore still brings it back.
    void Return();
    /// The focus leaves for another control: the rules run. Returns the refusal message, or
    /// nothing when the number stands and is shown again in full.
    std::optional<std::string> Leave();
    /// The focus leaves while another field's refusal is pending: no rules.
    void LeaveWithoutRules();

    KeyOutcome Type(char32_t c);
    /// Backspace, Shift+Backspace and Del.
    void DeleteBackward();
    void SelectAll();
    void Deselect();
    void Restore();
    FieldText Copy() const;
    FieldText Cut();
    void Paste(const FieldText& text);
    void DeleteSelection();

    NumberRead Read() const { return mask_.Read(shown_, kind_); }
    /// Rules on the shown text: the message when it is not a number or out of bounds. An
    /// out-of-bounds number's message ends with the range, "(1 to 40)".
    std::optional<std::string> Check() const;
    /// The numbers the field takes, "1 to 40": the bounds with the mask's decimals, trailing
    /// zeros dropped, an open upper bound capped by what the mask can hold.
    std::string RangeText() const;

    /// 0 when the text breaks a rule; with the focus, a number that stands is shown in full.
    long double ValueAsExtended();
    double ValueAsDouble() { return static_cast<double>(ValueAsExtended()); }
    /// Integer fields only.
    std::int32_t ValueAsInteger();
    /// Real fields only: rounded to the mask's decimals and shown; nothing is checked.
    void SetValueExtended(long double value);
    /// Integer fields only: the low 16 bits, as a signed number, are shown.
    void SetValueInteger(std::int32_t value);
    /// Puts a text in as it is, as a hand-made text would be.
    void SetShownText(const FieldText& text);

  private:
    void Redisplay() { shown_ = mask_.ShowTyping(entry_.Parts()); }
    void Reload() { entry_.Load(mask_.Strip(shown_)); }
    void AfterSet();
    void NoteChange(const FieldText& shownBefore, const NumericEntry& entryBefore);
    std::optional<char> EntryCharacter(char32_t c, bool& refused) const;

    NumberKind kind_;
    NumericMask mask_;
    long double low_;
    long double high_;
    NumericEntry entry_;
    FieldText shown_;
    FieldText remembered_;
    bool selected_ = false;
    bool modified_ = false;
    bool entered_ = false;
};

}  // namespace velmora
