// Placeholder: the engine's arithmetic lands with the engine work.
#include "engine/money.h"

namespace velmora {

namespace {
const char* MessageOf(ArithmeticError::Kind kind) {
    switch (kind) {
        case ArithmeticError::Kind::InvalidOperation: return "Invalid floating point operation";
        case ArithmeticError::Kind::DivisionByZero: return "Floating point division by zero";
        case ArithmeticError::Kind::Overflow: return "Floating point overflow";
    }
    return "";
}
}  // namespace

ArithmeticError::ArithmeticError(Kind kind) : std::runtime_error(MessageOf(kind)), kind_(kind) {}

void SetArithmeticContext() {}
TMoney MoneyFromReal(long double amount) { return TMoney{static_cast<std::int64_t>(amount * 10000)}; }
long double MoneyToReal(TMoney m) { return static_cast<long double>(m.count) / 10000; }
TMoney MoneySum(TMoney a, TMoney b) { return TMoney{a.count + b.count}; }
long double AnnualAmount(std::int32_t months, TMoney m) { return months * MoneyToReal(m); }
TMoney ApplyCola(TMoney m, double) { return m; }
long double RaiseWhole(long double, std::int32_t) { return 1; }
long double RaiseReal(long double, long double) { return 1; }
long double DiscountedWorth(long double, std::int32_t, long double, long double fv, TPayFrequency,
                            TPayTiming) {
    return fv;
}

}  // namespace velmora
