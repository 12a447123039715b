#pragma once

#include <cstddef>
#include <string_view>

#include "scenario/numericmask.h"

namespace velmora {

/// The default upper bound of a real field: no practical limit.
inline constexpr long double kNoUpperBound = 1.1e4932L;

/// One of the scenario's numeric fields: kind, mask, bounds and the value New gives it.
struct NumericFieldDefinition {
    std::string_view name;
    NumberKind kind;
    std::string_view mask;
    long double low;
    long double high;
    long double newValue;

    /// At window start a field holds 0 when its bounds allow it, else its Low bound.
    long double StartValue() const { return (low <= 0 && 0 <= high) ? 0 : low; }
};

inline constexpr std::size_t kTextFieldLength = 100;

inline constexpr NumericFieldDefinition kColaField{"oCola", NumberKind::Real, "###.####%", 0, 100,
                                                   0};
inline constexpr NumericFieldDefinition kRateField{"oRate", NumberKind::Real, "###.####%", 0, 100,
                                                   0};
inline constexpr NumericFieldDefinition kYearsField{"oYears", NumberKind::Integer, "##", 1, 40, 0};
inline constexpr NumericFieldDefinition kEarlyMonthField{
    "oEarlyMonth", NumberKind::Integer, "##", 1, 12, 1};
inline constexpr NumericFieldDefinition kEarlyYearField{
    "oEarlyYear", NumberKind::Integer, "####", 2000, 2030, 2001};
inline constexpr NumericFieldDefinition kEarlyBenefitField{
    "oEarlyBenefit", NumberKind::Real, "$##,###.##", 0, kNoUpperBound, 0};
inline constexpr NumericFieldDefinition kLaterMonthField{
    "oLaterMonth", NumberKind::Integer, "##", 1, 12, 1};
inline constexpr NumericFieldDefinition kLaterYearField{
    "oLaterYear", NumberKind::Integer, "####", 2000, 2030, 2004};
inline constexpr NumericFieldDefinition kLaterBenefitField{
    "oLaterBenefit", NumberKind::Real, "$##,###.##", 0, kNoUpperBound, 0};
inline constexpr NumericFieldDefinition kAgeField{"oAge", NumberKind::Integer, "##", 1, 99, 62};

}  // namespace velmora
