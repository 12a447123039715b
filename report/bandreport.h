#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "report/pagegeometry.h"
#include "report/reportlayout.h"

namespace velmora {

class ReportSource;
struct TMoneyFormat;

/// An error the report engine raises itself; its text reaches the user unchanged.
class ReportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// How a page's layout returns to the record at which the page began.
enum class PageStartKind { FirstRecord, LastRecord, Bookmark };

struct PageStart {
    PageStartKind kind = PageStartKind::FirstRecord;
    std::int32_t bookmark = 0;
    std::int32_t recordIndex = 0;  // the engine's own count of records from the first
    friend bool operator==(const PageStart&, const PageStart&) = default;
};

struct PlacedBand {
    BandKind kind = BandKind::Detail;
    int top = 0;                     // from the paper's top edge
    std::int32_t record = -1;        // the engine's record index of a detail band
    std::vector<std::string> texts;  // one per element of the band, once produced
};

struct ReportPage {
    int number = 0;  // counted from 1
    int count = 0;
    PageStart start;
    std::vector<PlacedBand> bands;
};

struct ReportEnvironment {
    /// Money settings for the value formats; null means the process-wide MoneyFormat().
    const TMoneyFormat* money = nullptr;
    /// Today's date in the user's short date format, asked when a page is produced.
    std::function<std::string()> dateText;
};

/// A banded report over a callback data source. The first pass lays out every page
/// without reading values, to learn the page count; producing a page returns to the
/// position at which that page started and lays it out again with its values.
///
/// Calling order on the source: OpenDataSet and GotoFirstRecord once, before the first
/// run or field read; GotoFirstRecord at the start of every run; CheckEOF before every
/// step of TraverseBy(1); GotoLastRecord before the summary band; a page continues from
/// GetBookmark, and is laid out again through GotoFirstRecord, GotoLastRecord or
/// GotoBookmark. CloseDataSet comes only when the report is destroyed.
class BandReport {
  public:
    BandReport(const ReportLayout& layout, ReportSource& source, ReportEnvironment environment);
    ~BandReport();
    BandReport(const BandReport&) = delete;
    BandReport& operator=(const BandReport&) = delete;

    /// First pass of a run: the pages with their bands, without texts. Gives the count.
    int CountPages();
    int PageCount() const { return static_cast<int>(plan_.size()); }
    const std::vector<ReportPage>& Plan() const { return plan_; }

    /// Second pass for the page at index (0-based) of the last count.
    ReportPage ProducePage(int index);

    const ReportLayout& Layout() const { return layout_; }
    const PageGeometry& Geometry() const { return geometry_; }

  private:
    struct Walk {
        std::vector<PlacedBand> bands;
        std::optional<PageStart> next;
    };

    void EnsureOpen();
    void MoveTo(const PageStart& start);
    void AfterMove();
    Walk WalkPage(const PageStart& start, int pageNumber, bool produce);
    PlacedBand MakeBand(BandKind kind, int top, std::int32_t record, int pageNumber, bool produce);
    std::string ElementText(const ReportElement& element, int pageNumber);

    const ReportLayout& layout_;
    ReportSource& source_;
    ReportEnvironment environment_;
    PageGeometry geometry_;
    std::vector<ReportPage> plan_;
    bool open_ = false;
    bool bof_ = false;
    bool eof_ = false;
    std::int32_t index_ = 0;
};

}  // namespace velmora
