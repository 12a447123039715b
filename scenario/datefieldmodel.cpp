#include "scenario/datefieldmodel.h"

#include <cstdio>
#include <string>

namespace velmora {

namespace {

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysIn(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

constexpr const char* kMonthNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};

int Number(const std::string& digits, std::size_t from, std::size_t count) {
    int n = 0;
    for (std::size_t i = from; i < from + count; ++i)
        n = n * 10 + (digits[i] - '0');
    return n;
}

std::string DigitsOf(const FieldDate& date) {
    char buffer[16];
    if (date.month < 0 || date.month > 99 || date.day < 0 || date.day > 99 || date.year < 0 ||
        date.year > 9999)
        return {};
    std::snprintf(buffer, sizeof buffer, "%02d%02d%04d", date.month, date.day, date.year);
    return buffer;
}

}  // namespace

FieldText DateFieldModel::ShownText() const {
    if (!entered_ && digits_.empty())
        return {};
    return ShownTextWith(U'_');
}

FieldText DateFieldModel::ShownTextWith(char32_t blank) const {
    FieldText shown;
    std::size_t next = 0;
    for (const char* m = kMask; *m != '\0'; ++m) {
        if (*m != '#') {
            shown.push_back(static_cast<char32_t>(*m));
        } else if (next < digits_.size()) {
            shown.push_back(static_cast<char32_t>(digits_[next++]));
        } else {
            shown.push_back(blank);
        }
    }
    return shown;
}

std::size_t DateFieldModel::CaretPosition() const {
    // Places 0-1 month, 3-4 day, 6-9 year; the caret stands before the next place to fill.
    static constexpr std::size_t kPlace[] = {0, 1, 3, 4, 6, 7, 8, 9, 10};
    return kPlace[digits_.size()];
}

void DateFieldModel::Enter(bool selectAll) {
    entered_ = true;
    modified_ = false;
    remembered_ = digits_;
    selected_ = selectAll && !digits_.empty();
}

void DateFieldModel::Return() {
    entered_ = true;
    selected_ = !digits_.empty();
}

std::optional<std::string> DateFieldModel::Leave() {
    if (auto refusal = Check())
        return refusal;
    entered_ = false;
    selected_ = false;
    return std::nullopt;
}

void DateFieldModel::LeaveWithoutRules() {
    entered_ = false;
    selected_ = false;
}

void DateFieldModel::Change(std::string digits) {
    if (digits != digits_)
        modified_ = true;
    digits_ = std::move(digits);
    selected_ = false;
}

KeyOutcome DateFieldModel::Type(char32_t c) {
    if (c == U'/' || c == U' ')
        return KeyOutcome::Ignored;
    if (c < U'0' || c > U'9')
        return KeyOutcome::Refused;
    std::string digits = selected_ ? std::string() : digits_;
    if (digits.size() >= kDigits)
        return KeyOutcome::Refused;
    digits.push_back(static_cast<char>(c));
    Change(std::move(digits));
    return KeyOutcome::Accepted;
}

void DateFieldModel::DeleteBackward() {
    if (selected_) {
        Change({});
    } else if (!digits_.empty()) {
        Change(digits_.substr(0, digits_.size() - 1));
    }
}

void DateFieldModel::Restore() {
    Change(remembered_);
    modified_ = false;
}

FieldText DateFieldModel::Copy() const {
    return selected_ ? FieldTextFromUtf8(ValueText().empty() ? digits_ : ValueText()) : FieldText();
}

FieldText DateFieldModel::Cut() {
    FieldText cut = Copy();
    if (selected_)
        Change({});
    return cut;
}

bool DateFieldModel::Paste(const FieldText& text) {
    std::string digits;
    bool whole = true;
    for (const char32_t c : text) {
        if (c >= U'0' && c <= U'9') {
            digits.push_back(static_cast<char>(c));
        } else if (c != U'/' && c != U'-' && c != U' ') {
            whole = false;
        }
    }
    // An ISO date keeps its year first; the field takes the month first.
    const std::string utf8 = Utf8FromFieldText(TrimBlanks(text));
    if (utf8.size() == 10 && utf8[4] == '-' && utf8[7] == '-' && digits.size() == kDigits)
        digits = digits.substr(4, 4) + digits.substr(0, 4);
    if (digits.empty())
        return whole;
    if (!selected_)
        digits = digits_ + digits;
    if (digits.size() > kDigits) {
        digits.resize(kDigits);
        whole = false;
    }
    Change(std::move(digits));
    return whole;
}

void DateFieldModel::DeleteSelection() {
    if (selected_)
        Change({});
}

std::optional<std::string> DateFieldModel::Check() const {
    if (digits_.empty())
        return std::nullopt;
    // The message names what is wrong with the date, after the field's own sentence.
    const auto refuse = [](const std::string& problem) {
        return std::string(kNotValidMessage) + " (" + problem + ")";
    };
    const std::string shown = Utf8FromFieldText(ShownTextWith(U'_'));
    if (digits_.size() != kDigits)
        return refuse(shown + " is not a complete date");
    const int month = Number(digits_, 0, 2);
    const int day = Number(digits_, 2, 2);
    const int year = Number(digits_, 4, 4);
    if (month < 1 || month > 12)
        return refuse(shown + " is not a date: the month must be 01 to 12");
    if (year < 1)
        return refuse(shown + " is not a date: there is no year 0000");
    if (day < 1)
        return refuse(shown + " is not a date: there is no day 00");
    if (day > DaysIn(year, month)) {
        return refuse(shown + " is not a date: " + kMonthNames[month - 1] + " " +
                      std::to_string(year) + " has " + std::to_string(DaysIn(year, month)) +
                      " days");
    }
    if (year < lowYear_ || year > highYear_) {
        return std::string(kOutOfRangeMessage) + " (" + std::to_string(lowYear_) + " to " +
               std::to_string(highYear_) + ")";
    }
    return std::nullopt;
}

std::optional<FieldDate> DateFieldModel::Value() const {
    if (digits_.size() != kDigits || Check())
        return std::nullopt;
    return FieldDate{Number(digits_, 4, 4), Number(digits_, 0, 2), Number(digits_, 2, 2)};
}

std::string DateFieldModel::ValueText() const {
    if (digits_.size() != kDigits)
        return {};
    return digits_.substr(0, 2) + "/" + digits_.substr(2, 2) + "/" + digits_.substr(4, 4);
}

void DateFieldModel::SetValue(const std::optional<FieldDate>& date) {
    digits_ = date ? DigitsOf(*date) : std::string();
    selected_ = false;
    modified_ = false;
}

}  // namespace velmora
