#include "scenario/numericentry.h"

namespace velmora {

NumericEntry::NumericEntry(const NumericMask& mask)
    : capacity_(mask.Capacity()),
      integerCapacity_(mask.IntegerCapacity()),
      maskHasPoint_(mask.HasPoint()) {}

void NumericEntry::Load(const FieldText& stripped) {
    Clear();
    FieldText s = stripped;
    const bool negative = !s.empty() && s.front() == U'-';
    if (negative)
        s.erase(0, 1);
    std::string digits;
    int points = 0;
    for (char32_t c : s) {
        if (c == U'.') {
            ++points;
        } else if (c < U'0' || c > U'9') {
            return;
        }
        digits.push_back(static_cast<char>(c));
    }
    if (points > 1 || (points == 1 && !maskHasPoint_))
        return;
    negative_ = negative;
    buffer_ = digits == "0" ? std::string() : digits;
}

void NumericEntry::Clear() {
    buffer_.clear();
    negative_ = false;
}

int NumericEntry::IntegerDigits() const {
    const auto point = buffer_.find('.');
    return static_cast<int>(point == std::string::npos ? buffer_.size() : point);
}

KeyOutcome NumericEntry::Type(char c) {
    const int length = static_cast<int>(buffer_.size());
    const int sign = negative_ ? 1 : 0;
    if (c == '-') {
        if (negative_) {
            negative_ = false;
            return KeyOutcome::Accepted;
        }
        if (IntegerDigits() < integerCapacity_ && length < capacity_) {
            negative_ = true;
            return KeyOutcome::Accepted;
        }
        return KeyOutcome::Refused;
    }
    if (c == '.') {
        if (!maskHasPoint_ || HasPoint())
            return KeyOutcome::Refused;
        buffer_.push_back('.');
        return KeyOutcome::Accepted;
    }
    if (c < '0' || c > '9')
        return KeyOutcome::Refused;
    if (c == '0' && buffer_.empty())
        return KeyOutcome::Ignored;
    if (length + sign >= capacity_)
        return KeyOutcome::Refused;
    if (!HasPoint() && IntegerDigits() + sign >= integerCapacity_)
        return KeyOutcome::Refused;
    buffer_.push_back(c);
    return KeyOutcome::Accepted;
}

void NumericEntry::Backspace() {
    if (buffer_.empty()) {
        negative_ = false;
        return;
    }
    buffer_.pop_back();
    if (buffer_ == "0")
        buffer_.clear();
}

NumberParts NumericEntry::Parts() const {
    NumberParts parts;
    parts.negative = negative_;
    std::string b = buffer_.empty() ? std::string("0") : buffer_;
    if (b.front() == '.')
        b.insert(0, 1, '0');
    const auto point = b.find('.');
    parts.integerDigits = b.substr(0, point);
    if (point != std::string::npos) {
        parts.point = true;
        parts.decimals = b.substr(point + 1);
    }
    return parts;
}

}  // namespace velmora
