#pragma once

#include "report/reportlayout.h"

namespace velmora {

/// The break-even report rptSS: landscape Letter, quarter-inch margins, the inputs in a
/// framed block at the top of every page, one line per table row, the break-even
/// message once after the last row, and the preparer, date and page set at the foot.
const ReportLayout& RptSSLayout();

}  // namespace velmora
