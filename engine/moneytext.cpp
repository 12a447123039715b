#include "engine/moneytext.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace velmora {

namespace {

__extension__ typedef unsigned __int128 UInt128;

constexpr std::uint64_t kPow10[] = {
    1ULL,
    10ULL,
    100ULL,
    1000ULL,
    10000ULL,
    100000ULL,
    1000000ULL,
    10000000ULL,
    100000000ULL,
    1000000000ULL,
    10000000000ULL,
    100000000000ULL,
    1000000000000ULL,
    10000000000000ULL,
    100000000000000ULL,
    1000000000000000ULL,
    10000000000000000ULL,
    100000000000000000ULL,
    1000000000000000000ULL,
};
constexpr int kDigits = 18;

// |v| as an 18-digit integer D (10^17 <= D < 10^18) and a point position P, so that
// |v| = 0.D x 10^P, rounded to nearest with ties to even at the 18th digit.
struct Digits18 {
    std::uint64_t d = 0;
    int point = 0;
};

int DigitCount(std::uint64_t n) {
    int count = 1;
    while (count < 20 && n >= kPow10[count])
        ++count;
    return count;
}

// Exact for 1 <= a < 10^18 with integer arithmetic on the significand; returns false
// outside that range.
bool FastDigits(long double a, Digits18& out) {
    if (!(a >= 1.0L && a < 1e18L))
        return false;
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &a, sizeof bytes);
    std::uint64_t significand = 0;
    std::uint16_t signExponent = 0;
    std::memcpy(&significand, bytes, 8);
    std::memcpy(&signExponent, bytes + 8, 2);
    // a = significand x 2^-shift; for 1 <= a < 10^18 the shift lies in 4..63.
    const int shift = 16383 + 63 - (signExponent & 0x7fff);
    if (shift < 1 || shift > 63)
        return false;
    const int point = DigitCount(significand >> shift);
    if (point > kDigits)
        return false;
    const UInt128 scaled = static_cast<UInt128>(significand) * kPow10[kDigits - point];
    std::uint64_t d = static_cast<std::uint64_t>(scaled >> shift);
    const UInt128 rest = scaled & ((static_cast<UInt128>(1) << shift) - 1);
    const UInt128 half = static_cast<UInt128>(1) << (shift - 1);
    if (rest > half || (rest == half && (d & 1) != 0))
        ++d;
    out.point = point;
    if (d == kPow10[kDigits]) {
        d = kPow10[kDigits - 1];
        ++out.point;
    }
    out.d = d;
    return true;
}

// Any other finite positive amount: the C library's conversion is exact and rounds
// ties to even under the arithmetic context's rounding. The decimal mark it writes
// depends on the C locale, so only the digits are taken.
Digits18 SlowDigits(long double a) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", a);
    Digits18 out;
    int count = 0;
    const char* p = buffer;
    for (; *p != '\0' && *p != 'e' && *p != 'E'; ++p) {
        if (*p >= '0' && *p <= '9' && count < kDigits) {
            out.d = out.d * 10 + static_cast<std::uint64_t>(*p - '0');
            ++count;
        }
    }
    int exponent = 0;
    if (*p != '\0')
        std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), buffer + sizeof buffer, exponent);
    out.point = exponent + 1;
    return out;
}

Digits18 TakeDigits(long double a) {
    Digits18 out;
    if (!FastDigits(a, out))
        out = SlowDigits(a);
    return out;
}

// Appends the pattern with 'S' standing for the symbol and 'N' for the number part.
void AppendPattern(std::string& text, const char* pattern, const std::string& symbol,
                   const std::string& number) {
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (*p == 'S') {
            text += symbol;
        } else if (*p == 'N') {
            text += number;
        } else {
            text += *p;
        }
    }
}

// The currency patterns of the regional settings, by their numbers.
constexpr const char* kPositivePatterns[] = {"SN", "NS", "S N", "N S"};
constexpr const char* kNegativePatterns[] = {
    "(SN)", "-SN",  "S-N",  "SN-",  "(NS)", "-NS",  "N-S",   "NS-",
    "-N S", "-S N", "N S-", "S N-", "S -N", "N- S", "(S N)", "(N S)",
};

}  // namespace

