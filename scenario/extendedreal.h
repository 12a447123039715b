#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace velmora {

/// The ten bytes of an x87 80-bit extended real in file order: the 64-bit significand
/// with its explicit integer bit (bytes 0-7), then sign and biased exponent (bytes 8-9).
using ExtendedBytes = std::array<std::uint8_t, 10>;

/// Packs a value field by field (sign, exponent, significand), whatever the host's
/// own layout. A NaN is written as the quiet NaN C000000000000000 with its sign.
void PackExtended(long double value, std::span<std::uint8_t, 10> out);
ExtendedBytes PackExtended(long double value);

/// Unpacks ten bytes into a value; every bit pattern gives a defined result:
/// - zero, denormals and pseudo-denormals: significand x 2^-16445, as the x87 reads them;
/// - infinities keep their sign; NaNs read as a quiet NaN of the same sign;
/// - unnormals, pseudo-zeros, pseudo-infinities and pseudo-NaNs, which the x87 refuses
///   as invalid operands, read as its default NaN (negative quiet NaN).
/// Leaves the floating-point status flags as they were.
long double UnpackExtended(std::span<const std::uint8_t, 10> in);

}  // namespace velmora
