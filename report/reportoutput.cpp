#include "report/reportoutput.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <stdexcept>

#include "report/bandreport.h"
#include "report/reportpainter.h"
#include "scenario/scenariofile.h"

namespace velmora {

namespace {

QPageSize LayoutPageSize(const ReportLayout& layout) {
    const int shortSide = std::min(layout.paperWidth, layout.paperHeight);
    const int longSide = std::max(layout.paperWidth, layout.paperHeight);
    // Letter is stored as 279401 by 215900; within a micron it is the standard size,
    // so that printers take it as Letter rather than as a custom size.
    if (std::abs(shortSide - 215900) <= 1 && std::abs(longSide - 279400) <= 1)
        return QPageSize(QPageSize::Letter);
    return QPageSize(QSizeF(shortSide / 1000.0, longSide / 1000.0), QPageSize::Millimeter);
}

}  // namespace

void SetUpPaper(QPagedPaintDevice& device, const ReportLayout& layout) {
    const auto orientation =
        layout.paperWidth > layout.paperHeight ? QPageLayout::Landscape : QPageLayout::Portrait;
    device.setPageLayout(QPageLayout(LayoutPageSize(layout), orientation, QMarginsF(0, 0, 0, 0)));
}

void SetUpPrinter(QPrinter& printer, const ReportLayout& layout) {
    printer.setFullPage(true);
    SetUpPaper(printer, layout);
    printer.setDocName(QString::fromStdString(layout.documentName));
}

std::vector<ReportPage> RenderReportPages(
    BandReport& report, QPainter& painter, QPagedPaintDevice& device, const std::vector<int>& pages,
    const std::function<bool(int position, int page)>& beforePage) {
    std::vector<ReportPage> produced;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const int position = static_cast<int>(i);
        if (beforePage && !beforePage(position, pages[i]))
            break;
        if (i > 0 && !device.newPage())
            throw std::runtime_error("The printer could not start a new page.");
        produced.push_back(report.ProducePage(pages[i]));
        PaintReportPage(painter, report.Layout(), produced.back());
    }
    return produced;
}

namespace {

// The failure of writing the file, with its cause: where the program's own words are
// general, the system's follow them.
std::string FileFailureText(const std::string& path, const FileError& error) {
    using Cause = FileError::Cause;
    std::string text = "Cannot write " + path + ": " + error.what();
    if ((error.cause() == Cause::Other || error.cause() == Cause::InvalidName) && error.code() != 0)
        text += std::string(" (") + std::strerror(error.code()) + ")";
    return text;
}

}  // namespace

void WriteReportPdf(BandReport& report, const std::string& path) {
    // The whole document is made in memory and then saved the way a scenario is, so the
    // file appears only when complete and the name is used byte for byte.
    QByteArray document;
    try {
        QBuffer buffer(&document);
        buffer.open(QIODevice::WriteOnly);
        const int count = report.CountPages();
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setTitle(QString::fromStdString(report.Layout().documentName));
        writer.setCreator(QStringLiteral("Velmora Analysis"));
        SetUpPaper(writer, report.Layout());
        QPainter painter;
        if (!painter.begin(&writer))
            throw std::runtime_error("The PDF file could not be started.");
        std::vector<int> all(static_cast<std::size_t>(count));
        std::iota(all.begin(), all.end(), 0);
        RenderReportPages(report, painter, writer, all);
        painter.end();
    } catch (...) {
        ThrowReportFailure(std::current_exception());
    }
    try {
        SaveFileBytes(path, std::string_view(document.constData(),
                                             static_cast<std::size_t>(document.size())));
    } catch (const FileError& e) {
        throw ReportError(FileFailureText(path, e));
    }
}

std::string ReportFailureText(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const ReportError& e) {
        return e.what();
    } catch (const std::exception& e) {
        return std::string("Cannot generate report.\n\n") + e.what();
    } catch (...) {
        return "Cannot generate report.";
    }
}

void ThrowReportFailure(const std::exception_ptr& failure) {
    throw ReportError(ReportFailureText(failure));
}

}  // namespace velmora
