#pragma once

#include <string>

#include "report/bandreport.h"

class QDate;
class QLocale;

namespace velmora {

/// A date in the locale's short date format; M/d/yyyy in the C/POSIX locale.
std::string ShortDateText(const QLocale& locale, const QDate& date);

/// Today in the user's short date format, and the process-wide money settings.
ReportEnvironment SystemReportEnvironment();

}  // namespace velmora
