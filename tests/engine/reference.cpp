#include "engine/reference.h"

#include <cstring>
#include <stdexcept>

namespace reference {

namespace {

__extension__ typedef unsigned __int128 U128;
__extension__ typedef __int128 I128;

int BitLength(U128 m) {
    const auto high = static_cast<std::uint64_t>(m >> 64);
    const auto low = static_cast<std::uint64_t>(m);
    if (high != 0)
        return 128 - __builtin_clzll(high);
    if (low != 0)
        return 64 - __builtin_clzll(low);
    return 0;
}

// m x 2^e, plus a nonzero remainder below m's last bit when sticky, rounded to 64 bits.
Ext Round(bool negative, U128 m, int e, bool sticky) {
    if (m == 0) {
        if (sticky)
            throw std::logic_error("remainder without a value");
        return Ext{negative, 0, 0};
    }
    const int length = BitLength(m);
    if (length <= 64) {
        const int up = 64 - length;
        if (sticky)
            throw std::logic_error("inexact short value");
        return Ext{negative, static_cast<std::uint64_t>(m << up), e - up};
    }
    const int down = length - 64;
    const bool guard = ((m >> (down - 1)) & 1) != 0;
    const U128 below = m & ((static_cast<U128>(1) << (down - 1)) - 1);
    sticky = sticky || below != 0;
    U128 r = m >> down;
    e += down;
    if (guard && (sticky || (r & 1) != 0))
        ++r;
    if (r == (static_cast<U128>(1) << 64)) {
        r >>= 1;
        ++e;
    }
    return Ext{negative, static_cast<std::uint64_t>(r), e};
}

// Decimal digits of a nonnegative big number held in base 10^9 limbs, least first.
struct BigDecimal {
    std::vector<std::uint32_t> limbs;
    explicit BigDecimal(std::uint64_t v) {
        do {
            limbs.push_back(static_cast<std::uint32_t>(v % 1000000000));
            v /= 1000000000;
        } while (v != 0);
    }
    void Multiply(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (auto& limb : limbs) {
            const std::uint64_t t = static_cast<std::uint64_t>(limb) * factor + carry;
            limb = static_cast<std::uint32_t>(t % 1000000000);
            carry = t / 1000000000;
        }
        while (carry != 0) {
            limbs.push_back(static_cast<std::uint32_t>(carry % 1000000000));
            carry /= 1000000000;
        }
    }
    std::string Text() const {
        std::string text = std::to_string(limbs.back());
        for (std::size_t i = limbs.size() - 1; i-- > 0;) {
            const std::string part = std::to_string(limbs[i]);
            text += std::string(9 - part.size(), '0') + part;
        }
        return text;
    }
};

// |v| = 0.digits x 10^point exactly (v not zero).
std::string ExactDigits(const Ext& v, int& point) {
    BigDecimal n(v.sig);
    int fraction = 0;
    if (v.exp >= 0) {
        for (int i = 0; i < v.exp; ++i)
            n.Multiply(2);
    } else {
        // sig / 2^k = sig x 5^k / 10^k
        fraction = -v.exp;
        for (int i = 0; i < fraction; ++i)
            n.Multiply(5);
    }
    std::string digits = n.Text();
    point = static_cast<int>(digits.size()) - fraction;
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    return digits;
}

// Adds one to the digit string; returns false when it overflowed into a new digit.
bool Increment(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return true;
        }
        digits[i] = '0';
    }
    return false;
}

}  // namespace

Ext FromInt(std::int64_t v) {
    const bool negative = v < 0;
    const U128 magnitude =
        negative ? static_cast<U128>(-(static_cast<I128>(v))) : static_cast<U128>(v);
    return Round(negative, magnitude, 0, false);
}

Ext FromLongDouble(long double v) {
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &v, sizeof bytes);
    std::uint64_t sig = 0;
    std::uint16_t signExponent = 0;
    std::memcpy(&sig, bytes, 8);
    std::memcpy(&signExponent, bytes + 8, 2);
    const bool negative = (signExponent & 0x8000) != 0;
    int biased = signExponent & 0x7fff;
    if (biased == 0)
        biased = 1;  // subnormal
    return Round(negative, sig, biased - 16383 - 63, false);
}

Ext Mul(Ext a, Ext b) {
    const bool negative = a.negative != b.negative;
    if (a.IsZero() || b.IsZero())
        return Ext{negative, 0, 0};
    return Round(negative, static_cast<U128>(a.sig) * b.sig, a.exp + b.exp, false);
}

