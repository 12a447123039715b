#include "report/reportlayout.h"

namespace velmora {

const ReportBand& ReportLayout::Band(BandKind kind) const {
    switch (kind) {
        case BandKind::Header:
            return header;
        case BandKind::Footer:
            return footer;
        case BandKind::Summary:
            return summary;
        case BandKind::Detail:
            break;
    }
    return detail;
}

}  // namespace velmora
