// Placeholder: money text lands with the engine work.
#include "engine/moneytext.h"

namespace velmora {

TMoneyFormat TMoneyFormat::UnitedStates() {
    TMoneyFormat f;
    f.CurrencySymbol = "$";
    f.CurrencyDigits = 2;
    return f;
}
TMoneyFormat& MoneyFormat() {
    static TMoneyFormat format = TMoneyFormat::UnitedStates();
    return format;
}
std::string MoneyText(long double amount, int decimals) {
    return MoneyText(amount, decimals, MoneyFormat());
}
std::string MoneyText(long double amount, int, const TMoneyFormat& format, int) {
    return format.CurrencySymbol + std::to_string(static_cast<long long>(amount));
}
std::string WholeText(std::int32_t n) { return std::to_string(n); }
TMoneyFormat MoneyFormatFromLocale(const LocaleMoneyRecord&) { return TMoneyFormat::UnitedStates(); }
void ReadMoneyFormat() {}

}  // namespace velmora
