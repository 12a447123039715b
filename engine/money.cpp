#include "engine/money.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <limits>

#if defined(__x86_64__) || defined(__i386__)
#include <fpu_control.h>
#endif

namespace velmora {

namespace {

const char* MessageOf(ArithmeticError::Kind kind) {
    switch (kind) {
        case ArithmeticError::Kind::InvalidOperation:
            return "Invalid floating point operation";
        case ArithmeticError::Kind::DivisionByZero:
            return "Floating point division by zero";
        case ArithmeticError::Kind::Overflow:
            return "Floating point overflow";
    }
    return "";
}

[[noreturn]] void Raise(ArithmeticError::Kind kind) {
    throw ArithmeticError(kind);
}

// Each helper performs exactly one extended operation (rounded once to the 64-bit
// significand) and turns the conditions the processor would flag into errors. Checking
// the result rather than the status flags keeps the detection independent of where the
// compiler schedules the instruction.
long double Checked(long double result, long double a, long double b) {
    if (std::isnan(result)) {
        if (!std::isnan(a) && !std::isnan(b))
            Raise(ArithmeticError::Kind::InvalidOperation);
    } else if (std::isinf(result) && std::isfinite(a) && std::isfinite(b)) {
        Raise(ArithmeticError::Kind::Overflow);
    }
    return result;
}

long double Mul(long double a, long double b) {
    return Checked(a * b, a, b);
}
long double Add(long double a, long double b) {
    return Checked(a + b, a, b);
}
long double Sub(long double a, long double b) {
    return Checked(a - b, a, b);
}

long double Div(long double a, long double b) {
    if (b == 0 && !std::isnan(a)) {
        if (a == 0)
            Raise(ArithmeticError::Kind::InvalidOperation);  // 0/0
        if (std::isfinite(a))
            Raise(ArithmeticError::Kind::DivisionByZero);
    }
    return Checked(a / b, a, b);
}

// Nearest integer, ties to even, as a count; out of range (or not a number) is invalid.
TMoney ToMoney(long double p) {
    constexpr long double kTwo63 = 9223372036854775808.0L;
    if (std::isnan(p))
        Raise(ArithmeticError::Kind::InvalidOperation);
    const long double r = ::roundevenl(p);
    if (!(r >= -kTwo63 && r < kTwo63))
        Raise(ArithmeticError::Kind::InvalidOperation);
    return TMoney{static_cast<std::int64_t>(r)};
}

constexpr long double kScale = 10000.0L;

}  // namespace

ArithmeticError::ArithmeticError(Kind kind) : std::runtime_error(MessageOf(kind)), kind_(kind) {}

void SetArithmeticContext() {
    std::fesetround(FE_TONEAREST);
    std::feclearexcept(FE_ALL_EXCEPT);
#if defined(__x86_64__) || defined(__i386__)
    // Full 64-bit significand for every x87 result; exceptions stay masked because the
    // engine detects its error conditions itself.
    fpu_control_t cw;
    _FPU_GETCW(cw);
    cw = static_cast<fpu_control_t>((cw & ~_FPU_EXTENDED & ~_FPU_RC_ZERO) | _FPU_EXTENDED |
                                    _FPU_RC_NEAREST | _FPU_MASK_IM | _FPU_MASK_DM | _FPU_MASK_ZM |
                                    _FPU_MASK_OM | _FPU_MASK_UM | _FPU_MASK_PM);
    _FPU_SETCW(cw);
#endif
}

TMoney MoneyFromReal(long double amount) {
    return ToMoney(Mul(amount, kScale));
}

long double MoneyToReal(TMoney m) {
    return Div(static_cast<long double>(m.count), kScale);
}

TMoney MoneySum(TMoney a, TMoney b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a.count, b.count, &sum)) {
        Raise(ArithmeticError::Kind::InvalidOperation);
    }
    return TMoney{sum};
}

long double AnnualAmount(std::int32_t months, TMoney monthly) {
    const long double q =
        Mul(static_cast<long double>(months), static_cast<long double>(monthly.count));
    return Div(q, kScale);
}

TMoney ApplyCola(TMoney monthly, double pct) {
    const long double count = static_cast<long double>(monthly.count);
    const long double t1 = Mul(static_cast<long double>(pct), count);
    const long double t2 = Div(t1, 100.0L);
    const long double t3 = Add(t2, count);
    return ToMoney(t3);
}

long double RaiseWhole(long double base, std::int32_t exponent) {
    // The magnitude of INT32_MIN fits in 32 unsigned bits.
    std::uint32_t k = exponent < 0 ? 0u - static_cast<std::uint32_t>(exponent)
                                   : static_cast<std::uint32_t>(exponent);
    long double y = 1.0L;
    long double x = base;
    while (k > 0) {
        while (k % 2 == 0) {
            k /= 2;
            x = Mul(x, x);
        }
        k -= 1;
        y = Mul(y, x);
    }
    if (exponent < 0)
        y = Div(1.0L, y);
    return y;
}

long double RaiseReal(long double base, long double exponent) {
    if (exponent == 0)
        return 1.0L;
    if (base == 0 && exponent > 0)
        return 0.0L;
    // Within the 32-bit range the conversion truncates exactly, so a whole exponent
    // converts back to itself.
    if (exponent >= -2147483647.0L && exponent <= 2147483647.0L) {
        const auto whole = static_cast<std::int32_t>(exponent);
        if (static_cast<long double>(whole) == exponent)
            return RaiseWhole(base, whole);
    }
    if (base < 0)
        Raise(ArithmeticError::Kind::InvalidOperation);
    if (base == 0)
        Raise(ArithmeticError::Kind::DivisionByZero);
    const long double t = Mul(exponent, std::log(base));
    return Checked(std::exp(t), t, t);
}

long double DiscountedWorth(long double rate, std::int32_t periods, long double payment,
                            long double futureValue, TPayFrequency frequency, TPayTiming timing) {
    long double perYear = 1.0L;
    switch (frequency) {
        case pfYearly:
            perYear = 1.0L;
            break;
        case pfHalfYearly:
            perYear = 2.0L;
            break;
        case pfQuarterly:
            perYear = 4.0L;
            break;
        case pfMonthly:
            perYear = 12.0L;
            break;
    }
    const long double timingFactor = timing == ptPeriodStart ? 1.0L : 0.0L;
    const long double d = Div(rate, perYear);
    const long double f = RaiseReal(Add(1.0L, d), -static_cast<long double>(periods));
    const long double a = Mul(futureValue, f);
    long double b = Mul(payment, Sub(f, 1.0L));
    b = Mul(b, Add(Mul(timingFactor, d), 1.0L));
    b = Div(b, d);
    return Add(a, b);
}

}  // namespace velmora