Ext Div(Ext a, Ext b) {
    if (b.IsZero())
        throw std::logic_error("division by zero in the reference");
    const bool negative = a.negative != b.negative;
    if (a.IsZero())
        return Ext{negative, 0, 0};
    const U128 numerator = static_cast<U128>(a.sig) << 64;
    const U128 quotient = numerator / b.sig;
    const U128 remainder2 = (numerator % b.sig) * 2;
    const bool nextBit = remainder2 >= b.sig;
    const U128 rest = nextBit ? remainder2 - b.sig : remainder2;
    return Round(negative, (quotient << 1) | (nextBit ? 1 : 0), a.exp - b.exp - 65, rest != 0);
}

Ext Add(Ext a, Ext b) {
    if (a.IsZero())
        return b;
    if (b.IsZero())
        return a;
    if (a.negative != b.negative)
        throw std::logic_error("mixed signs in the reference sum");
    if (b.exp > a.exp)
        std::swap(a, b);
    const int gap = a.exp - b.exp;
    const U128 high = static_cast<U128>(a.sig) << 63;
    const U128 full = static_cast<U128>(b.sig) << 63;
    U128 low = 0;
    bool sticky = false;
    if (gap >= 127) {
        sticky = true;
    } else {
        low = full >> gap;
        sticky = gap > 0 && (full & ((static_cast<U128>(1) << gap) - 1)) != 0;
    }
    return Round(a.negative, high + low, a.exp - 63, sticky);
}

std::int64_t ToCount(Ext v) {
    if (v.IsZero())
        return 0;
    U128 magnitude = 0;
    if (v.exp >= 0) {
        if (v.exp >= 64)
            throw OutOfRange{};
        magnitude = static_cast<U128>(v.sig) << v.exp;
    } else if (v.exp >= -65) {
        const int shift = -v.exp;
        const U128 full = v.sig;
        magnitude = full >> shift;
        const U128 rest = full & ((static_cast<U128>(1) << shift) - 1);
        const U128 half = static_cast<U128>(1) << (shift - 1);
        if (rest > half || (rest == half && (magnitude & 1) != 0))
            ++magnitude;
    }
    const U128 limit = static_cast<U128>(1) << 63;
    if (v.negative) {
        if (magnitude > limit)
            throw OutOfRange{};
        return static_cast<std::int64_t>(-static_cast<I128>(magnitude));
    }
    if (magnitude >= limit)
        throw OutOfRange{};
    return static_cast<std::int64_t>(magnitude);
}

std::string UsMoneyText(Ext v, int decimals, int significantDigits) {
    std::string digits;  // significant digits of the shown amount
    int point = 0;
    bool negative = false;
    if (!v.IsZero()) {
        int p = 0;
        std::string exact = ExactDigits(v, p);
        std::string head = exact.substr(0, 18);
        head.resize(18, '0');
        if (exact.size() > 18) {
            const std::string tail = exact.substr(18);
            const bool more = tail.find_first_not_of('0', 1) != std::string::npos;
            const bool odd = (head.back() - '0') % 2 == 1;
            if (tail[0] > '5' || (tail[0] == '5' && (more || odd))) {
                if (!Increment(head)) {
                    head = "1" + std::string(17, '0');
                    ++p;
                }
            }
        }
        int n = p + decimals;
        if (n >= 0) {
            if (n > significantDigits)
                n = significantDigits;
            digits = head.substr(0, static_cast<std::size_t>(n));
            point = p;
            if (n < 18 && head[static_cast<std::size_t>(n)] >= '5') {
                if (!Increment(digits)) {
                    digits = "1";
                    ++point;
                }
            }
            while (!digits.empty() && digits.back() == '0')
                digits.pop_back();
        }
        if (digits.empty()) {
            point = 0;
        } else {
            negative = v.negative;
        }
    }

    if (point > significantDigits) {
        std::string text = negative ? "-" : "";
        text += digits.substr(0, 1);
        if (digits.size() > 1)
            text += "." + digits.substr(1);
        return text + "E" + std::to_string(point - 1);
    }
    auto digitAt = [&](int i) {
        return i >= 0 && i < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(i)]
                                                             : '0';
    };
    std::string whole;
    for (int i = 0; i < point; ++i) {
        whole += digitAt(i);
        const int remaining = point - 1 - i;
        if (remaining > 0 && remaining % 3 == 0)
            whole += ',';
    }
    if (whole.empty())
        whole = "0";
    std::string number = whole;
    if (decimals > 0) {
        number += '.';
        for (int j = 0; j < decimals; ++j)
            number += digitAt(point + j);
    }
    return negative ? "($" + number + ")" : "$" + number;
}

