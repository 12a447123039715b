// Drawing the report and writing it to PDF: text placement, colours, the worked
// example as text extracted from the PDF, and a target that cannot be written.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "engine/moneytext.h"
#include "report/printpages.h"
#include "report/reportoutput.h"
#include "report/reportpainter.h"
#include "report/rptss.h"
#include "report/scenariopipeline.h"
#include "workedexample.h"

namespace velmora {
namespace {

using testing::FixedDateEnvironment;
using testing::ScheduleInputsOf;
using testing::WorkedExampleScenario;

// The labels that wrap must break where their stored boxes say (two lines each, the
// height of their boxes), and the column headings that may wrap must stay on one line.
TEST(ReportText, WrappedLabelsBreakAsTheirBoxesAllow) {
    const struct {
        const char* element;
        QStringList lines;
    } cases[] = {
        {"ppLabel4", {"Cost of Living", "Adjustment"}},
        {"ppLabel6", {"Number of Years", "To Calculate"}},
        {"ppLabel12", {"Age at Early", "Retirement"}},
        {"ppLabel20", {"Monthly Benefit"}},
        {"ppLabel21", {"Annual Benefit"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.element);
        const auto& elements = RptSSLayout().header.elements;
        const auto it = std::find_if(elements.begin(), elements.end(),
                                     [&](const ReportElement& e) { return e.name == c.element; });
        ASSERT_NE(it, elements.end());
        const QFontMetricsF metrics(ReportFont(it->font));
        EXPECT_EQ(WrapText(QString::fromStdString(it->caption), metrics, it->width), c.lines);
    }
}

TEST(ReportText, AWordWiderThanTheBoxKeepsALineOfItsOwn) {
    const QFontMetricsF metrics(ReportFont(ElementFont{"Arial", 11, false}));
    const double width = metrics.horizontalAdvance(QStringLiteral("abc def"));
    EXPECT_EQ(WrapText(QStringLiteral("abc def Supercalifragilistic ghi"), metrics, width),
              (QStringList{"abc def", "Supercalifragilistic", "ghi"}));
    EXPECT_EQ(WrapText(QString(), metrics, width), QStringList{QString()});
}

struct Rendered {
    MemoryCellStore store;
    TResultTable table{store};
    TScenarioRec rec = WorkedExampleScenario();
    RecordInputs inputs{rec};
    std::int32_t cursor = 0;
    ScenarioPipeline source{inputs, table, cursor};
    BandReport report{RptSSLayout(), source, FixedDateEnvironment()};
};

// A page drawn on a 100 dpi image, and what is drawn within a region given in
// thousandths of a millimetre from the paper's corner.
QImage Draw(const ReportPage& page) {
    QImage image(1100, 850, QImage::Format_RGB32);
    image.setDotsPerMeterX(3937);
    image.setDotsPerMeterY(3937);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintReportPage(painter, RptSSLayout(), page);
    return image;
}

int Pixels(int units) {
    return static_cast<int>(units * 100.0 / 25400);
}

int CountPixels(const QImage& image, int left, int top, int right, int bottom,
                const std::function<bool(const QColor&)>& counted) {
    int n = 0;
    for (int y = Pixels(top); y < Pixels(bottom); ++y)
        for (int x = Pixels(left); x < Pixels(right); ++x)
            n += counted(image.pixelColor(x, y));
    return n;
}

bool IsBlue(const QColor& c) {
    return c.blue() > 180 && c.red() < 90 && c.green() < 90;
}
bool IsInk(const QColor& c) {
    return c.lightness() < 200;
}

TEST(ReportPainting, TheBreakEvenMessageIsBlueAndNothingElseIs) {
    Rendered r;
    r.store.SetRowCount(2);
    ASSERT_EQ(r.report.CountPages(), 1);
    const ReportPage page = r.report.ProducePage(0);
    const QImage image = Draw(page);
    int summaryTop = 0;
    for (const auto& band : page.bands)
        if (band.kind == BandKind::Summary)
            summaryTop = band.top;
    ASSERT_GT(summaryTop, 0);
    const int summaryBottom = summaryTop + RptSSLayout().summary.height;
    EXPECT_GT(CountPixels(image, 0, summaryTop, 279400, summaryBottom, IsBlue), 200);
    EXPECT_EQ(CountPixels(image, 0, 0, 279400, summaryTop, IsBlue), 0);
    EXPECT_EQ(CountPixels(image, 0, summaryBottom, 279400, 215900, IsBlue), 0);
}

// An auto-sized wrapped text takes the height of all its lines, so none is lost: a
// client name of 99 capitals and blanks prints two lines and pushes the description and
// its label below them; a description that wraps three times prints its third line (it
// lies mostly inside the stored box). Across, a wrapped text stays inside its box.
TEST(ReportPainting, WrappedTextsPrintEveryLine) {
    std::string longName;
    for (int i = 0; i < 9; ++i)
        longName += std::string(10, 'W') + " ";
    const std::string threeLines =
        std::string(31, 'W') + " " + std::string(31, 'W') + " " + std::string(31, 'W') + " WWW";
    const int margin = 6350;
    const double lineHeight = QFontMetricsF(ReportFont(ElementFont{"Arial", 11, false})).height();
    const auto line = [&](int top, int n) { return top + static_cast<int>(n * lineHeight); };
    const int across[] = {margin + 28310, margin + 253471};  // the texts' boxes
    const int labels[] = {margin + 3704, margin + 27000};    // the captions left of them

    Rendered twoLineName;
    twoLineName.rec.ClientName = longName;
    twoLineName.rec.Description = "Claim early or late";
    ASSERT_EQ(twoLineName.report.CountPages(), 2);
    QImage image = Draw(twoLineName.report.ProducePage(0));
    const int nameBottom = line(14817, 2);
    EXPECT_GT(CountPixels(image, across[0], margin + line(14817, 1) + 300, across[1],
                          margin + nameBottom - 300, IsInk),
              0);
    // Nothing is left where the description and its label stood; they print below.
    EXPECT_EQ(CountPixels(image, labels[0], margin + 21431 + 300, labels[1],
                          margin + nameBottom - 300, IsInk),
              0);
    for (const int left : {labels[0], across[0]}) {
        EXPECT_GT(CountPixels(image, left, margin + nameBottom + 300, left + 20000,
                              margin + line(nameBottom, 1) - 300, IsInk),
                  0);
    }
    // The frame's edge lies at 259028: the name stays inside its box across.
    EXPECT_EQ(CountPixels(image, margin + 253471 + 500, margin + 14817, margin + 259028 - 1000,
                          margin + nameBottom, IsInk),
              0);

    Rendered threeLineDescription;
    threeLineDescription.rec.Description = threeLines;
    ASSERT_EQ(threeLineDescription.report.CountPages(), 2);
    image = Draw(threeLineDescription.report.ProducePage(0));
    EXPECT_GT(CountPixels(image, across[0], margin + line(21431, 2) + 300, across[1],
                          margin + line(21431, 3) - 300, IsInk),
              0);
    EXPECT_EQ(CountPixels(image, across[0], margin + line(21431, 3) + 300, across[1],
                          margin + 36248, IsInk),
              0);
}

QString PdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Lines with their runs of blanks made single, for comparing columns by content.
QStringList Squeezed(const QString& page) {
    QStringList lines;
    for (QString line : page.split(QLatin1Char('\n')))
        lines.append(line.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "))
                         .trimmed());
    return lines;
}

TEST(ReportPdf, TheWorkedExamplePrintsItsInputsRowsAndMessage) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const TMoneyFormat saved = MoneyFormat();
    MoneyFormat() = TMoneyFormat::UnitedStates();
    Rendered r;
    r.rec.Years = 14;  // the rows up to the break-even year, on one page
    BuildSchedule(ScheduleInputsOf(r.rec), r.table);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("example.pdf"));
    WriteReportPdf(r.report, QFile::encodeName(path).toStdString());
    MoneyFormat() = saved;

