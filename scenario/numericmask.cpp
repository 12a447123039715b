#include "scenario/numericmask.h"

#include <array>
#include <charconv>
#include <cmath>

namespace velmora {

namespace {

// Marks a position that the text leaves out (a ',' position when there is no group mark).
constexpr char32_t kRemoved = U'\0';
// Integer digits beyond this are not shown as digits: a long double holds about 19.
constexpr std::size_t kMaxIntegerDigits = 18;

bool IsMarkPosition(char c) {
    return c == '#' || c == ',' || c == '$' || c == '.';
}

FieldText FromAscii(std::string_view s) {
    return FieldText(s.begin(), s.end());
}

void EraseRemoved(FieldText& text) {
    std::erase(text, kRemoved);
}

bool AllDigits(std::string_view s) {
    if (s.empty())
        return false;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

std::optional<std::string> AsAscii(const FieldText& text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c >= 0x80)
            return std::nullopt;
        out.push_back(static_cast<char>(c));
    }
    return out;
}

NumberRead ReadInteger(std::string_view s) {
    const bool negative = !s.empty() && s.front() == '-';
    if (negative)
        s.remove_prefix(1);
    while (s.size() > 1 && s.front() == '0')
        s.remove_prefix(1);
    if (!AllDigits(s) || s.size() > kMaxIntegerDigits)
        return {};
    std::int64_t v = 0;
    for (char c : s)
        v = v * 10 + (c - '0');
    if (negative)
        v = -v;
    return {true, static_cast<long double>(v)};
}

NumberRead ReadReal(std::string s) {
    const auto point = s.find('.');
    if (point != std::string::npos) {
        std::size_t left = point;
        while (left > 0 && s[left - 1] == ' ')
            --left;
        std::size_t right = point + 1;
        while (right < s.size() && s[right] == ' ')
            ++right;
        s = s.substr(0, left) + '.' + s.substr(right);
    }
    const bool negative = !s.empty() && s.front() == '-';
    std::string body = negative ? s.substr(1) : s;
    const auto dot = body.find('.');
    if (dot != std::string::npos) {
        if (dot == 0)
            body.insert(0, 1, '0');
        if (body.back() == '.')
            body.pop_back();
    }
    const auto dot2 = body.find('.');
    const std::string whole = dot2 == std::string::npos ? body : body.substr(0, dot2);
    const std::string fraction = dot2 == std::string::npos ? "0" : body.substr(dot2 + 1);
    if (!AllDigits(whole) || !AllDigits(fraction))
        return {};
    long double v = 0;
    const auto [end, ec] =
        std::from_chars(body.data(), body.data() + body.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || end != body.data() + body.size() || !std::isfinite(v))
        return {};
    if (negative)
        v = -v;
    if (v == 0)
        v = 0;  // no negative zero
    return {true, v};
}

}  // namespace

NumericMask::NumericMask(std::string_view mask, EntryFormat format)
    : mask_(mask), format_(format), point_(mask_.find('.')) {
    const std::size_t end = point_ == std::string::npos ? mask_.size() : point_;
    runBegin_ = mask_.find('#');
    if (runBegin_ == std::string::npos || runBegin_ > end)
        runBegin_ = end;
    runEnd_ = runBegin_;
    while (runEnd_ < end && (mask_[runEnd_] == '#' || mask_[runEnd_] == ',')) {
        if (mask_[runEnd_] == '#')
            ++runDigits_;
        ++runEnd_;
    }
    const auto lastGroup = mask_.rfind(',', runEnd_ == 0 ? 0 : runEnd_ - 1);
    if (lastGroup != std::string::npos && lastGroup >= runBegin_ && lastGroup < runEnd_) {
        groupSize_ = runEnd_ - lastGroup - 1;
    }
    if (point_ != std::string::npos) {
        for (std::size_t i = point_ + 1; i < mask_.size() && mask_[i] == '#'; ++i)
            ++decimals_;
    }
    const int run = static_cast<int>(runDigits_);
    capacity_ = decimals_ > 0 ? run + decimals_ + 1 : run;
    integerCapacity_ = decimals_ > 0 ? capacity_ - decimals_ - 1 : capacity_;
    while (trailingLiterals_ < mask_.size() &&
           !IsMarkPosition(mask_[mask_.size() - 1 - trailingLiterals_])) {
        ++trailingLiterals_;
    }
}

