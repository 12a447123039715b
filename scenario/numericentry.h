#pragma once

#include <string>

#include "scenario/fielderrors.h"
#include "scenario/fieldtext.h"
#include "scenario/numericmask.h"

namespace velmora {

/// The calculator-style entry buffer of a numeric field: the characters typed so far
/// (digits and at most one '.') and a sign flag. The mask's measures limit what it takes.
class NumericEntry {
  public:
    explicit NumericEntry(const NumericMask& mask);

    /// Loads a stripped shown text: a leading '-' sets the sign, a lone 0 leaves the buffer
    /// empty, and a text that is not a plain number leaves both empty.
    void Load(const FieldText& stripped);
    void Clear();
    /// One typed character; the user's decimal mark arrives as '.'.
    KeyOutcome Type(char c);
    /// Removes the last character, or turns the sign off when the buffer is empty already.
    void Backspace();

    const std::string& Buffer() const { return buffer_; }
    bool Negative() const { return negative_; }
    /// The number to show: a lone 0 for an empty buffer, a 0 before a leading '.'.
    NumberParts Parts() const;

    friend bool operator==(const NumericEntry&, const NumericEntry&) = default;

  private:
    int IntegerDigits() const;
    bool HasPoint() const { return buffer_.find('.') != std::string::npos; }

    int capacity_;
    int integerCapacity_;
    bool maskHasPoint_;
    std::string buffer_;
    bool negative_ = false;
};

}  // namespace velmora
