#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

/// The SHA-256 digest of bytes (FIPS 180-4), which ties a companion file to the exact
/// scenario record it was saved with.
std::array<std::uint8_t, 32> Sha256(std::string_view bytes);

/// The digest as 64 lowercase hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace velmora
