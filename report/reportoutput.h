#pragma once

#include <QString>
#include <exception>
#include <functional>
#include <string>
#include <vector>

class QByteArray;
class QPagedPaintDevice;
class QPainter;

namespace velmora {

class FileError;

class BandReport;
struct ReportLayout;
struct ReportPage;

/// The layout's paper, landscape, with no device margins: the painter's origin is the
/// paper's corner and the report keeps its own margins.
void SetUpPaper(QPagedPaintDevice& device, const ReportLayout& layout);

/// Produces the listed pages (0-based, from the report's last count) one per sheet on
/// a painter active on device. beforePage(position, page) may stop the output by
/// returning false. Gives the pages produced.
std::vector<ReportPage> RenderReportPages(
    BandReport& report, QPainter& painter, QPagedPaintDevice& device, const std::vector<int>& pages,
    const std::function<bool(int position, int page)>& beforePage = {});

/// A whole run of the report (both passes) into a PDF file, saved as a scenario file is
/// (see SaveFileBytes): complete or not at all, the old file's mode kept, only a regular
/// file replaced. path is the file name's bytes. Failures throw ReportError with the
/// user's message.
void WriteReportPdf(BandReport& report, const std::string& path);

/// Qt's PDF writer gives a font's space glyph the text U+0009 when the font has no tab
/// of its own (it draws a tab with the space glyph, and the lowest code wins), so a
/// viewer copies and searches tabs. Makes every such entry of the PDF's ToUnicode maps
/// U+0020; the replacement has the same length, so the file's offsets stay right.
void MapSpacesToSpaces(QByteArray& pdf);

/// "Cannot write PATH: " and the cause of a failed save of a printed document.
std::string FileFailureText(const std::string& path, const FileError& error);

/// The text a failure of a report run shows: an error the engine raised keeps its
/// own text, any other is "Cannot generate report." and two line breaks before its own.
std::string ReportFailureText(const std::exception_ptr& failure);
/// Throws ReportError with ReportFailureText.
[[noreturn]] void ThrowReportFailure(const std::exception_ptr& failure);

}  // namespace velmora
