#include "scenario/numericfieldmodel.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace velmora {

namespace {
bool Printable(char32_t c) {
    return c >= U' ' && !(c >= 0x7F && c <= 0x9F);
}

// A bound with the mask's decimals, trailing zeros dropped, in the field's decimal mark.
std::string BoundText(long double value, int decimals, char32_t decimalMark) {
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    std::string s(text, end);
    const auto point = s.find('.');
    if (point == std::string::npos)
        return s;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        return s.substr(0, s.size() - 1);
    return s.substr(0, point) + Utf8FromFieldText(FieldText(1, decimalMark)) + s.substr(point + 1);
}
}  // namespace

NumericFieldModel::NumericFieldModel(NumberKind kind, std::string_view mask, long double low,
                                     long double high, EntryFormat format)
    : kind_(kind), mask_(mask, format), low_(low), high_(high), entry_(mask_) {
    const long double start = (low <= 0 && 0 <= high) ? 0 : low;
    shown_ = kind == NumberKind::Integer ? mask_.ShowInteger(static_cast<std::int64_t>(start))
                                         : mask_.ShowReal(start);
}

std::size_t NumericFieldModel::CaretPosition() const {
    std::size_t caret = shown_.size();
    const std::size_t literals = mask_.TrailingLiterals();
    const std::string& m = mask_.Text();
    if (literals > 0 && shown_.size() >= literals) {
        bool endsWithLiterals = true;
        for (std::size_t k = 1; k <= literals; ++k) {
            if (shown_[shown_.size() - k] != static_cast<char32_t>(m[m.size() - k])) {
                endsWithLiterals = false;
            }
        }
        if (endsWithLiterals)
            caret -= literals;
    }
    std::size_t leading = 0;
    while (leading < shown_.size() && shown_[leading] <= U' ')
        ++leading;
    const std::size_t drawn = DrawnText().size();
    return caret > leading ? std::min(caret - leading, drawn) : 0;
}

void NumericFieldModel::Enter(bool selectAll) {
    entered_ = true;
    remembered_ = shown_;
    modified_ = false;
    selected_ = selectAll;
    Reload();
}

void NumericFieldModel::Return() {
    entered_ = true;
    selected_ = true;
    Reload();
}

std::optional<std::string> NumericFieldModel::Leave() {
    LeaveWithoutRules();
    if (auto refusal = Check())
        return refusal;
    const long double value = Read().value;
    shown_ = kind_ == NumberKind::Integer ? mask_.ShowInteger(static_cast<std::int64_t>(value))
                                          : mask_.ShowReal(value);
    return std::nullopt;
}

void NumericFieldModel::LeaveWithoutRules() {
    entered_ = false;
    selected_ = false;
    entry_.Clear();
}

std::optional<char> NumericFieldModel::EntryCharacter(char32_t c, bool& refused) const {
    refused = false;
    if (c == mask_.Format().decimalMark)
        return '.';
    if (c == U'-' || (c >= U'0' && c <= U'9'))
        return static_cast<char>(c);
    refused = true;  // includes a '.' where the decimal mark is another character
    return std::nullopt;
}

KeyOutcome NumericFieldModel::Type(char32_t c) {
    if (!Printable(c))
        return KeyOutcome::Ignored;
    bool refused = false;
    const auto ch = EntryCharacter(c, refused);
    if (!ch)
        return KeyOutcome::Refused;
    // Typing over a selection starts a new number; a refused key changes nothing at all.
    NumericEntry trial = entry_;
    if (selected_)
        trial.Clear();
    const KeyOutcome outcome = trial.Type(*ch);
    if (outcome == KeyOutcome::Refused)
        return outcome;
    const FieldText shownBefore = shown_;
    const NumericEntry entryBefore = entry_;
    const bool wasSelected = selected_;
    entry_ = trial;
    selected_ = false;
    if (wasSelected || !(entry_ == entryBefore))
        Redisplay();
    NoteChange(shownBefore, entryBefore);
    return outcome;
}

void NumericFieldModel::DeleteBackward() {
    const FieldText shownBefore = shown_;
    const NumericEntry entryBefore = entry_;
    if (selected_) {
        entry_.Clear();
        selected_ = false;
        Redisplay();
    } else {
        entry_.Backspace();
        if (!(entry_ == entryBefore))
            Redisplay();
    }
    NoteChange(shownBefore, entryBefore);
}

