// The banded engine: pages and band positions from the layout's heights, and the
// order in which it calls the data source for a run and for producing pages again.
#include <gtest/gtest.h>

#include <algorithm>

#include "fakesource.h"
#include "report/bandreport.h"
#include "report/rptss.h"

namespace velmora {
namespace {

using testing::RecordingSource;

ReportEnvironment FixedDate() {
    ReportEnvironment environment;
    environment.dateText = [] { return std::string("2/3/24"); };
    return environment;
}

// A page as "17D", "8D+S" or "S": its detail bands and whether the summary is on it.
std::string Shape(const ReportPage& page) {
    int details = 0;
    bool summary = false;
    for (const auto& band : page.bands) {
        details += band.kind == BandKind::Detail;
        summary = summary || band.kind == BandKind::Summary;
    }
    std::string text = details ? std::to_string(details) + "D" : "";
    if (summary)
        text += text.empty() ? "S" : "+S";
    return text;
}

std::string Shapes(const std::vector<ReportPage>& pages) {
    std::string text;
    for (const auto& page : pages)
        text += (text.empty() ? "" : " | ") + Shape(page);
    return text;
}

TEST(BandReport, PagesFollowFromTheBandHeights) {
    const struct {
        std::int32_t records;
        const char* pages;
    } cases[] = {
        {1, "1D+S"},        {4, "4D+S"},           {15, "15D+S"},
        {16, "16D | S"},    {17, "17D | S"},       {18, "17D | 1D+S"},
        {25, "17D | 8D+S"}, {34, "17D | 17D | S"}, {41, "17D | 17D | 7D+S"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.records);
        RecordingSource source(c.records);
        BandReport report(RptSSLayout(), source, FixedDate());
        const int count = report.CountPages();
        EXPECT_EQ(count, static_cast<int>(report.Plan().size()));
        EXPECT_EQ(Shapes(report.Plan()), c.pages);
    }
}

TEST(BandReport, BandsSitAtTheirPositionsAndRecordsRunAcrossPages) {
    RecordingSource source(41);
    BandReport report(RptSSLayout(), source, FixedDate());
    ASSERT_EQ(report.CountPages(), 3);

    // Header at the top margin, details stacked below it from 89958 at 5556 apart,
    // the summary right below the last detail, the footer ending at the bottom margin.
    std::vector<std::string> expected = {"H 6350 -1"};
    for (int i = 0; i < 7; ++i)
        expected.push_back("D " + std::to_string(89958 + i * 5556) + " " + std::to_string(34 + i));
    expected.push_back("S " + std::to_string(89958 + 7 * 5556) + " -1");
    expected.push_back("F 189706 -1");
    std::vector<std::string> actual;
    for (const auto& band : report.Plan()[2].bands) {
        const char* kind = band.kind == BandKind::Header    ? "H"
                           : band.kind == BandKind::Detail  ? "D"
                           : band.kind == BandKind::Summary ? "S"
                                                            : "F";
        actual.push_back(std::string(kind) + " " + std::to_string(band.top) + " " +
                         std::to_string(band.record));
    }
    EXPECT_EQ(actual, expected);

    EXPECT_EQ(report.Plan()[0].bands[1].record, 0);
    EXPECT_EQ(report.Plan()[0].bands[17].record, 16);
    EXPECT_EQ(report.Plan()[0].bands[17].top, 89958 + 16 * 5556);
    EXPECT_EQ(report.Plan()[1].bands[1].record, 17);
    EXPECT_EQ(report.Plan()[0].start, (PageStart{PageStartKind::FirstRecord, 0, 0}));
    EXPECT_EQ(report.Plan()[1].start, (PageStart{PageStartKind::Bookmark, 17, 17}));
    EXPECT_EQ(report.Plan()[2].start, (PageStart{PageStartKind::Bookmark, 34, 34}));
}

TEST(BandReport, TheFirstRunOpensTheSourceAndEveryRunStartsAtTheFirstRecord) {
    RecordingSource source(2);
    BandReport report(RptSSLayout(), source, FixedDate());
    report.CountPages();
    const std::vector<std::string> firstPass = {
        "Open",  "First",                     // open, once
        "First", "BOF",        "EOF",         // the run starts at the first record
        "EOF",   "Traverse 1", "BOF", "EOF",  // after record 0
        "EOF",   "Traverse 1", "BOF", "EOF",  // after record 1: the end
        "Last",  "BOF",        "EOF",         // before the summary
    };
    EXPECT_EQ(source.TakeLog(), firstPass);

    report.ProducePage(0);
    const std::vector<std::string> secondPass = {
        "First", "BOF",  "EOF",       "grdYear@0", "EOF",         "Traverse 1",
        "BOF",   "EOF",  "grdYear@1", "EOF",       "Traverse 1",  "BOF",
        "EOF",   "Last", "BOF",       "EOF",       "BreakEven@2",
    };
    EXPECT_EQ(source.TakeLog(), secondPass);

    report.CountPages();  // a later run: no second open
    std::vector<std::string> again = source.TakeLog();
    ASSERT_FALSE(again.empty());
    EXPECT_EQ(again.front(), "First");
    EXPECT_EQ(std::count(again.begin(), again.end(), "Open"), 0);
}

TEST(BandReport, APageLaidOutAgainReturnsToWhereItStartedAndShowsTheSameContent) {
    RecordingSource source(41);
    BandReport report(RptSSLayout(), source, FixedDate());
    ASSERT_EQ(report.CountPages(), 3);
    source.TakeLog();

    const struct {
        int page;
        const char* firstCall;
    } visits[] = {{2, "GotoBookmark 34"},
                  {0, "First"},
                  {1, "GotoBookmark 17"},
                  {2, "GotoBookmark 34"},
                  {0, "First"}};
    std::vector<std::vector<std::string>> firstSeen(3);
    for (const auto& visit : visits) {
        SCOPED_TRACE(visit.page);
        const ReportPage page = report.ProducePage(visit.page);
        const auto log = source.TakeLog();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front(), visit.firstCall);
        std::vector<std::string> years;
        for (const auto& band : page.bands)
            if (band.kind == BandKind::Detail)
                years.push_back(band.texts.at(0));
        if (firstSeen[static_cast<std::size_t>(visit.page)].empty())
            firstSeen[static_cast<std::size_t>(visit.page)] = years;
        EXPECT_EQ(years, firstSeen[static_cast<std::size_t>(visit.page)]);
    }
    EXPECT_EQ(firstSeen[0].front(), "");  // record 0: the blank first line
    EXPECT_EQ(firstSeen[0].back(), "year 16");
    EXPECT_EQ(firstSeen[1].front(), "year 17");
    EXPECT_EQ(firstSeen[2].back(), "year 40");
}

TEST(BandReport, ASummaryPushedOntoItsOwnPageStartsThroughTheLastRecord) {
    RecordingSource source(17);
    BandReport report(RptSSLayout(), source, FixedDate());
    ASSERT_EQ(report.CountPages(), 2);
    EXPECT_EQ(report.Plan()[1].start.kind, PageStartKind::LastRecord);
    source.TakeLog();

    const ReportPage page = report.ProducePage(1);
    EXPECT_EQ(source.TakeLog(), (std::vector<std::string>{"Last", "BOF", "EOF", "BreakEven@17"}));
    ASSERT_EQ(Shape(page), "S");
    EXPECT_EQ(page.bands[1].top, 89958);
    EXPECT_EQ(page.bands[1].texts.at(0), "the message");
}

TEST(BandReport, ProducedPagesCarryTheirTextsAndThePageSet) {
    RecordingSource source(25);
    BandReport report(RptSSLayout(), source, FixedDate());
    ASSERT_EQ(report.CountPages(), 2);
    for (int index = 0; index < 2; ++index) {
        SCOPED_TRACE(index);
        const ReportPage page = report.ProducePage(index);
        EXPECT_EQ(page.number, index + 1);
        EXPECT_EQ(page.count, 2);
        const PlacedBand& header = page.bands.front();
        const PlacedBand& footer = page.bands.back();
        ASSERT_EQ(header.texts.size(), RptSSLayout().header.elements.size());
        EXPECT_EQ(header.texts[0], "Velmora Report");
        EXPECT_EQ(header.texts[2], "Pat");  // ClientName
        ASSERT_EQ(footer.texts.size(), RptSSLayout().footer.elements.size());
        EXPECT_EQ(footer.texts[2], "2/3/24");
        EXPECT_EQ(footer.texts[4], std::to_string(index + 1) + " of 2");
        EXPECT_EQ(footer.texts[5], "Page");
    }
}

TEST(BandReport, TheSourceIsClosedOnlyWhenTheReportGoes) {
    RecordingSource source(3);
    {
        BandReport report(RptSSLayout(), source, FixedDate());
        report.CountPages();
        report.ProducePage(0);
        const auto log = source.TakeLog();
        EXPECT_EQ(std::count(log.begin(), log.end(), "Close"), 0);
    }
    EXPECT_EQ(source.TakeLog(), std::vector<std::string>{"Close"});
    EXPECT_EQ(source.cursor, -1);

    RecordingSource unused(3);
    { BandReport report(RptSSLayout(), unused, FixedDate()); }
    EXPECT_TRUE(unused.TakeLog().empty());
}

TEST(BandReport, AskingForAPageOutsideTheCountIsAnError) {
    RecordingSource source(3);
    BandReport report(RptSSLayout(), source, FixedDate());
    report.CountPages();
    try {
        report.ProducePage(1);
        ADD_FAILURE() << "no error";
    } catch (const ReportError& e) {
        EXPECT_STREQ(e.what(), "Page 2 does not exist.");
    }
}

}  // namespace
}  // namespace velmora
