#include "report/reportoutput.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
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

// One destination code of a ToUnicode map, "<0009>", made "<0020>" in place.
void SpaceForTab(QByteArray& pdf, qsizetype at) {
    static const QByteArray kTab = QByteArrayLiteral("<0009>");
    if (pdf.mid(at, kTab.size()) == kTab)
        pdf.replace(at + 3, 2, "20");
}

// The positions of the hexadecimal codes "<...>" on one line of a map.
std::vector<qsizetype> CodesOnLine(const QByteArray& pdf, qsizetype from, qsizetype to) {
    std::vector<qsizetype> codes;
    for (qsizetype i = pdf.indexOf('<', from); i >= 0 && i < to; i = pdf.indexOf('<', i + 1))
        codes.push_back(i);
    return codes;
}

}  // namespace

void MapSpacesToSpaces(QByteArray& pdf) {
    const auto fix = [&pdf](const QByteArray& begin, const QByteArray& end, int sources) {
        for (qsizetype block = pdf.indexOf(begin); block >= 0;
             block = pdf.indexOf(begin, block + 1)) {
            const qsizetype blockEnd = pdf.indexOf(end, block);
            if (blockEnd < 0)
                return;
            qsizetype line = pdf.indexOf('\n', block) + 1;
            while (line > 0 && line < blockEnd) {
                qsizetype lineEnd = pdf.indexOf('\n', line);
                if (lineEnd < 0 || lineEnd > blockEnd)
                    lineEnd = blockEnd;
                const std::vector<qsizetype> codes = CodesOnLine(pdf, line, lineEnd);
                // A range "<lo> <hi> <first>" maps lo alone to first only when lo == hi;
                // an array "[...]" lists one code per glyph.
                const bool array = pdf.indexOf('[', line) >= 0 && pdf.indexOf('[', line) < lineEnd;
                const bool single = sources == 1 || (codes.size() == 3 &&
                                                     pdf.mid(codes[0], 6) == pdf.mid(codes[1], 6));
                if (array || single) {
                    for (std::size_t i = static_cast<std::size_t>(sources); i < codes.size(); ++i)
                        SpaceForTab(pdf, codes[i]);
                }
                line = lineEnd + 1;
            }
            block = blockEnd;
        }
    };
    fix(QByteArrayLiteral("beginbfchar"), QByteArrayLiteral("endbfchar"), 1);
    fix(QByteArrayLiteral("beginbfrange"), QByteArrayLiteral("endbfrange"), 2);
}

// The failure of writing the file, with its cause: where the program's own words are
// general, the system's follow them.
std::string FileFailureText(const std::string& path, const FileError& error) {
    using Cause = FileError::Cause;
    std::string text = "Cannot write " + path + ": " + error.what();
    if ((error.cause() == Cause::Other || error.cause() == Cause::InvalidName) && error.code() != 0)
        text += std::string(" (") + std::strerror(error.code()) + ")";
    return text;
}

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
    MapSpacesToSpaces(document);
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
