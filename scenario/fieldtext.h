#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// The text of an entry field, one element per character, so that a euro sign or any other
/// symbol takes exactly one position of a mask.
using FieldText = std::u32string;

/// Decodes UTF-8; a malformed sequence becomes U+FFFD.
FieldText FieldTextFromUtf8(std::string_view utf8);
std::string Utf8FromFieldText(const FieldText& text);

/// Blanks and control characters at both ends removed; inner ones stay.
FieldText TrimBlanks(const FieldText& text);

}  // namespace velmora
