#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

/// Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined (81, 8D, 8F,
/// 90, 9D) become the C1 control characters of the same number, so no byte is lost.
std::string Cp1252ToUtf8(std::string_view bytes);

/// UTF-8 to Windows-1252 bytes, at most maxChars characters (one byte each). A character
/// the code page cannot hold, and every malformed UTF-8 sequence, becomes '?'.
std::string Utf8ToCp1252(std::string_view utf8, std::size_t maxChars);

}  // namespace velmora