Schedule BuildReferenceSchedule(const velmora::ScheduleInputs& in) {
    using namespace velmora;
    const Ext scale = FromInt(10000);
    const Ext hundred = FromInt(100);
    const Ext one = FromInt(1);
    auto money = [&](std::int64_t count) { return Div(FromInt(count), scale); };
    auto annual = [&](std::int64_t months, std::int64_t count) {
        return Div(Mul(FromInt(months), FromInt(count)), scale);
    };
    auto presentValue = [&](Ext amount, int row) {
        Ext worth = amount;
        if (FromLongDouble(in.Rate).negative || FromLongDouble(in.Rate).IsZero()) {
            return ToCount(Mul(worth, scale));
        }
        if (row > 1) {
            const Ext base = Add(one, Div(FromLongDouble(in.Rate), hundred));
            Ext x = base;
            Ext power = one;
            unsigned k = static_cast<unsigned>(row - 1);
            while (k > 0) {
                while (k % 2 == 0) {
                    k /= 2;
                    x = Mul(x, x);
                }
                k -= 1;
                power = Mul(power, x);
            }
            worth = Mul(amount, Div(one, power));
        }
        return ToCount(Mul(worth, scale));
    };
    auto raise = [&](std::int64_t count) {
        const Ext m = FromInt(count);
        const Ext t1 = Mul(FromLongDouble(static_cast<long double>(in.Cola)), m);
        return ToCount(Add(Div(t1, hundred), m));
    };

    Schedule s;
    const int years = in.Years;
    s.rows.resize(static_cast<std::size_t>(years) + 1);
    s.cumEarly.assign(static_cast<std::size_t>(years) + 1, 0);
    s.cumLater.assign(static_cast<std::size_t>(years) + 1, 0);
    auto cell = [&](int column, int row) -> std::string& {
        return s.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    };
    try {
        std::int64_t early = ToCount(Mul(FromLongDouble(in.EarlyBenefit), scale));
        std::int64_t later = ToCount(Mul(FromLongDouble(in.LaterBenefit), scale));
        for (int r = 1; r <= years; ++r) {
            cell(grdYear, r) = std::to_string(in.EarlyYear + r - 1);
            cell(grdMonths, r) = std::to_string(r == 1 ? 13 - in.EarlyMonth : 12);
            cell(grdAge, r) = std::to_string(in.Age + r - 1);
        }
        std::int64_t total = 0;
        for (int r = 1; r <= years; ++r) {
            cell(grdEarlyBenefit, r) = UsMoneyText(money(early), 2);
            const Ext a = annual(r == 1 ? 13 - in.EarlyMonth : 12, early);
            cell(grdAnnualEarlyBenefit, r) = UsMoneyText(a, 0);
            const std::int64_t pv = presentValue(a, r);
            cell(grdEarlyPv, r) = UsMoneyText(money(pv), 0);
            if (__builtin_add_overflow(total, pv, &total))
                throw OutOfRange{};
            s.cumEarly[static_cast<std::size_t>(r)] = total;
            cell(grdEarlyPvCumulative, r) = UsMoneyText(money(total), 0);
            early = raise(early);
        }
        total = 0;
        for (int r = 1; r <= years; ++r) {
            const int year = in.EarlyYear + r - 1;
            if (year < in.LaterYear) {
                for (int c :
                     {grdLaterBenefit, grdAnnualLaterBenefit, grdLaterPv, grdLaterPvCumulative})
                    cell(c, r) = "0";
                continue;
            }
            cell(grdLaterBenefit, r) = UsMoneyText(money(later), 2);
            const int months = year == in.LaterYear ? 13 - in.LaterMonth : 12;
            const Ext a = annual(months, later);
            cell(grdAnnualLaterBenefit, r) = UsMoneyText(a, 0);
            const std::int64_t pv = presentValue(a, r);
            cell(grdLaterPv, r) = UsMoneyText(money(pv), 0);
            if (__builtin_add_overflow(total, pv, &total))
                throw OutOfRange{};
            s.cumLater[static_cast<std::size_t>(r)] = total;
            cell(grdLaterPvCumulative, r) = UsMoneyText(money(total), 0);
            later = raise(later);
        }
        for (int r = 1; r <= years; ++r) {
            const auto row = static_cast<std::size_t>(r);
            const Ext d = Div(FromInt(s.cumEarly[row] - s.cumLater[row]), scale);
            cell(grdDifference, r) = UsMoneyText(d, 0);
            if (d.negative && !d.IsZero() && !s.breakEvenFound) {
                s.breakEvenFound = true;
                s.breakEvenYear = cell(grdYear, r);
            }
        }
    } catch (const OutOfRange&) {
        s.failed = true;
    }
    return s;
}

}  // namespace reference
