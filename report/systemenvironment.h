#pragma once

#include "report/bandreport.h"

namespace velmora {

/// Today in the user's short date format, and the process-wide money settings.
ReportEnvironment SystemReportEnvironment();

}  // namespace velmora
