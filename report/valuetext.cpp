#include "report/valuetext.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/money.h"
#include "engine/moneytext.h"

namespace velmora {

namespace {

constexpr int kSignificantDigits = 15;

void RequireFinite(double value) {
    if (std::isnan(value))
        throw ArithmeticError(ArithmeticError::Kind::InvalidOperation);
    if (std::isinf(value))
        throw ArithmeticError(ArithmeticError::Kind::Overflow);
}

struct Pattern {
    int requiredIntegerDigits = 0;
    bool hasPoint = false;
    int decimals = 0;
    std::string prefix;
    std::string suffix;
};

Pattern ParsePattern(const std::string& text) {
    Pattern p;
    std::size_t i = 0;
    while (i < text.size() && text[i] != '#' && text[i] != '0' && text[i] != '.')
        p.prefix += text[i++];
    for (; i < text.size() && (text[i] == '#' || text[i] == '0'); ++i)
        if (text[i] == '0')
            ++p.requiredIntegerDigits;
    if (i < text.size() && text[i] == '.') {
        p.hasPoint = true;
        for (++i; i < text.size() && (text[i] == '0' || text[i] == '#'); ++i)
            ++p.decimals;
    }
    p.suffix = text.substr(i);
    return p;
}

// |value| as a digit string and a point position P (value = 0.digits x 10^P), cut to
// `decimals` places and at most kSignificantDigits digits, rounded half away from zero.
// The first step takes 18 significant digits, ties to even, which a double survives exactly.
struct Digits {
    std::string digits;
    int point = 0;
};

Digits RoundedDigits(double value, int decimals) {
    Digits d;
    if (value == 0)
        return d;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", static_cast<long double>(std::fabs(value)));
    std::string all;
    const char* p = buffer;
    for (; *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            all += *p;
    d.point = std::atoi(p + 1) + 1;
    int n = d.point + decimals;
    if (n < 0)
        return Digits{};
    if (n > kSignificantDigits)
        n = kSignificantDigits;
    const bool roundUp = all[static_cast<std::size_t>(n)] >= '5';
    d.digits = all.substr(0, static_cast<std::size_t>(n));
    if (roundUp) {
        int i = n - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9')
            d.digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits = "1";
            ++d.point;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        return Digits{};
    return d;
}

std::string WholeNumberText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

}  // namespace

std::string FormatNumber(double value, const std::string& displayFormat,
                         const TMoneyFormat& format) {
    RequireFinite(value);
    const Pattern pattern = ParsePattern(displayFormat);
    const Digits d = RoundedDigits(value, pattern.decimals);
    const auto digitAt = [&d](int i) {
        return i >= 0 && i < static_cast<int>(d.digits.size())
                   ? d.digits[static_cast<std::size_t>(i)]
                   : '0';
    };

    std::string integer;
    for (int i = 0; i < d.point; ++i)
        integer += digitAt(i);
    while (static_cast<int>(integer.size()) < pattern.requiredIntegerDigits)
        integer.insert(0, "0");

    std::string text = pattern.prefix;
    if (value < 0 && !d.digits.empty())
        text += '-';
    text += integer;
    if (pattern.hasPoint && pattern.decimals > 0) {
        text += format.DecimalMark;
        for (int i = 0; i < pattern.decimals; ++i)
            text += digitAt(d.point + i);
    }
    return text + pattern.suffix;
}

std::string CurrencyFieldText(double value, const TMoneyFormat& format) {
    RequireFinite(value);
    return MoneyText(value, format.CurrencyDigits, format, kSignificantDigits);
}

std::string FormatFieldValue(const FieldValue& value, TDataType type,
                             const std::string& displayFormat, const TMoneyFormat& format) {
    if (value.IsNull())
        return {};
    if (value.IsText())
        return value.Text();
    switch (type) {
        case dtInteger:
            if (value.IsInteger())
                return WholeText(value.Integer());
            return WholeNumberText(std::round(value.Double()));
        case dtCurrency:
            return CurrencyFieldText(value.IsInteger() ? value.Integer() : value.Double(), format);
        case dtExtended:
        case dtString:
            break;
    }
    const double number = value.IsInteger() ? value.Integer() : value.Double();
    if (!displayFormat.empty())
        return FormatNumber(number, displayFormat, format);
    if (value.IsInteger())
        return WholeText(value.Integer());
    RequireFinite(number);
    return WholeNumberText(number);
}

}  // namespace velmora
