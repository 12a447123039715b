// velmora-cli --pdf run as a user would, on no display.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

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

// Runs the program with arguments as raw bytes (a file name need not be UTF-8); gives the
// exit status and the error output.
struct RawResult {
    int status = -1;
    std::string err;
};

RawResult RunRaw(const std::vector<std::string>& extra) {
    std::vector<std::string> args = {
        VELMORA_CLI, "--early-year",    "2001", "--early-month", "1",    "--age",
        "62",        "--early-benefit", "1000", "--later-year",  "2004", "--later-month",
        "1",         "--later-benefit", "1400", "--cola",        "2.5",  "--rate",
        "3",         "--years",         "14"};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], 2);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        ::unsetenv("QT_QPA_PLATFORM");
        ::setenv("LC_ALL", "C", 1);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    RawResult result;
    char chunk[4096];
    for (ssize_t n; (n = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0;)
        result.err.append(chunk, static_cast<std::size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class CliPdfFile : public ::testing::Test {
  protected:
    // A link loop is more than QTemporaryDir removes.
    ~CliPdfFile() override {
        std::error_code ignored;
        std::filesystem::remove_all(PathOf(""), ignored);
    }
    std::string PathOf(const std::string& name) const {
        return QFile::encodeName(dir_.path()).toStdString() + "/" + name;
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(PathOf("")))
            names.insert(entry.path().filename().string());
        return names;
    }
    static bool IsPdf(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        char head[5] = {};
        in.read(head, 5);
        return std::string(head, 5) == "%PDF-";
    }

    QTemporaryDir dir_;
};

// What is no regular file (a link that leads nowhere among them) is refused as --save
// refuses it, by the report and the client summary alike, and left as it was.
TEST_F(CliPdfFile, ATargetThatIsNoRegularFileIsRefusedAsSaveRefusesIt) {
    ASSERT_EQ(0, ::mkfifo(PathOf("pipe").c_str(), 0600));
    ASSERT_EQ(0, ::symlink("loop", PathOf("loop").c_str()));
    ASSERT_EQ(0, ::symlink("nowhere.pdf", PathOf("dangling").c_str()));
    std::vector<std::string> targets = {"pipe", "loop", "dangling"};
    // A device node, where the system lets us make one (as root, outside a container).
    if (::mknod(PathOf("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        targets.push_back("null");
    for (const std::string& name : targets) {
        SCOPED_TRACE(name);
        struct stat before {};
        ASSERT_EQ(0, ::lstat(PathOf(name).c_str(), &before));
        const RawResult save = RunRaw({"--save", PathOf(name)});
        const std::string prefix = "velmora-cli: --save " + PathOf(name) + ": ";
        ASSERT_EQ(save.err.rfind(prefix, 0), 0u) << save.err;
        std::string reason = save.err.substr(prefix.size());
        reason = reason.substr(0, reason.find_first_of(".\n"));

        const RawResult pdf = RunRaw({"--pdf", PathOf(name)});
        EXPECT_EQ(pdf.status, 1);
        EXPECT_EQ(pdf.err.rfind("velmora-cli: Cannot write " + PathOf(name) + ": " + reason, 0), 0u)
            << pdf.err;
        const Result plan =
            RunProgram(kPlan + QStringList{"--pdf", QString::fromStdString(PathOf(name))});
        EXPECT_EQ(plan.status, 1) << plan.err.toStdString();
        struct stat after {};
        ASSERT_EQ(0, ::lstat(PathOf(name).c_str(), &after));
        EXPECT_EQ(before.st_mode, after.st_mode);
        EXPECT_EQ(before.st_ino, after.st_ino);
    }
}

// The file name's bytes are used as given, however long and whatever their encoding,
// and a replaced file keeps its mode.
TEST_F(CliPdfFile, AnExistingFileIsReplacedUnderItsOwnNameAndMode) {
    const struct {
        const char* what;
        std::string name;
        mode_t mode;
    } cases[] = {
        {"a name that is no UTF-8", "report\xe9.pdf", 0640},
        {"a name of 254 bytes", std::string(250, 'r') + ".pdf", 0600},
        {"a read-only file", "read-only.pdf", 0444},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = PathOf(c.name);
        std::ofstream(path) << "old";
        ASSERT_EQ(0, ::chmod(path.c_str(), c.mode));
        const RawResult run = RunRaw({"--pdf", path});
        if (c.mode == 0444 && ::geteuid() != 0) {
            EXPECT_EQ(run.status, 1);  // only root may replace it
        } else {
            EXPECT_EQ(run.status, 0) << run.err;
            EXPECT_EQ(run.err, "");
            EXPECT_TRUE(IsPdf(path));
        }
        struct stat st {};
        ASSERT_EQ(0, ::stat(path.c_str(), &st));
        EXPECT_EQ(c.mode, st.st_mode & 07777) << std::oct << (st.st_mode & 07777);
    }
    EXPECT_EQ(Names(), (std::set<std::string>{"report\xe9.pdf", std::string(250, 'r') + ".pdf",
                                              "read-only.pdf"}));
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

// A couple's summary: both names, the best pair in words as the text form names it, the
// references and the survivor's line.
TEST(CliPdf, PlanWritesACouplesSummary) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QStringList couple =
        kPlan + QStringList{"--spouse-born", "1961-09-20",           "--spouse-sex",
                            "male",          "--spouse-fra-benefit", "900"};
    QTemporaryDir dir;
    const QString path = dir.filePath("couple.pdf");
    const Result run = RunProgram(couple + QStringList{"--client", "Pat Example", "--spouse-name",
                                                       "Sam Example", "--pdf", path});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "");
    const QString pdf = PdfText(path).simplified();
    EXPECT_TRUE(pdf.contains("Clients: Pat Example and Sam Example")) << pdf.toStdString();
    for (const char* words : {"Best pair: Client claims", "Both at the earliest month:",
                              "Both at FRA:", "Both at 70:", "the spouse would receive"})
        EXPECT_TRUE(pdf.contains(QLatin1String(words))) << words;
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
