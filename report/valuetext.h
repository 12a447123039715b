#pragma once

#include <string>

#include "report/fieldvalue.h"
#include "report/reportsource.h"

namespace velmora {

struct TMoneyFormat;

/// A number through a display format such as "###.0000%": optional digit places
/// ('#'), required ones ('0'), the decimal point, and literal text after the digits.
/// The decimal point prints as the format's DecimalMark; the number is rounded half
/// away from zero at the last decimal and is never scaled (a "%" is only a character).
/// A non-finite number raises ArithmeticError.
std::string FormatNumber(double value, const std::string& displayFormat,
                         const TMoneyFormat& format);

/// A currency field: money text with the regional currency decimals and 15
/// significant digits. A non-finite number raises ArithmeticError.
std::string CurrencyFieldText(double value, const TMoneyFormat& format);

/// The printed text of a field value by the field's declared type; null prints as "".
std::string FormatFieldValue(const FieldValue& value, TDataType type,
                             const std::string& displayFormat, const TMoneyFormat& format);

}  // namespace velmora
