#include "report/bandreport.h"

#include <utility>

#include "engine/moneytext.h"
#include "report/reportsource.h"
#include "report/valuetext.h"

namespace velmora {

BandReport::BandReport(const ReportLayout& layout, ReportSource& source,
                       ReportEnvironment environment)
    : layout_(layout), source_(source), environment_(std::move(environment)), geometry_(layout) {}

BandReport::~BandReport() {
    if (open_)
        source_.CloseDataSet();
}

void BandReport::EnsureOpen() {
    if (open_)
        return;
    source_.OpenDataSet();
    source_.GotoFirstRecord();
    open_ = true;
    index_ = 0;
}

// The engine's start-and-end state after every move.
void BandReport::AfterMove() {
    bof_ = source_.CheckBOF();
    eof_ = source_.CheckEOF();
}

void BandReport::MoveTo(const PageStart& start) {
    switch (start.kind) {
        case PageStartKind::FirstRecord:
            source_.GotoFirstRecord();
            break;
        case PageStartKind::LastRecord:
            source_.GotoLastRecord();
            break;
        case PageStartKind::Bookmark:
            source_.GotoBookmark(start.bookmark);
            break;
    }
    index_ = start.recordIndex;
    AfterMove();
}

int BandReport::CountPages() {
    EnsureOpen();
    plan_.clear();
    PageStart start;
    for (;;) {
        const int number = static_cast<int>(plan_.size()) + 1;
        Walk walk = WalkPage(start, number, false);
        plan_.push_back(ReportPage{number, 0, start, std::move(walk.bands)});
        if (!walk.next)
            break;
        start = *walk.next;
    }
    for (auto& page : plan_)
        page.count = PageCount();
    return PageCount();
}

ReportPage BandReport::ProducePage(int index) {
    if (index < 0 || index >= PageCount())
        throw ReportError("Page " + std::to_string(index + 1) + " does not exist.");
    EnsureOpen();
    const ReportPage& planned = plan_[static_cast<std::size_t>(index)];
    Walk walk = WalkPage(planned.start, planned.number, true);
    return ReportPage{planned.number, PageCount(), planned.start, std::move(walk.bands)};
}

BandReport::Walk BandReport::WalkPage(const PageStart& start, int pageNumber, bool produce) {
    Walk walk;
    MoveTo(start);
    walk.bands.push_back(
        MakeBand(BandKind::Header, geometry_.HeaderTop(), -1, pageNumber, produce));
    BandStack stack(geometry_);
    bool placedAny = false;

    if (start.kind != PageStartKind::LastRecord) {
        const int detailHeight = layout_.detail.height;
        const std::int32_t recordLimit = source_.Settings().RecordCount;
        while (!eof_) {
            if (!stack.Fits(detailHeight)) {
                walk.next = PageStart{PageStartKind::Bookmark, source_.GetBookmark(), index_};
                break;
            }
            walk.bands.push_back(
                MakeBand(BandKind::Detail, stack.Place(detailHeight), index_, pageNumber, produce));
            placedAny = true;
            if (source_.CheckEOF()) {
                eof_ = true;
                break;
            }
            source_.TraverseBy(1);
            ++index_;
            AfterMove();
            if (index_ >= recordLimit)
                eof_ = true;
        }
        if (eof_) {
            source_.GotoLastRecord();
            AfterMove();
            eof_ = true;
            if (!stack.Fits(layout_.summary.height))
                walk.next = PageStart{PageStartKind::LastRecord, 0, index_};
        }
    }
    if (!walk.next) {
        if (!stack.Fits(layout_.summary.height))
            throw ReportError("The summary band does not fit on a page.");
        walk.bands.push_back(MakeBand(BandKind::Summary, stack.Place(layout_.summary.height), -1,
                                      pageNumber, produce));
        placedAny = true;
    }
    if (!placedAny)
        throw ReportError("The detail band does not fit on a page.");
    walk.bands.push_back(
        MakeBand(BandKind::Footer, geometry_.FooterTop(), -1, pageNumber, produce));
    return walk;
}

PlacedBand BandReport::MakeBand(BandKind kind, int top, std::int32_t record, int pageNumber,
                                bool produce) {
    PlacedBand band{kind, top, record, {}};
    if (produce) {
        for (const auto& element : layout_.Band(kind).elements)
            band.texts.push_back(ElementText(element, pageNumber));
    }
    return band;
}

std::string BandReport::ElementText(const ReportElement& element, int pageNumber) {
    switch (element.kind) {
        case ElementKind::Label:
            return element.caption;
        case ElementKind::DataText: {
            EnsureOpen();
            const TMoneyFormat& money = environment_.money ? *environment_.money : MoneyFormat();
            return FormatFieldValue(source_.GetFieldValue(element.field),
                                    source_.FieldType(element.field), element.displayFormat, money);
        }
        case ElementKind::SystemVariable:
            if (element.variable == SystemVariableType::PageSet)
                return std::to_string(pageNumber) + " of " + std::to_string(PageCount());
            return environment_.dateText ? environment_.dateText() : std::string();
        case ElementKind::Shape:
        case ElementKind::Line:
            break;
    }
    return {};
}

}  // namespace velmora
