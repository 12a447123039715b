// The regional money settings, taken from the C library's locale.
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <climits>
#include <clocale>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>

#include "engine/moneytext.h"

namespace velmora {

namespace {

bool Defined(int value) {
    return value >= 0 && value != CHAR_MAX;
}

// Length of the UTF-8 sequence starting at text[i], 0 when it is not a valid sequence.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t j = 1; j < length; ++j) {
        if ((static_cast<unsigned char>(text[i + j]) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

bool IsUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

// A separator: one character, none when empty, the fallback for anything else.
std::string Separator(const std::string& setting, const char* fallback) {
    if (setting.empty())
        return {};
    if (Utf8SequenceLength(setting, 0) == setting.size())
        return setting;
    return fallback;
}

std::uint8_t PositivePatternOf(int csPrecedes, int sepBySpace) {
    if ((csPrecedes != 0 && csPrecedes != 1) || sepBySpace < 0 || sepBySpace > 2)
        return 0;
    // 2 puts the space between the sign and the symbol when they meet, else between
    // the sign and the number; a positive amount has no sign, so the space stands
    // between the symbol and the number, as the C library prints it.
    const bool space = sepBySpace == 1 || sepBySpace == 2;
    if (csPrecedes == 1)
        return space ? 2 : 0;
    return space ? 3 : 1;
}

// The C locale describes a negative amount by where the symbol stands (cs), how a space
// separates the parts (sep, 0 to 2) and where the sign goes (posn, 0 = parentheses,
// 1 = before all, 2 = after all, 3 = just before the symbol, 4 = just after it).
// Combinations without an exact counterpart take the nearest pattern.
std::uint8_t NegativePatternOf(int csPrecedes, int sepBySpace, int signPosn) {
    static constexpr std::uint8_t kSymbolFirst[5][3] = {
        {0, 14, 0}, {1, 9, 1}, {3, 11, 3}, {1, 9, 1}, {2, 12, 12},
    };
    static constexpr std::uint8_t kSymbolLast[5][3] = {
        {4, 15, 4}, {5, 8, 5}, {7, 10, 7}, {6, 13, 13}, {7, 10, 7},
    };
    if ((csPrecedes != 0 && csPrecedes != 1) || sepBySpace < 0 || sepBySpace > 2 || signPosn < 0 ||
        signPosn > 4) {
        return 0;
    }
    const auto posn = static_cast<std::size_t>(signPosn);
    const auto sep = static_cast<std::size_t>(sepBySpace);
    return csPrecedes == 1 ? kSymbolFirst[posn][sep] : kSymbolLast[posn][sep];
}

// Converts a text of the locale's character set to UTF-8; nothing when it cannot.
std::optional<std::string> ToUtf8(const char* text, const char* codeset) {
    std::string input = text == nullptr ? std::string() : std::string(text);
    if (codeset == nullptr || std::strcmp(codeset, "UTF-8") == 0) {
        if (IsUtf8(input))
            return input;
        return std::nullopt;
    }
    bool ascii = true;
    for (char c : input)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        return input;
    iconv_t converter = iconv_open("UTF-8", codeset);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string output(input.size() * 4 + 8, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

}  // namespace

TMoneyFormat MoneyFormatFromLocale(const LocaleMoneyRecord& record) {
    // The C and POSIX locales define no money format at all; the program is about US
    // benefits, so it then uses the United States settings.
    if (record.currency_symbol.empty() && record.mon_decimal_point.empty() &&
        !Defined(record.frac_digits) && !Defined(record.p_cs_precedes) &&
        !Defined(record.n_cs_precedes)) {
        return TMoneyFormat::UnitedStates();
    }
    TMoneyFormat format;
    format.CurrencySymbol = IsUtf8(record.currency_symbol) ? record.currency_symbol : "";
    format.PositivePattern = PositivePatternOf(record.p_cs_precedes, record.p_sep_by_space);
    format.NegativePattern =
        NegativePatternOf(record.n_cs_precedes, record.n_sep_by_space, record.n_sign_posn);
    format.GroupMark = Separator(record.mon_thousands_sep, ",");
    format.DecimalMark = Separator(record.mon_decimal_point, ".");
    format.CurrencyDigits = Defined(record.frac_digits) && record.frac_digits <= 255
                                ? static_cast<std::uint8_t>(record.frac_digits)
                                : 0;
    return format;
}

// The character set of one locale category, which may differ from that of LC_CTYPE
// (LANG=C LC_MONETARY=de_DE.UTF-8): the category's texts are in its own set.
std::string CodesetOf(int category) {
    const char* name = std::setlocale(category, nullptr);
    locale_t locale = name == nullptr ? locale_t{} : newlocale(LC_CTYPE_MASK, name, locale_t{});
    if (locale == locale_t{})
        return nl_langinfo(CODESET);
    std::string codeset = nl_langinfo_l(CODESET, locale);
    freelocale(locale);
    return codeset;
}

void ReadMoneyFormat() {
    const lconv* conv = std::localeconv();
    const std::string monetaryCodeset = CodesetOf(LC_MONETARY);
    const char* codeset = monetaryCodeset.c_str();
    LocaleMoneyRecord record;
    // A text that cannot be brought to UTF-8 counts as unreadable; a byte that is not
    // UTF-8 stands in for it, so the mapping gives that setting its fallback.
    const std::string unreadable = "\xff\xff";
    record.currency_symbol = ToUtf8(conv->currency_symbol, codeset).value_or(unreadable);
    record.mon_decimal_point = ToUtf8(conv->mon_decimal_point, codeset).value_or(unreadable);
    record.mon_thousands_sep = ToUtf8(conv->mon_thousands_sep, codeset).value_or(unreadable);
    record.frac_digits = conv->frac_digits;
    record.p_cs_precedes = conv->p_cs_precedes;
    record.p_sep_by_space = conv->p_sep_by_space;
    record.n_cs_precedes = conv->n_cs_precedes;
    record.n_sep_by_space = conv->n_sep_by_space;
    record.n_sign_posn = conv->n_sign_posn;
    MoneyFormat() = MoneyFormatFromLocale(record);
}

std::string RegionalShortDate(int year, int month, int day) {
    const std::string name = std::setlocale(LC_TIME, nullptr);
    // The C and POSIX locales have only a two-digit year; like the money text, they
    // take the United States settings.
    if (name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0)
        return std::to_string(month) + "/" + std::to_string(day) + "/" + std::to_string(year);
    std::tm date{};
    date.tm_year = year - 1900;
    date.tm_mon = month - 1;
    date.tm_mday = day;
    date.tm_isdst = -1;
    std::mktime(&date);  // fills in the weekday, should a format name it
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, nl_langinfo(D_FMT), &date);
    const std::string codeset = CodesetOf(LC_TIME);
    return ToUtf8(std::string(text, length).c_str(), codeset.c_str()).value_or(std::string());
}

}  // namespace velmora
