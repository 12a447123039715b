#include "cli/fieldvalues.h"

namespace velmora::cli {

namespace {

constexpr std::int64_t kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string UnitsText(std::int64_t units, int decimals) {
    std::string text = std::to_string(units / kPow10[decimals]);
    if (decimals > 0) {
        std::string fraction = std::to_string(units % kPow10[decimals]);
        fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
        if (!fraction.empty())
            text += "." + fraction;
    }
    return text;
}

std::string RangeText(std::int64_t low, std::int64_t high, int decimals) {
    return "is not within the range " + UnitsText(low, decimals) + " to " +
           UnitsText(high, decimals);
}

}  // namespace

FieldValue<long double> ReadRealValue(const std::string& text, const RealRule& rule) {
    const std::string notANumber = "is not a number";
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++i;
    std::string whole;
    std::string fraction;
    while (i < text.size() && IsDigit(text[i]))
        whole += text[i++];
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            fraction += text[i++];
    }
    if (i != text.size() || (whole.empty() && fraction.empty()))
        return notANumber;

    const std::size_t firstSignificant = whole.find_first_not_of('0');
    const std::string wholeDigits =
        firstSignificant == std::string::npos ? "" : whole.substr(firstSignificant);
    // Far above every bound: no need to hold it.
    if (wholeDigits.size() > 12)
        return RangeText(rule.lowUnits, rule.highUnits, rule.decimals);

    // The value as units of the rule's decimals, cut; `beyond` tells whether anything
    // nonzero was cut off and `roundUp` whether the cut part is half a unit or more.
    std::int64_t units = wholeDigits.empty() ? 0 : std::stoll(wholeDigits);
    for (int d = 0; d < rule.decimals; ++d) {
        const auto index = static_cast<std::size_t>(d);
        units = units * 10 + (index < fraction.size() ? fraction[index] - '0' : 0);
    }
    const auto kept = static_cast<std::size_t>(rule.decimals);
    const bool beyond =
        fraction.size() > kept && fraction.find_first_not_of('0', kept) != std::string::npos;
    const bool roundUp = fraction.size() > kept && fraction[kept] >= '5';

    const bool nonzero = units != 0 || beyond;
    const bool below =
        negative ? nonzero && (units > -rule.lowUnits || (units == -rule.lowUnits && beyond))
                 : units < rule.lowUnits;
    const bool above = !negative && (units > rule.highUnits || (units == rule.highUnits && beyond));
    if (below || above)
        return RangeText(rule.lowUnits, rule.highUnits, rule.decimals);

    if (roundUp)
        ++units;
    if (negative)
        units = -units;
    if (units == 0)
        return 0.0L;
    return static_cast<long double>(units) / static_cast<long double>(kPow10[rule.decimals]);
}

FieldValue<std::int32_t> ReadIntegerValue(const std::string& text, const IntegerRule& rule) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++i;
    if (i == text.size())
        return std::string("is not a whole number");
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i]))
            return std::string("is not a whole number");
        if (value < 10000000000LL)
            value = value * 10 + (text[i] - '0');
    }
    if (negative)
        value = -value;
    if (value < rule.low || value > rule.high) {
        return "is not within the range " + std::to_string(rule.low) + " to " +
               std::to_string(rule.high);
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace velmora::cli