bool NumericMask::FillInteger(const std::string& mask, std::size_t end, const NumberParts& number,
                              FieldText& out) const {
    std::size_t dollar = mask.rfind('$', end == 0 ? 0 : end - 1);
    if (dollar != std::string::npos && dollar >= end)
        dollar = std::string::npos;
    const std::string& digits = number.integerDigits;
    std::size_t left = digits.size();  // digits still to place, taken from the right
    bool currencyPlaced = dollar == std::string::npos || format_.currencyMark == U'\0';
    bool signPlaced = !number.negative;
    for (std::size_t i = end; i-- > 0;) {
        const char c = mask[i];
        if (c != '#' && c != ',' && c != '$')
            continue;  // literal: keeps its character
        if (left > 0) {
            if (c == '#' && (dollar == std::string::npos || i > dollar)) {
                out[i] = static_cast<char32_t>(digits[--left]);
                continue;
            }
            if (c == ',') {
                out[i] = format_.groupMark == U'\0' ? kRemoved : format_.groupMark;
                continue;
            }
            return false;  // a digit finds no position
        }
        if (!currencyPlaced) {
            out[i] = format_.currencyMark;
            currencyPlaced = true;
        } else if (!signPlaced) {
            out[i] = U'-';
            signPlaced = true;
        } else {
            out[i] = U' ';
        }
    }
    return left == 0 && signPlaced;
}

std::optional<FieldText> NumericMask::ShowIn(const std::string& mask, const NumberParts& number,
                                             bool typing) const {
    const std::size_t point = mask.find('.');
    const std::size_t end = point == std::string::npos ? mask.size() : point;
    FieldText out = FromAscii(mask);
    if (!FillInteger(mask, end, number, out))
        return std::nullopt;
    if (point == std::string::npos) {
        EraseRemoved(out);
        return out;
    }
    if (!typing) {
        out[point] = format_.decimalMark;
        std::size_t j = 0;
        for (std::size_t i = point + 1; i < mask.size(); ++i) {
            if (mask[i] == '#')
                out[i] = j < number.decimals.size() ? number.decimals[j++] : U'0';
        }
        if (point > 0 && out[point - 1] == U' ')
            out[point - 1] = U'0';
        EraseRemoved(out);
        return out;
    }
    // While typing, untyped decimal positions (and the point until it is typed) are left out
    // and decimals typed beyond the mask's go on right of the last decimal position.
    FieldText text = out.substr(0, point);
    if (number.point)
        text.push_back(format_.decimalMark);
    FieldText tail;
    std::size_t extraAt = 0;
    std::size_t j = 0;
    for (std::size_t i = point + 1; i < mask.size(); ++i) {
        if (mask[i] != '#') {
            tail.push_back(static_cast<char32_t>(mask[i]));
        } else if (j < number.decimals.size()) {
            tail.push_back(static_cast<char32_t>(number.decimals[j++]));
            extraAt = tail.size();
        }
    }
    if (j < number.decimals.size())
        tail.insert(extraAt, FromAscii(number.decimals.substr(j)));
    text += tail;
    EraseRemoved(text);
    if (text.size() < mask_.size()) {
        text.insert(0, mask_.size() - text.size(), U' ');
    }
    std::size_t blanks = 0;
    while (text.size() - blanks > mask_.size() && blanks < text.size() && text[blanks] == U' ') {
        ++blanks;
    }
    text.erase(0, blanks);
    return text;
}

std::string NumericMask::Widened(std::size_t digits) const {
    std::string run;
    for (std::size_t i = 0; i < digits; ++i) {
        if (groupSize_ > 0 && i > 0 && i % groupSize_ == 0)
            run.insert(0, 1, ',');
        run.insert(0, 1, '#');
    }
    return mask_.substr(0, runBegin_) + run + mask_.substr(runEnd_);
}

