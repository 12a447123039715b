#include "report/preview/printpages.h"

#include "report/reportlayout.h"
#include "report/reportoutput.h"

namespace velmora {

void SetUpPrinter(QPrinter& printer, const ReportLayout& layout) {
    printer.setFullPage(true);
    SetUpPaper(printer, layout);
    printer.setDocName(QString::fromStdString(layout.documentName));
}

std::vector<int> PagesToPrint(QPrinter::PrintRange range, const QPageRanges& ranges,
                              int currentPage, int pageCount) {
    std::vector<int> pages;
    switch (range) {
        case QPrinter::CurrentPage:
            if (currentPage >= 1 && currentPage <= pageCount)
                pages.push_back(currentPage);
            return pages;
        case QPrinter::PageRange:
            if (!ranges.isEmpty()) {
                for (int page = 1; page <= pageCount; ++page)
                    if (ranges.contains(page))
                        pages.push_back(page);
                return pages;
            }
            break;
        case QPrinter::AllPages:
        case QPrinter::Selection:
            break;
    }
    for (int page = 1; page <= pageCount; ++page)
        pages.push_back(page);
    return pages;
}

std::vector<int> PrintSequence(const std::vector<int>& pages, int copies, bool collate) {
    std::vector<int> sequence;
    if (copies < 1)
        copies = 1;
    if (collate) {
        for (int c = 0; c < copies; ++c)
            sequence.insert(sequence.end(), pages.begin(), pages.end());
    } else {
        for (int page : pages)
            for (int c = 0; c < copies; ++c)
                sequence.push_back(page);
    }
    return sequence;
}

}  // namespace velmora
