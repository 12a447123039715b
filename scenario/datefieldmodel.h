#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "scenario/fielderrors.h"
#include "scenario/fieldtext.h"

namespace velmora {

/// A calendar date as a date field holds it.
struct FieldDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const FieldDate&, const FieldDate&) = default;
};

/// A date entry field without its widget. The mask "##/##/####" takes month, day and
/// year as eight digits typed from the left, the slashes standing in their places. While
/// the field has the focus the places not yet typed show as '_'; without it, an empty field
/// shows nothing. Leaving with some but not all digits, or with a day the month does not
/// have, is refused as not valid, the message naming the problem ("02/30/1963 is not a date:
/// February 1963 has 28 days"); a year outside the bounds as out of range, the message naming
/// the years. An empty field stands: it means "no date".
class DateFieldModel {
  public:
    static constexpr const char* kMask = "##/##/####";
    static constexpr std::size_t kDigits = 8;

    DateFieldModel(int lowYear, int highYear) : lowYear_(lowYear), highYear_(highYear) {}

    int LowYear() const { return lowYear_; }
    int HighYear() const { return highYear_; }
    /// The digits typed, month first.
    const std::string& Digits() const { return digits_; }
    FieldText ShownText() const;
    /// After the last typed digit, in the shown text.
    std::size_t CaretPosition() const;
    bool HasSelection() const { return selected_; }
    bool Modified() const { return modified_; }
    bool Entered() const { return entered_; }

    void Enter(bool selectAll);
    /// After a refusal: the whole text selected, the remembered text kept.
    void Return();
    /// Applies the rules; the refusal message, or nothing when the content stands.
    std::optional<std::string> Leave();
    void LeaveWithoutRules();

    /// A digit goes to the next place (over a selection, the text starts again); a slash
    /// or a blank is passed over; anything else is refused.
    KeyOutcome Type(char32_t c);
    void DeleteBackward();
    void SelectAll() { selected_ = !digits_.empty(); }
    void Deselect() { selected_ = false; }
    void Restore();
    FieldText Copy() const;
    FieldText Cut();
    /// "MM/DD/YYYY", "YYYY-MM-DD" or any text whose digits fill the places. Gives false
    /// when characters were dropped: anything but digits, slashes, dashes and blanks, or
    /// digits beyond the eighth place.
    bool Paste(const FieldText& text);
    void DeleteSelection();

    std::optional<std::string> Check() const;
    /// The date when all eight digits make a valid date within the bounds.
    std::optional<FieldDate> Value() const;
    /// "MM/DD/YYYY", or empty.
    std::string ValueText() const;
    /// Shows the date (any date, unchecked) or empties the field.
    void SetValue(const std::optional<FieldDate>& date);

  private:
    /// The mask filled with the digits typed, blank in the places still to fill.
    FieldText ShownTextWith(char32_t blank) const;
    void Change(std::string digits);

    int lowYear_;
    int highYear_;
    std::string digits_;
    std::string remembered_;
    bool selected_ = false;
    bool modified_ = false;
    bool entered_ = false;
};

}  // namespace velmora
