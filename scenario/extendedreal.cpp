#include "scenario/extendedreal.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace velmora {

namespace {

static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the 80-bit extended format to hold the file's reals exactly");

constexpr int kBias = 16383;
constexpr int kMaxExponentField = 0x7FFF;
// Scale of a significand whose exponent field is 0: value = significand x 2^-16445.
constexpr int kDenormalScale = kBias - 1 + 63;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;

// Packing and unpacking must not leave conditions behind that the engine could take
// for its own (an exact denormal may raise underflow on some hosts).
class StatusFlagsKept {
  public:
    StatusFlagsKept() { std::fegetexceptflag(&saved_, FE_ALL_EXCEPT); }
    ~StatusFlagsKept() { std::fesetexceptflag(&saved_, FE_ALL_EXCEPT); }
    StatusFlagsKept(const StatusFlagsKept&) = delete;
    StatusFlagsKept& operator=(const StatusFlagsKept&) = delete;

  private:
    std::fexcept_t saved_{};
};

// A scaled magnitude known to be a whole number below 2^64; anything else (only possible
// for a value the host itself cannot classify) yields 0 instead of an undefined cast.
std::uint64_t WholeSignificand(long double scaled) {
    constexpr long double kLimit = 18446744073709551616.0L;  // 2^64
    if (!(scaled >= 0 && scaled < kLimit))
        return 0;
    return static_cast<std::uint64_t>(scaled);
}

long double DefaultNaN() {
    return std::copysign(std::numeric_limits<long double>::quiet_NaN(), -1.0L);
}

}  // namespace

void PackExtended(long double value, std::span<std::uint8_t, 10> out) {
    const StatusFlagsKept kept;
    std::uint64_t significand = 0;
    int exponentField = 0;
    switch (std::fpclassify(value)) {
        case FP_ZERO:
            break;
        case FP_INFINITE:
            exponentField = kMaxExponentField;
            significand = kIntegerBit;
            break;
        case FP_NAN:
            exponentField = kMaxExponentField;
            significand = kIntegerBit | kQuietBit;
            break;
        case FP_SUBNORMAL:
            significand = WholeSignificand(std::ldexp(std::fabs(value), kDenormalScale));
            break;
        default: {
            int exponent = 0;
            const long double fraction = std::frexp(std::fabs(value), &exponent);  // [0.5, 1)
            significand = WholeSignificand(std::ldexp(fraction, 64));
            exponentField = exponent - 1 + kBias;
            if (significand == 0 || exponentField <= 0 || exponentField >= kMaxExponentField) {
                significand = kIntegerBit | kQuietBit;
                exponentField = kMaxExponentField;
            }
        }
    }
    const unsigned word =
        static_cast<unsigned>(exponentField) | (std::signbit(value) ? 0x8000u : 0u);
    for (std::size_t i = 0; i < 8; ++i) {
        out[i] = static_cast<std::uint8_t>(significand >> (8 * i));
    }
    out[8] = static_cast<std::uint8_t>(word);
    out[9] = static_cast<std::uint8_t>(word >> 8);
}

ExtendedBytes PackExtended(long double value) {
    ExtendedBytes bytes{};
    PackExtended(value, bytes);
    return bytes;
}

long double UnpackExtended(std::span<const std::uint8_t, 10> in) {
    const StatusFlagsKept kept;
    std::uint64_t significand = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        significand |= std::uint64_t{in[i]} << (8 * i);
    }
    const unsigned word = unsigned{in[8]} | (unsigned{in[9]} << 8);
    const bool negative = (word & 0x8000u) != 0;
    const int exponentField = static_cast<int>(word & 0x7FFFu);
    const bool integerBit = (significand & kIntegerBit) != 0;

    long double magnitude = 0;
    if (exponentField == 0) {
        magnitude = std::ldexp(static_cast<long double>(significand), -kDenormalScale);
    } else if (!integerBit) {
        return DefaultNaN();
    } else if (exponentField == kMaxExponentField) {
        if (significand == kIntegerBit) {
            magnitude = std::numeric_limits<long double>::infinity();
        } else {
            magnitude = std::numeric_limits<long double>::quiet_NaN();
        }
    } else {
        magnitude = std::ldexp(static_cast<long double>(significand), exponentField - kBias - 63);
    }
    return negative ? std::copysign(magnitude, -1.0L) : std::copysign(magnitude, 1.0L);
}

}  // namespace velmora
