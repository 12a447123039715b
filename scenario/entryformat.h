#pragma once

#include "engine/moneytext.h"

namespace velmora {

/// The characters the entry fields show for a mask's '.', ',' and '$' positions, taken from
/// the regional money settings once, when a field is made: a field must read back its text
/// with the same characters that wrote it.
struct EntryFormat {
    char32_t decimalMark = U'.';
    char32_t groupMark = U',';     // U'\0': none, the mask's ',' positions are left out
    char32_t currencyMark = U'$';  // first character of the currency symbol; U'\0' when empty

    /// A missing decimal mark gives '.'. When the decimal and the group mark are the same
    /// character, '.' and ',' are used instead, so that every text reads back unambiguously.
    static EntryFormat FromMoneyFormat(const TMoneyFormat& format);
    friend bool operator==(const EntryFormat&, const EntryFormat&) = default;
};

}  // namespace velmora