    const QString text = PdfText(path);
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 1) << text.toStdString();
    const QStringList lines = Squeezed(pages[0]);
    const auto has = [&lines](const QString& wanted) { return lines.contains(wanted); };
    const auto indexOf = [&lines](const QString& wanted) {
        return static_cast<int>(lines.indexOf(wanted));
    };

    EXPECT_TRUE(has("Velmora Report"));
    EXPECT_TRUE(has("Prepared For: Pat Example"));
    EXPECT_TRUE(has("Description: Claim at 62 or at 65"));
    EXPECT_TRUE(text.contains(
        QRegularExpression(QStringLiteral("Number of Years +Month +Year +Monthly Benefit\\n"))));
    EXPECT_TRUE(has("Early Date of Retirement 1 2001 $1,000.00"));
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString& line) {
        return line.endsWith("Later Date of Retirement 1 2004 $1,400.00");
    }));
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Discount Rate +3\\.0000%"))));
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral(" 2\\.5000% +14\\n"))));
    EXPECT_TRUE(has("Table of Results"));
    EXPECT_TRUE(has("Early Retirement Later Retirement"));
    const int headings = indexOf(
        "Year Months Age Monthly Benefit Annual Benefit Present Value Cumulative PV Monthly "
        "Benefit "
        "Annual Benefit Present Value Cumulative PV PV Difference");
    ASSERT_GE(headings, 0);

    // The first detail line is blank: the year rows begin after a gap below the headings.
    const int first = indexOf("2001 12 62 $1,000.00 $12,000 $12,000 $12,000 0 0 0 0 $12,000");
    ASSERT_GT(first, headings + 1);
    for (int i = headings + 1; i < first; ++i)
        EXPECT_EQ(lines[i], "");
    EXPECT_EQ(lines[first + 1], "2002 12 63 $1,025.00 $12,300 $11,942 $23,942 0 0 0 0 $23,942");
    EXPECT_EQ(
        lines[first + 3],
        "2004 12 65 $1,076.89 $12,923 $11,826 $47,652 $1,400.00 $16,800 $15,374 $15,374 $32,277");
    EXPECT_EQ(
        lines[first + 12],
        "2013 12 74 $1,344.89 $16,139 $11,319 $151,536 $1,748.41 $20,981 $14,716 $150,428 $1,108");
    EXPECT_EQ(lines[first + 13],
              "2014 12 75 $1,378.51 $16,542 $11,264 $162,801 $1,792.12 $21,505 $14,644 $165,073 "
              "($2,272)");
    // The summary follows the last row directly.
    int next = first + 14;
    while (next < lines.size() && lines[next].isEmpty())
        ++next;
    ASSERT_LT(next, lines.size());
    EXPECT_EQ(lines[next], "Breakeven point occurs in the year 2014");
    EXPECT_EQ(text.count(QStringLiteral("Breakeven point occurs in the year 2014")), 1);
    EXPECT_TRUE(has("Preparer By: Lee Advisor"));
    EXPECT_TRUE(has("Date Prepared: 2/3/2024 Page 1 of 1"));
}

