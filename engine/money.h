#pragma once

#include <compare>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace velmora {

/// A money amount: a signed count of ten-thousandths of a dollar (12,345,600 is $1,234.56).
struct TMoney {
    std::int64_t count = 0;
    friend constexpr auto operator<=>(TMoney, TMoney) = default;
};

/// The three arithmetic failures of the engine; what() is the exact user-facing message.
class ArithmeticError : public std::runtime_error {
  public:
    enum class Kind { InvalidOperation, DivisionByZero, Overflow };
    explicit ArithmeticError(Kind kind);
    Kind kind() const noexcept { return kind_; }

  private:
    Kind kind_;
};

/// Establishes the arithmetic context: round to nearest (ties to even), no pending flags.
/// Called at process start and again after every reported error.
void SetArithmeticContext();

enum TPayFrequency { pfYearly, pfHalfYearly, pfQuarterly, pfMonthly };
enum TPayTiming { ptPeriodEnd, ptPeriodStart };

/// amount x 10000, rounded to the nearest count (ties to even); raises when out of range.
TMoney MoneyFromReal(long double amount);
/// count / 10000.
long double MoneyToReal(TMoney m);
/// Exact sum; raises "Invalid floating point operation" when out of range.
TMoney MoneySum(TMoney a, TMoney b);
/// months x count, then / 10000; not rounded to a count.
long double AnnualAmount(std::int32_t months, TMoney monthly);
/// The benefit raised by pct percent for the next year (pct enters as a double).
TMoney ApplyCola(TMoney monthly, double pct);
long double RaiseWhole(long double base, std::int32_t exponent);
long double RaiseReal(long double base, long double exponent);
/// Present value of fv and of the periodic payments at the yearly rate (a fraction).
long double DiscountedWorth(long double rate, std::int32_t periods, long double payment,
                            long double futureValue, TPayFrequency frequency, TPayTiming timing);

}  // namespace velmora
