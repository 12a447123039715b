#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined (81, 8D, 8F,
/// 90, 9D) become the C1 control characters of the same number, so no byte is lost.
std::string Cp1252ToUtf8(std::string_view bytes);

/// Whether the code page has a byte for c (the five undefined bytes count, as their C1
/// characters, so that a text read from a file can be written back).
bool Cp1252Holds(char32_t c);

/// What FirstUnstorable gives for a malformed UTF-8 sequence (no Unicode character).
inline constexpr char32_t kMalformedUtf8 = 0x110000;

/// The first character of a UTF-8 text that the code page cannot hold, kMalformedUtf8
/// for a malformed sequence; nothing when every character fits.
std::optional<char32_t> FirstUnstorable(std::string_view utf8);

/// UTF-8 to Windows-1252 bytes, at most maxChars characters (one byte each). A character
/// the code page cannot hold, and every malformed UTF-8 sequence, becomes '?'.
std::string Utf8ToCp1252(std::string_view utf8, std::size_t maxChars);

}  // namespace velmora
