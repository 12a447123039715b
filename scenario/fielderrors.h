#pragma once

#include <stdexcept>

namespace velmora {

/// Messages of a field that refuses its content when the user leaves it.
inline constexpr const char* kNotValidMessage = "Value is not valid for this field type";
inline constexpr const char* kOutOfRangeMessage = "Value is not within required range";

/// A getter or setter called on a field of the other kind: a programming error.
class InvalidFieldType : public std::logic_error {
  public:
    InvalidFieldType() : std::logic_error("Invalid data type for this field") {}
};

/// What a refused or ignored keystroke did; a refused one beeps.
enum class KeyOutcome { Accepted, Ignored, Refused };

}  // namespace velmora
