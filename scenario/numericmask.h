#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scenario/entryformat.h"
#include "scenario/fieldtext.h"

namespace velmora {

enum class NumberKind { Integer, Real };

/// A number split for showing. Digits are ASCII.
struct NumberParts {
    bool negative = false;
    std::string integerDigits;  // "0" for zero; never empty when shown
    bool point = false;         // while typing: a decimal point has been typed
    std::string decimals;
};

/// A shown text read back: either not a number, or a value.
struct NumberRead {
    bool isNumber = false;
    long double value = 0;
};

/// A numeric picture mask with the characters it shows for its marks. '#' is a digit
/// position, the first '.' the decimal point, ',' a group separator, '$' the currency
/// position; any other character is shown as it is.
///
/// A number with more integer digits than the mask holds (only a hand-made file can bring
/// one) is shown in full, the first run of digit positions widened to the left, so that it
/// reads back as the same number. Anything that no text can hold sensibly (not a number, an
/// infinity, more than 18 integer digits) is shown with a '*' in every digit position, which
/// reads back as "not a number".
class NumericMask {
  public:
    NumericMask(std::string_view mask, EntryFormat format);

    const std::string& Text() const { return mask_; }
    const EntryFormat& Format() const { return format_; }
    std::size_t Length() const { return mask_.size(); }
    /// The decimals; the characters a typed number may have, point included; its integer
    /// digits.
    int Decimals() const { return decimals_; }
    int Capacity() const { return capacity_; }
    int IntegerCapacity() const { return integerCapacity_; }
    bool HasPoint() const { return point_ != std::string::npos; }
    bool HasGroup() const { return mask_.find(',') != std::string::npos; }
    bool HasCurrency() const { return mask_.find('$') != std::string::npos; }
    /// The literal characters at the end of the mask, which stay right of the caret.
    std::size_t TrailingLiterals() const { return trailingLiterals_; }

    /// The full format: every decimal position filled, missing decimals shown as 0.
    FieldText Show(const NumberParts& number) const;
    /// The display while typing: only the decimals typed so far, the text growing from the right.
    FieldText ShowTyping(const NumberParts& number) const;
    /// A '*' in every digit position: a value that no text of the mask can hold.
    FieldText ShowUnfit() const;
    /// The real rounded to the mask's decimals (exactly, at extended precision, ties to even).
    FieldText ShowReal(long double value) const;
    FieldText ShowInteger(std::int64_t value) const;

    /// Reading, first steps: mask literals dropped, currency and group marks removed, the
    /// decimal mark made '.', blanks at both ends trimmed.
    FieldText Strip(const FieldText& shown) const;
    NumberRead Read(const FieldText& shown, NumberKind kind) const;

  private:
    std::optional<FieldText> ShowIn(const std::string& mask, const NumberParts& number,
                                    bool typing) const;
    bool FillInteger(const std::string& mask, std::size_t end, const NumberParts& number,
                     FieldText& out) const;
    std::string Widened(std::size_t digits) const;
    FieldText ShowAny(const NumberParts& number, bool typing) const;

    std::string mask_;
    EntryFormat format_;
    std::size_t point_ = std::string::npos;
    std::size_t runBegin_ = 0;
    std::size_t runEnd_ = 0;
    std::size_t runDigits_ = 0;
    std::size_t groupSize_ = 0;  // 0: the run has no ','
    int decimals_ = 0;
    int capacity_ = 0;
    int integerCapacity_ = 0;
    std::size_t trailingLiterals_ = 0;
};

}  // namespace velmora