FieldText NumericMask::ShowAny(const NumberParts& number, bool typing) const {
    if (number.integerDigits.size() > kMaxIntegerDigits)
        return ShowUnfit();
    if (auto text = ShowIn(mask_, number, typing))
        return *text;
    if (runDigits_ > 0) {
        // Room for every digit, the currency mark and the sign.
        const std::size_t most = number.integerDigits.size() + 2;
        for (std::size_t digits = runDigits_ + 1; digits <= most; ++digits) {
            if (auto text = ShowIn(Widened(digits), number, typing))
                return *text;
        }
    }
    return ShowUnfit();
}

FieldText NumericMask::Show(const NumberParts& number) const {
    return ShowAny(number, false);
}

FieldText NumericMask::ShowTyping(const NumberParts& number) const {
    FieldText text = ShowAny(number, true);
    // A leading point with decimals typed up to the capacity leaves no room for the 0 put
    // before it; without it the text keeps the mask's length and still reads back.
    if (text.size() > mask_.size() && number.point && number.integerDigits == "0") {
        NumberParts bare = number;
        bare.integerDigits.clear();
        text = ShowAny(bare, true);
    }
    return text;
}

FieldText NumericMask::ShowUnfit() const {
    // A marker that none of the marks can be mistaken for.
    char32_t marker = U'*';
    for (char32_t candidate : {U'*', U'#', U'?'}) {
        marker = candidate;
        if (candidate != format_.decimalMark && candidate != format_.groupMark &&
            candidate != format_.currencyMark) {
            break;
        }
    }
    FieldText out = FromAscii(mask_);
    for (std::size_t i = 0; i < mask_.size(); ++i) {
        switch (mask_[i]) {
            case '#':
                out[i] = marker;
                break;
            case ',':
                out[i] = format_.groupMark == U'\0' ? kRemoved : format_.groupMark;
                break;
            case '$':
                out[i] = format_.currencyMark == U'\0' ? U' ' : format_.currencyMark;
                break;
            default:
                if (i == point_)
                    out[i] = format_.decimalMark;
                break;
        }
    }
    EraseRemoved(out);
    return out;
}

FieldText NumericMask::ShowReal(long double value) const {
    if (!std::isfinite(value) || std::fabs(value) >= 1e19L)
        return ShowUnfit();
    std::array<char, 64> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed, decimals_);
    if (ec != std::errc())
        return ShowUnfit();
    std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    NumberParts number;
    if (!text.empty() && text.front() == '-') {
        number.negative = true;
        text.remove_prefix(1);
    }
    const auto point = text.find('.');
    number.integerDigits = std::string(text.substr(0, point));
    if (point != std::string_view::npos)
        number.decimals = std::string(text.substr(point + 1));
    // Rounded to zero: no sign.
    if ((number.integerDigits + number.decimals).find_first_not_of('0') == std::string::npos) {
        number.negative = false;
    }
    return Show(number);
}

FieldText NumericMask::ShowInteger(std::int64_t value) const {
    NumberParts number;
    number.negative = value < 0;
    std::uint64_t magnitude =
        number.negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        number.integerDigits.insert(0, 1, static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude > 0);
    return Show(number);
}

FieldText NumericMask::Strip(const FieldText& shown) const {
    FieldText s;
    if (shown.size() == mask_.size()) {
        for (std::size_t i = 0; i < mask_.size(); ++i) {
            if (IsMarkPosition(mask_[i]))
                s.push_back(shown[i]);
        }
    } else {
        s = shown;
    }
    if (HasCurrency() && format_.currencyMark != U'\0') {
        const auto at = s.find(format_.currencyMark);
        if (at != FieldText::npos)
            s.erase(at, 1);
    }
    if (HasGroup() && format_.groupMark != U'\0')
        std::erase(s, format_.groupMark);
    if (HasPoint()) {
        for (char32_t& c : s) {
            if (c == format_.decimalMark)
                c = U'.';
        }
    }
    return TrimBlanks(s);
}

NumberRead NumericMask::Read(const FieldText& shown, NumberKind kind) const {
    const FieldText stripped = Strip(shown);
    if (stripped.empty())
        return {true, 0};
    const auto ascii = AsAscii(stripped);
    if (!ascii)
        return {};
    return kind == NumberKind::Integer ? ReadInteger(*ascii) : ReadReal(*ascii);
}

}  // namespace velmora
