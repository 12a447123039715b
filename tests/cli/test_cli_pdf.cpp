// velmora-cli --pdf run as a user would, on no display.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

struct Result {
    int status = -1;
    QString out, err;
};

Result RunProgram(const QStringList& args) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // No display and no platform chosen: the program must manage on its own.
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("LC_ALL", "C");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELMORA_CLI), args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

Result RunCli(const QStringList& extra) {
    QStringList args = {"--early-year",    "2001", "--early-month", "1",    "--age",         "62",
                        "--early-benefit", "1000", "--later-year",  "2004", "--later-month", "1",
                        "--later-benefit", "1400", "--cola",        "2.5",  "--rate",        "3",
                        "--years",         "14"};
    return RunProgram(args + extra);
}

const QStringList kPlan = {"plan",          "--born", "1960-03-15", "--sex",      "female",
                           "--fra-benefit", "2000",   "--as-of",    "2021-06-01", "--cola",
                           "2.5",           "--rate", "3"};

QString PdfText(const QString& path) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    text.waitForFinished(30000);
    return QString::fromUtf8(text.readAllStandardOutput());
}

TEST(CliPdf, WritesTheReportWithoutADisplay) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    const Result run =
        RunCli({"--pdf", path, "--client", "Pat Example", "--preparer", "Lee Advisor"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"report.pdf"});

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    text.waitForFinished(30000);
    const QString pdf = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(pdf.contains("Prepared For: Pat Example"));
    EXPECT_TRUE(pdf.contains("Preparer By: Lee Advisor"));
    EXPECT_TRUE(pdf.contains(QRegularExpression("2014 +12 +75 +\\$1,378\\.51 ")));
    EXPECT_EQ(pdf.count("Breakeven point occurs in the year 2014"), 1);
    EXPECT_TRUE(pdf.contains(QRegularExpression("Page 1 of 1\\n")));
}

// The report's texts come from the scenario file unless an option replaces them.
TEST(CliPdf, TakesTheTextsFromTheScenarioFile) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    const Result run =
        RunCli({"--scenario", QStringLiteral(VELMORA_FIXTURES_DIR "/worked-example.ss"),
                "--preparer", "Lee Advisor", "--pdf", path});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    text.waitForFinished(30000);
    const QString pdf = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(pdf.contains("Prepared For: Jane Q. Client"));
    EXPECT_TRUE(pdf.contains("Early at 62 in 2001 or later at 65 in 2004"));
    EXPECT_TRUE(pdf.contains("Preparer By: Lee Advisor"));
}

TEST(CliPdf, AnUnwritablePathIsRefusedWithExitStatusOneAndNoFile) {
    QTemporaryDir dir;
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {dir.filePath("missing/report.pdf"), "No such file or directory"},
        {dir.path(), "Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const Result run = RunCli({"--pdf", c.path});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.startsWith("velmora-cli: Cannot write " + c.path + ": "))
            << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());
}

}  // namespace

namespace {

// velmora-cli plan --pdf: the one-page summary, every listed month in it, the client's name,
// and the break-even year of the earliest month against the best one with its odds.
TEST(CliPdf, PlanWritesTheClientSummaryWithoutADisplay) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath("summary.pdf");
    const Result run = RunProgram(kPlan + QStringList{"--client", "Pat Example", "--pdf", path});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"summary.pdf"});

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    info.waitForFinished(30000);
    const QString meta = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(meta.contains(QRegularExpression("Pages: +1\\n")));
    EXPECT_TRUE(meta.contains("792 x 612 pts (letter)"));

    const QString pdf = PdfText(path);
    EXPECT_TRUE(pdf.contains("Client: Pat Example"));
    const Result tsv = RunProgram(kPlan + QStringList{"--format", "tsv"});
    ASSERT_EQ(tsv.status, 0);
    QStringList best;
    for (const QString& line : tsv.out.split('\n')) {
        const QStringList cells = line.split('\t');
        if (cells.size() != 9)
            continue;
        EXPECT_TRUE(pdf.contains(QRegularExpression("\\n *" + cells[0] + " +" + cells[1] + " +" +
                                                    QRegularExpression::escape(cells[2]))))
            << cells[0].toStdString();
        if (cells[8] == "best")
            best = cells;
    }
    ASSERT_EQ(best.size(), 9);
    EXPECT_TRUE(pdf.contains("Break-even year " + best[4])) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("living past it: " + best[6] + " %"));
}

TEST(CliPdf, PlanSummaryIntoAMissingFolderFailsWithoutAFile) {
    QTemporaryDir dir;
    const Result run = RunProgram(kPlan + QStringList{"--pdf", dir.filePath("no/summary.pdf")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.startsWith("velmora-cli plan: Cannot write ")) << run.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());
}

}  // namespace
