#pragma once
// An independent model of the engine's arithmetic for cross-checks: extended reals are
// emulated with integers (64-bit significand, ties to even), money texts are made from
// the exact decimal expansion with string operations, and the schedule is recomputed
// from those. Nothing here uses the processor's extended arithmetic.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/schedule.h"

namespace reference {

/// A value sig x 2^exp with sign; sig is 0 (zero) or has its top bit set.
struct Ext {
    bool negative = false;
    std::uint64_t sig = 0;
    int exp = 0;
    bool IsZero() const { return sig == 0; }
};

/// Raised where the engine raises "Invalid floating point operation".
struct OutOfRange {};

Ext FromInt(std::int64_t v);
Ext FromLongDouble(long double v);  // exact; finite values only
Ext Mul(Ext a, Ext b);
Ext Div(Ext a, Ext b);  // b not zero
Ext Add(Ext a, Ext b);  // operands of the same sign (or zero)
/// Nearest integer, ties to even; OutOfRange outside the signed 64-bit range.
std::int64_t ToCount(Ext v);

/// The money text under the United States settings ("$", patterns 0, "," and ".").
std::string UsMoneyText(Ext v, int decimals, int significantDigits = 12);

struct Schedule {
    std::vector<std::array<std::string, velmora::kResultColumns>> rows;  // index = row
    std::vector<std::int64_t> cumEarly;
    std::vector<std::int64_t> cumLater;
    bool failed = false;  // a count left the range; the cells written so far stand
    bool breakEvenFound = false;
    std::string breakEvenYear;
};

/// The schedule under the United States settings, pass by pass.
Schedule BuildReferenceSchedule(const velmora::ScheduleInputs& in);

}  // namespace reference
