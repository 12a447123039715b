#pragma once

#include <cstdint>
#include <string>

namespace velmora {

/// The regional money settings. Texts are UTF-8; an empty mark means "none" (left out).
struct TMoneyFormat {
    std::string CurrencySymbol;
    std::uint8_t PositivePattern = 0;  // 0..3, larger acts as 3
    std::uint8_t NegativePattern = 0;  // 0..15, larger acts as 15
    std::string GroupMark = ",";       // one character, or empty for none
    std::string DecimalMark = ".";     // one character, or empty for none
    std::uint8_t CurrencyDigits = 0;

    static TMoneyFormat UnitedStates();
    friend bool operator==(const TMoneyFormat&, const TMoneyFormat&) = default;
};

/// The process-wide format, filled by ReadMoneyFormat at start and on a locale change.
TMoneyFormat& MoneyFormat();

/// Money text of an amount with the process-wide format and 12 significant digits.
std::string MoneyText(long double amount, int decimals);
/// Money text with an explicit format and precision (the report uses 15 digits).
std::string MoneyText(long double amount, int decimals, const TMoneyFormat& format,
                      int significantDigits = 12);
/// Plain decimal digits, '-' for a negative number, no group marks.
std::string WholeText(std::int32_t n);

/// The monetary part of a C locale record (localeconv), as plain values.
struct LocaleMoneyRecord {
    std::string currency_symbol;
    std::string mon_decimal_point;
    std::string mon_thousands_sep;
    int frac_digits = -1;  // CHAR_MAX (127) when undefined
    int p_cs_precedes = -1;
    int p_sep_by_space = -1;
    int n_cs_precedes = -1;
    int n_sep_by_space = -1;
    int n_sign_posn = -1;
};

/// Maps a locale record onto the format; the C/POSIX locale (no money format) gives
/// the United States values.
TMoneyFormat MoneyFormatFromLocale(const LocaleMoneyRecord& record);
/// Reads the monetary settings of the C locale in force into MoneyFormat(); the
/// caller selects the user's locale first (setlocale(LC_ALL, "")). Texts in another
/// character set are converted to UTF-8; a setting that cannot be read gets its fallback.
void ReadMoneyFormat();

/// A date (month 1 to 12) in the short date format of the C locale in force (LC_TIME),
/// the same source as the money settings: M/d/yyyy in the C/POSIX locale.
std::string RegionalShortDate(int year, int month, int day);

}  // namespace velmora
