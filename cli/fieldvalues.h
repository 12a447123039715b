#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace velmora::cli {

/// The rule of a numeric entry field: its bounds and, for a real field, the decimals of
/// its mask. Values are refused outside the bounds and rounded to the decimals.
struct RealRule {
    int decimals;
    std::int64_t lowUnits;  // bounds in units of 10^-decimals
    std::int64_t highUnits;
};
struct IntegerRule {
    std::int32_t low;
    std::int32_t high;
};

inline constexpr RealRule kPercentRule{4, 0, 1000000};  // 0 to 100, "###.####%"
inline constexpr RealRule kBenefitRule{2, 0, 9999999};  // 0 to 99,999.99, "$##,###.##"
inline constexpr IntegerRule kYearsRule{1, 40};
inline constexpr IntegerRule kMonthRule{1, 12};
inline constexpr IntegerRule kYearRule{2000, 2030};
inline constexpr IntegerRule kAgeRule{1, 99};

/// A value read from a command-line text, or the reason it was refused.
template <typename T>
using FieldValue = std::variant<T, std::string>;

/// Reads a decimal number ("2.5", ".5", "12."; no exponent, no group marks; the decimal
/// mark is always '.'). Bounds are checked on the number as written; the value is then
/// rounded half away from zero to the rule's decimals and taken as the nearest extended
/// real, as an entry field shows and reads it.
FieldValue<long double> ReadRealValue(const std::string& text, const RealRule& rule);
/// Reads a whole number with an optional '-' and checks its bounds.
FieldValue<std::int32_t> ReadIntegerValue(const std::string& text, const IntegerRule& rule);

}  // namespace velmora::cli