void NumericFieldModel::SelectAll() {
    selected_ = true;
}
void NumericFieldModel::Deselect() {
    selected_ = false;
}

void NumericFieldModel::Restore() {
    shown_ = remembered_;
    selected_ = true;
    modified_ = false;
    Reload();
}

FieldText NumericFieldModel::Copy() const {
    return selected_ ? DrawnText() : FieldText();
}

FieldText NumericFieldModel::Cut() {
    FieldText copied = Copy();
    if (selected_)
        DeleteBackward();
    return copied;
}

void NumericFieldModel::DeleteSelection() {
    if (selected_)
        DeleteBackward();
}

void NumericFieldModel::Paste(const FieldText& text) {
    if (text.empty())
        return;
    const FieldText shownBefore = shown_;
    const NumericEntry entryBefore = entry_;
    if (selected_) {
        entry_.Clear();
        selected_ = false;
    }
    for (char32_t c : text) {
        bool refused = false;
        if (const auto ch = EntryCharacter(c, refused))
            entry_.Type(*ch);
    }
    Redisplay();
    NoteChange(shownBefore, entryBefore);
}

void NumericFieldModel::NoteChange(const FieldText& shownBefore, const NumericEntry& entryBefore) {
    if (shown_ != shownBefore || !(entry_ == entryBefore))
        modified_ = true;
}

std::optional<std::string> NumericFieldModel::Check() const {
    const NumberRead read = Read();
    if (!read.isNumber)
        return std::string(kNotValidMessage);
    if (read.value < low_ || read.value > high_)
        return std::string(kOutOfRangeMessage) + " (" + RangeText() + ")";
    return std::nullopt;
}

std::string NumericFieldModel::RangeText() const {
    const int decimals = kind_ == NumberKind::Real ? mask_.Decimals() : 0;
    // What the mask can hold as typed caps an open upper bound.
    long double largest = 1;
    for (int i = 0; i < mask_.IntegerCapacity(); ++i)
        largest *= 10;
    long double unit = 1;
    for (int i = 0; i < decimals; ++i)
        unit /= 10;
    largest -= kind_ == NumberKind::Real ? unit : 1;
    const long double high = high_ < largest ? high_ : largest;
    const char32_t mark = mask_.Format().decimalMark;
    return BoundText(low_, decimals, mark) + " to " + BoundText(high, decimals, mark);
}

long double NumericFieldModel::ValueAsExtended() {
    if (Check())
        return 0;
    if (!entered_)
        return Read().value;
    const long double value = Read().value;
    shown_ = kind_ == NumberKind::Integer ? mask_.ShowInteger(static_cast<std::int64_t>(value))
                                          : mask_.ShowReal(value);
    Reload();
    // The full format may have rounded away decimals typed beyond the mask's.
    const NumberRead shown = Read();
    return shown.isNumber ? shown.value : 0;
}

std::int32_t NumericFieldModel::ValueAsInteger() {
    if (kind_ != NumberKind::Integer)
        throw InvalidFieldType();
    const long double value = ValueAsExtended();
    if (value < static_cast<long double>(std::numeric_limits<std::int32_t>::min()) ||
        value > static_cast<long double>(std::numeric_limits<std::int32_t>::max())) {
        return 0;
    }
    return static_cast<std::int32_t>(value);
}

void NumericFieldModel::SetValueExtended(long double value) {
    if (kind_ != NumberKind::Real)
        throw InvalidFieldType();
    shown_ = mask_.ShowReal(value);
    AfterSet();
}

void NumericFieldModel::SetValueInteger(std::int32_t value) {
    if (kind_ != NumberKind::Integer)
        throw InvalidFieldType();
    shown_ = mask_.ShowInteger(static_cast<std::int16_t>(value));
    AfterSet();
}

void NumericFieldModel::SetShownText(const FieldText& text) {
    shown_ = text;
    AfterSet();
}

void NumericFieldModel::AfterSet() {
    if (!entered_)
        return;
    // A value set while the user is in the field (New, Open) replaces what was typed: the
    // buffer follows the new text and the next key starts a new number.
    Reload();
    selected_ = true;
    modified_ = shown_ != remembered_;
}

}  // namespace velmora