// A wrapped client name prints whole, above the description it pushes down.
TEST(ReportPdf, AWrappedClientNamePrintsItsSecondLine) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    Rendered r;
    r.rec.ClientName =
        "PATRICIA ALEXANDRA MONTGOMERY-WORTHINGTON VANDERBILT OF THE GREATER WASHINGTON "
        "METROPOLITAN AREA";
    r.rec.Description = "Claim early or late";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("name.pdf"));
    WriteReportPdf(r.report, QFile::encodeName(path).toStdString());
    const QStringList lines = Squeezed(PdfText(path));
    const auto first = lines.indexOf(QRegularExpression(
        QStringLiteral("^Prepared For: PATRICIA ALEXANDRA .* WASHINGTON METROPOLITAN$")));
    ASSERT_GE(first, 0) << PdfText(path).toStdString();
    EXPECT_EQ(lines.value(first + 1), "AREA");
    EXPECT_EQ(lines.value(first + 2), "Description: Claim early or late");
}

// The destination codes of the ToUnicode maps in a PDF: what each glyph reads as.
std::vector<QByteArray> TextLayerCodes(const QByteArray& pdf) {
    std::vector<QByteArray> codes;
    const QRegularExpression entry(QStringLiteral("^<[0-9A-F]{4}> (?:<[0-9A-F]{4}> )?(.*)$"),
                                   QRegularExpression::MultilineOption);
    for (const QByteArray& block : {QByteArrayLiteral("bfchar"), QByteArrayLiteral("bfrange")}) {
        for (qsizetype at = pdf.indexOf("begin" + block); at >= 0;
             at = pdf.indexOf("begin" + block, at + 1)) {
            const qsizetype end = pdf.indexOf("end" + block, at);
            const QString text = QString::fromLatin1(pdf.mid(at, end - at));
            for (auto it = entry.globalMatch(text); it.hasNext();) {
                const QString targets = it.next().captured(1);
                for (auto code =
                         QRegularExpression(QStringLiteral("<([0-9A-F]{4})>")).globalMatch(targets);
                     code.hasNext();)
                    codes.push_back(code.next().captured(1).toLatin1());
            }
        }
    }
    return codes;
}

// Qt's writer reads the space glyph as a tab (the font has no tab, so Qt draws one with
// the space glyph, and the lower code wins); a viewer then copies and searches tabs.
// pdftotext turns tabs into blanks itself, so the map is read directly.
TEST(ReportPdf, TheTextLayerReadsSpacesAsSpaces) {
    Rendered r;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("spaces.pdf"));
    WriteReportPdf(r.report, QFile::encodeName(path).toStdString());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::vector<QByteArray> codes = TextLayerCodes(file.readAll());
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "0009"), 0);
    EXPECT_GE(std::count(codes.begin(), codes.end(), "0020"), 1);
}

