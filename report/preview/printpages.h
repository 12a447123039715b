#pragma once

#include <QPageRanges>
#include <QPrinter>
#include <vector>

namespace velmora {

struct ReportLayout;

/// The layout's paper for a printer, with the job named after the report's document.
void SetUpPrinter(QPrinter& printer, const ReportLayout& layout);

/// The pages (numbered from 1) that a print range chooses from a report of pageCount
/// pages: all of them, the page shown in the preview, or those of the listed ranges.
std::vector<int> PagesToPrint(QPrinter::PrintRange range, const QPageRanges& ranges,
                              int currentPage, int pageCount);

/// The order in which pages go to the printer when the program makes the copies itself:
/// collated, the whole set once per copy; else each page copies times in a row.
std::vector<int> PrintSequence(const std::vector<int>& pages, int copies, bool collate);

}  // namespace velmora