TMoneyFormat TMoneyFormat::UnitedStates() {
    return TMoneyFormat{.CurrencySymbol = "$",
                        .PositivePattern = 0,
                        .NegativePattern = 0,
                        .GroupMark = ",",
                        .DecimalMark = ".",
                        .CurrencyDigits = 2};
}

TMoneyFormat& MoneyFormat() {
    static TMoneyFormat format = TMoneyFormat::UnitedStates();
    return format;
}

std::string MoneyText(long double amount, int decimals) {
    return MoneyText(amount, decimals, MoneyFormat());
}

std::string MoneyText(long double amount, int decimals, const TMoneyFormat& format,
                      int significantDigits) {
    if (std::isnan(amount))
        return "NAN";
    if (std::isinf(amount))
        return amount < 0 ? "-INF" : "INF";
    const int k = std::max(decimals, 0);
    const int precision = std::clamp(significantDigits, 1, kDigits);

    // Significant digits kept (held in `kept`, `count` of them) and the point position.
    std::uint64_t kept = 0;
    int count = 0;
    int point = 0;
    bool negative = false;
    if (amount != 0) {
        Digits18 full = TakeDigits(std::fabs(amount));
        point = full.point;
        const int n = std::min(point + k, precision);
        if (n >= 0) {
            const std::uint64_t unit = kPow10[kDigits - n];
            kept = full.d / unit;
            count = n;
            // Half away from zero on the magnitude: the dropped part is at least half a unit.
            if (n < kDigits && full.d % unit >= unit / 2) {
                ++kept;
                if (kept == kPow10[n]) {
                    kept = 1;
                    count = 1;
                    ++point;
                }
            }
            while (count > 0 && kept % 10 == 0) {
                kept /= 10;
                --count;
            }
        }
        if (count == 0) {
            kept = 0;
            point = 0;
        } else {
            negative = amount < 0;
        }
    }

    char digits[kDigits];
    for (int i = count - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + kept % 10);
        kept /= 10;
    }
    auto digitAt = [&](int index) { return index >= 0 && index < count ? digits[index] : '0'; };

    std::string text;
    if (point > precision) {
        if (negative)
            text += '-';
        text += digits[0];
        if (count > 1) {
            text += format.DecimalMark;
            text.append(digits + 1, static_cast<std::size_t>(count - 1));
        }
        text += 'E';
        char exponent[16];
        const auto end = std::to_chars(exponent, exponent + sizeof exponent, point - 1).ptr;
        text.append(exponent, end);
        return text;
    }

    // The number part is sized first and then filled in place: appending one character at
    // a time cost more than the whole conversion. For a table's amounts it fits the
    // string's own buffer, so no call allocates.
    const std::string& group = format.GroupMark;
    const std::string& mark = format.DecimalMark;
    const std::size_t marks = point > 0 ? static_cast<std::size_t>((point - 1) / 3) : 0;
    std::string number(static_cast<std::size_t>(std::max(point, 1)) + marks * group.size() +
                           (k > 0 ? mark.size() + static_cast<std::size_t>(k) : 0),
                       '0');
    char* out = number.data();
    if (point <= 0) {
        *out++ = '0';
    } else {
        int untilMark = (point - 1) % 3 + 1;
        for (int i = 0; i < point; ++i) {
            if (untilMark == 0) {
                out = std::copy(group.begin(), group.end(), out);
                untilMark = 3;
            }
            *out++ = digitAt(i);
            --untilMark;
        }
    }
    if (k > 0) {
        out = std::copy(mark.begin(), mark.end(), out);
        for (int j = 0; j < k; ++j)
            *out++ = digitAt(point + j);
    }

    text.reserve(number.size() + format.CurrencySymbol.size() + 4);
    if (negative) {
        AppendPattern(text, kNegativePatterns[std::min<int>(format.NegativePattern, 15)],
                      format.CurrencySymbol, number);
    } else {
        AppendPattern(text, kPositivePatterns[std::min<int>(format.PositivePattern, 3)],
                      format.CurrencySymbol, number);
    }
    return text;
}

std::string WholeText(std::int32_t n) {
    char buffer[16];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, n).ptr;
    return std::string(buffer, end);
}

}  // namespace velmora