TEST(ReportPdf, OnlyTheTabDestinationsOfTheMapChange) {
    const QByteArray before =
        "1 beginbfchar\n<0009> <0009>\nendbfchar\n"
        "3 beginbfrange\n<0000> <0000> <0000>\n<0001> <000A> [<0009> <0041> <0009>]\n"
        "<0009> <0009> <0009>\n<0020> <0021> <0009>\nendbfrange\n";
    const QByteArray after =
        "1 beginbfchar\n<0009> <0020>\nendbfchar\n"
        "3 beginbfrange\n<0000> <0000> <0000>\n<0001> <000A> [<0020> <0041> <0020>]\n"
        "<0009> <0009> <0020>\n<0020> <0021> <0009>\nendbfrange\n";
    QByteArray pdf = before;
    MapSpacesToSpaces(pdf);
    EXPECT_EQ(pdf.toStdString(), after.toStdString());
}

TEST(ReportPdf, BeforeAnyCalculationTwoPagesOfBlankLinesCarryTheNotReachedMessageOnce) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    Rendered r;  // the initial table: 25 rows, no result
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("initial.pdf"));
    WriteReportPdf(r.report, QFile::encodeName(path).toStdString());
    const QStringList pages = PdfText(path).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2);
    const QString message = QStringLiteral("Breakeven point not reached using these parameters.");
    EXPECT_EQ(pages[0].count(message), 0);
    EXPECT_EQ(pages[1].count(message), 1);
    EXPECT_TRUE(Squeezed(pages[0]).contains("Date Prepared: 2/3/2024 Page 1 of 2"));
    EXPECT_TRUE(Squeezed(pages[1]).contains("Date Prepared: 2/3/2024 Page 2 of 2"));
    EXPECT_TRUE(Squeezed(pages[1]).contains("Prepared For: Pat Example"));
}

TEST(ReportPdf, ATargetThatCannotBeWrittenIsRefusedAndLeavesNoFile) {
    QTemporaryDir dir;
    const QString missingFolder = dir.filePath(QStringLiteral("no/such/folder/report.pdf"));
    const QString folderItself = dir.path();
    for (const QString& path : {missingFolder, folderItself}) {
        SCOPED_TRACE(path.toStdString());
        Rendered r;
        try {
            WriteReportPdf(r.report, QFile::encodeName(path).toStdString());
            ADD_FAILURE() << "no error";
        } catch (const ReportError& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(
                "Cannot write " + QFileInfo(path).absoluteFilePath() + ": "))
                << e.what();
        }
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());
}

TEST(ReportPdf, AFailureWhileProducingPagesLeavesNoFileAndNamesTheCause) {
    const TScenarioRec rec = WorkedExampleScenario();
    testing::HookedInputs inputs(rec);
    inputs.failure = "The disk is full";
    MemoryCellStore store;
    TResultTable table(store);
    std::int32_t cursor = 0;
    ScenarioPipeline source(inputs, table, cursor);
    BandReport report(RptSSLayout(), source, FixedDateEnvironment());
    QTemporaryDir dir;
    try {
        WriteReportPdf(report,
                       QFile::encodeName(dir.filePath(QStringLiteral("r.pdf"))).toStdString());
        ADD_FAILURE() << "no error";
    } catch (const ReportError& e) {
        EXPECT_STREQ(e.what(), "Cannot generate report.\n\nThe disk is full");
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());
}

TEST(PrintPages, TheRangeChoosesThePages) {
    const struct {
        const char* name;
        QPrinter::PrintRange range;
        const char* ranges;
        int current;
        std::vector<int> pages;
    } cases[] = {
        {"all", QPrinter::AllPages, "", 2, {1, 2, 3}},
        {"current page", QPrinter::CurrentPage, "", 2, {2}},
        {"list of pages and ranges", QPrinter::PageRange, "1,3", 1, {1, 3}},
        {"range past the end", QPrinter::PageRange, "2-12", 1, {2, 3}},
        {"nothing inside the report", QPrinter::PageRange, "5-12", 1, {}},
        {"empty range list means all", QPrinter::PageRange, "", 1, {1, 2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PagesToPrint(c.range, QPageRanges::fromString(QString::fromLatin1(c.ranges)),
                               c.current, 3),
                  c.pages);
    }
}

TEST(PrintPages, CopiesComeCollatedOrPageByPage) {
    EXPECT_EQ(PrintSequence({1, 2, 3}, 2, true), (std::vector<int>{1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(PrintSequence({1, 2, 3}, 2, false), (std::vector<int>{1, 1, 2, 2, 3, 3}));
    EXPECT_EQ(PrintSequence({2}, 0, true), (std::vector<int>{2}));
}

}  // namespace
}  // namespace velmora
