#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/csvreader.h"
#include "cli/run.h"
#include "engine/money.h"
#include "engine/moneytext.h"
#include "scenario/scenarioinputs.h"

namespace velmora::cli {
namespace {

// The header's order differs from the output's on purpose.
const std::vector<std::string> kHeader = {"early-year", "early-month",  "age",  "early-benefit",
                                          "later-year", "later-month",  "cola", "rate",
                                          "years",      "later-benefit"};
const std::string kHeaderLine =
    "early-year,early-month,age,early-benefit,later-year,later-month,cola,rate,years,"
    "later-benefit\n";

// A row of the worked example over five years, and its output row in United States money.
const std::string kRow = "2001,1,62,1000,2004,1,2.5,3,5,1400";
const std::string kRowResult =
    "2.5000,3.0000,5,1,2001,1000.00,1,2004,1400.00,62,,\"$59,420\",\"$30,674\",\"$28,746\",";

std::string Repeated(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
    std::istringstream in(text);
    CsvReader reader(
        [&in](char* buffer, std::size_t size) {
            in.read(buffer, static_cast<std::streamsize>(size));
            return static_cast<std::size_t>(in.gcount());
        },
        64, 1 << 20);
    std::vector<std::vector<std::string>> rows;
    CsvRecord record;
    while (reader.Next(record))
        rows.emplace_back(record.fields.begin(),
                          record.fields.begin() + static_cast<std::ptrdiff_t>(record.count));
    return rows;
}

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(line);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

struct BatchOutput {
    int status = 0;
    std::string out;
    std::string err;
};

BatchOutput Batch(const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    BatchOutput run;
    run.status = RunBatch({"-"}, in, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// What the flag-only form gives for the same values.
struct FlagResult {
    int status = 0;
    std::string breakEven;
    std::string early, later, difference;  // the last row's cumulative texts
    std::string err;
};

FlagResult FlagOnly(const std::vector<std::string>& values) {
    std::vector<std::string> args;
    for (std::size_t i = 0; i < kHeader.size(); ++i) {
        args.push_back("--" + kHeader[i]);
        args.push_back(values[i]);
    }
    args.insert(args.end(), {"--format", "tsv"});
    std::ostringstream out;
    std::ostringstream err;
    FlagResult result;
    result.status = RunCli(args, out, err);
    result.err = err.str();
    if (result.status != kExitOk)
        return result;
    const std::vector<std::string> lines = Split(out.str(), '\n');
    const std::string& message = lines.back();
    const std::string reached = "Breakeven point occurs in the year ";
    if (message.rfind(reached, 0) == 0)
        result.breakEven = message.substr(reached.size());
    const std::vector<std::string> last = Split(lines[lines.size() - 2], '\t');
    result.early = last[grdEarlyPvCumulative];
    result.later = last[grdLaterPvCumulative];
    result.difference = last[grdDifference];
    return result;
}

TMoneyFormat SpaceGrouped() {
    TMoneyFormat format;
    format.CurrencySymbol = "€";
    format.PositivePattern = 3;
    format.NegativePattern = 8;
    format.GroupMark = " ";
    format.DecimalMark = ",";
    format.CurrencyDigits = 2;
    return format;
}

class BatchTest : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        SetArithmeticContext();
        saved_ = MoneyFormat();
        MoneyFormat() =
            GetParam() == "UnitedStates" ? TMoneyFormat::UnitedStates() : SpaceGrouped();
    }
    void TearDown() override { MoneyFormat() = saved_; }
    TMoneyFormat saved_;
};

INSTANTIATE_TEST_SUITE_P(MoneyFormats, BatchTest, ::testing::Values("UnitedStates", "SpaceGrouped"),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             return param.param;
                         });

// Each output row holds what the flag-only form prints for the row's values; a refused
// value and an overflow fail their own row only, with the flag-only form's reason.
TEST_P(BatchTest, EachRowEqualsTheFlagOnlyForm) {
    const std::vector<std::vector<std::string>> scenarios = {
        {"2001", "1", "62", "1000", "2004", "1", "2.5", "3", "20", "1400"},
        {"2001", "1", "62", "1000", "2004", "1", "2.5", "3", "3", "1400"},  // not reached
        {"2010", "7", "63", "1234.565", "2013", "11", "1.03125", "0", "40", "2000.125"},
        {"2001", "1", "62", "1000", "2004", "1", "2.5", "3", "41", "1400"},      // refused
        {"2001", "1", "62", "99999.99", "2004", "1", "100", "3", "40", "1400"},  // overflow
        {"2030", "12", "99", "0", "2000", "1", "0", "100", "1", "0.005"},
        {"2005", "3", "64", "2500.50", "2005", "3", "2.50005", "4.75", "40", "2500.50"},
    };
    std::string input = kHeaderLine;
    for (const auto& values : scenarios) {
        for (std::size_t i = 0; i < values.size(); ++i)
            input += values[i] + (i + 1 < values.size() ? "," : "\n");
    }
    const BatchOutput run = Batch(input);
    EXPECT_EQ(run.status, kExitFailed);
    const auto rows = CsvRows(run.out);
    ASSERT_EQ(rows.size(), scenarios.size() + 1);
    const std::vector<std::string> titles = {"cola",
                                             "rate",
                                             "years",
                                             "early-month",
                                             "early-year",
                                             "early-benefit",
                                             "later-month",
                                             "later-year",
                                             "later-benefit",
                                             "age",
                                             "break-even-year",
                                             "early-pv-cumulative",
                                             "later-pv-cumulative",
                                             "difference",
                                             "error"};
    EXPECT_EQ(rows[0], titles);

    std::size_t failures = 0;
    for (std::size_t s = 0; s < scenarios.size(); ++s) {
        SCOPED_TRACE("scenario " + std::to_string(s));
        const FlagResult flags = FlagOnly(scenarios[s]);
        const std::vector<std::string>& row = rows[s + 1];
        ASSERT_EQ(row.size(), titles.size());
        const std::string rowName = "row " + std::to_string(s + 2) + ": ";
        if (flags.status == kExitOk) {
            EXPECT_EQ(row[10], flags.breakEven);
            EXPECT_EQ(row[11], flags.early);
            EXPECT_EQ(row[12], flags.later);
            EXPECT_EQ(row[13], flags.difference);
            EXPECT_EQ(row[14], "");
            // The inputs as taken read back as the same values.
            for (std::size_t c = 0; c < 10; ++c) {
                // The numeric inputs, in the table's order.
                const ScenarioInput& column = kScenarioInputs[3 + c];
                ASSERT_EQ(column.option, "--" + titles[c]);
                const std::size_t given = static_cast<std::size_t>(
                    std::find(kHeader.begin(), kHeader.end(), titles[c]) - kHeader.begin());
                EXPECT_EQ(TypeIntoField(column, row[c]).value,
                          TypeIntoField(column, scenarios[s][given]).value)
                    << titles[c] << " " << row[c];
            }
            continue;
        }
        ++failures;
        // The flag-only form's reason, after the row number, on the error stream and in the row.
        std::string reason = flags.err.substr(0, flags.err.find('\n'));
        const std::string program = "velmora-cli: --";
        if (reason.rfind(program, 0) == 0)
            reason = reason.substr(program.size());
        EXPECT_EQ(row[14], rowName + reason);
        EXPECT_NE(run.err.find("velmora-cli: " + rowName + reason + "\n"), std::string::npos)
            << run.err;
        for (std::size_t c = 10; c < 14; ++c)
            EXPECT_EQ(row[c], "");
        // An overflow row had all its values: they are shown.
        EXPECT_EQ(row[0].empty(), flags.status == kExitUsage);
    }
    EXPECT_EQ(failures, 2u);
}

TEST(BatchRun, RowsReadAsSpreadsheetsWriteThem) {
    SetArithmeticContext();
    const TMoneyFormat saved = MoneyFormat();
    MoneyFormat() = TMoneyFormat::UnitedStates();
    const std::string& row = kRow;
    const std::string& result = kRowResult;
    const auto failed = [](const std::string& reason) { return ",,,,,,,,,,,,,," + reason; };
    // A quote left open on row 3, then more rows than the row cap holds.
    std::vector<std::string> afterOpenQuote = {result, failed("row 3: a quote is not closed.")};
    afterOpenQuote.insert(afterOpenQuote.end(), 1000, result);
    struct Case {
        const char* name;
        std::string input;
        int status;
        std::vector<std::string> out;  // the lines after the output's header
        std::string err;
    };
    const std::vector<Case> cases = {
        {"byte order mark, CRLF, dashes and blanks in the header, quoted values",
         "\xEF\xBB\xBF--Early-Year, early-month ,age,early-benefit,later-year,later-month,cola,"
         "rate,years,later-benefit\r\n\"2001\",1,62,\"1000\",2004,1,2.5,3,5,1400\r\n",
         kExitOk,
         {result},
         ""},
        {"CR line ends, empty lines skipped but counted, no line end at the end",
         "early-year,early-month,age,early-benefit,later-year,later-month,cola,rate,years,"
         "later-benefit\r\r" +
             row + "\r" + row,
         kExitOk,
         {result, result},
         ""},
        {"a line break inside a quoted value is refused and shown escaped",
         kHeaderLine + "2001,1,62,1000,2004,1,2.5,3,\"5\n\",1400\n" + row + "\n",
         kExitFailed,
         {",,,,,,,,,,,,,,\"row 2: years: \"\"5\\n\"\": cannot be typed into the field (##): "
          "the field refuses '\\n'\"",
          result},
         "velmora-cli: row 2: years: \"5\\n\": cannot be typed into the field (##): the field "
         "refuses '\\n'\n"},
        {"wrong field counts",
         kHeaderLine + "2001,1,62\n" + row + ",7\n",
         kExitFailed,
         {",,,,,,,,,,,,,,\"row 2: 3 fields, the header has 10.\"",
          ",,,,,,,,,,,,,,\"row 3: 11 fields, the header has 10.\""},
         "velmora-cli: row 2: 3 fields, the header has 10.\n"
         "velmora-cli: row 3: 11 fields, the header has 10.\n"},
        {"stray and unclosed quotes",
         kHeaderLine +
             "2001,1,6\"2,1000,2004,1,2.5,3,5,1400\n\"2001\"x,1,62,1000,2004,1,2.5,"
             "3,5,1400\n" +
             row + "\n\"2001,1",
         kExitFailed,
         {",,,,,,,,,,,,,,row 2: a quote inside a field that does not start with one.",
          ",,,,,,,,,,,,,,row 3: a character follows the closing quote of a field.", result,
          ",,,,,,,,,,,,,,row 5: a quoted field is not closed before the end of the input."},
         ""},
        {"a header alone", kHeaderLine, kExitOk, {}, ""},
        {"empty lines before the header are skipped but counted",
         "\r\n\n" + kHeaderLine + row + "\n2001,1\n",
         kExitFailed,
         {result, failed("\"row 5: 2 fields, the header has 10.\"")},
         "velmora-cli: row 5: 2 fields, the header has 10.\n"},
        {"blanks around values, quoted or not",
         kHeaderLine + "2001, 1 ,62,\t1000 , \"2004\" ,1,2.5,3,5 ,\t\"1400\"\n",
         kExitOk,
         {result},
         ""},
        {"a quote left open costs its own row only, before more rows than the cap holds",
         kHeaderLine + row + "\n2001,1,62,\"1000,2004,1,2.5,3,5,1400\n" +
             Repeated(row + "\n", 1000),
         kExitFailed, afterOpenQuote, "velmora-cli: row 3: a quote is not closed.\n"},
        {"a quote left open until the end of the input, CRLF line ends",
         kHeaderLine + "\"2001,1,62,1000,2004,1,2.5,3,5,1400\r\n" + row + "\r\n" + row,
         kExitFailed,
         {failed("row 2: a quote is not closed."), result, result},
         "velmora-cli: row 2: a quote is not closed.\n"},
        {"a quote left open on a line longer than the cap",
         kHeaderLine + "\"" + std::string(5000, '1') + "\n" + row + "\n",
         kExitFailed,
         {failed("row 2: a quote is not closed."), result},
         "velmora-cli: row 2: a quote is not closed.\n"},
        {"a row longer than the cap, then a quoted line break that closes in time",
         kHeaderLine + std::string(5000, '1') + "\n\"2001\n\",1\n" + row + "\n",
         kExitFailed,
         {failed("row 2: the row is longer than 4096 characters."),
          failed("\"row 3: 2 fields, the header has 10.\""), result},
         "velmora-cli: row 2: the row is longer than 4096 characters.\n"
         "velmora-cli: row 3: 2 fields, the header has 10.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BatchOutput run = Batch(c.input);
        EXPECT_EQ(run.status, c.status);
        std::vector<std::string> lines = Split(run.out, '\n');
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front().rfind("cola,rate,", 0), 0u);
        lines.erase(lines.begin());
        EXPECT_EQ(lines, c.out);
        if (!c.err.empty()) {
            EXPECT_EQ(run.err, c.err);
        }
        EXPECT_EQ(run.err.empty(), c.status == kExitOk);
    }
    MoneyFormat() = saved;
}

// The inputs are written with '.' whatever the locale's numbers use, so they read back.
TEST(BatchRun, InputsKeepThePointUnderAnyLocale) {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "no de_DE.UTF-8 locale";
    const BatchOutput run = Batch(kHeaderLine + "2001,1,62,1000.5,2004,1,2.5,3,5,1400\n");
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(Split(run.out, '\n').at(1).substr(0, 49),
              "2.5000,3.0000,5,1,2001,1000.50,1,2004,1400.00,62,");
}

// A header that cannot be used, or no file: exit 2, nothing on the output.
TEST(BatchRun, UnusableHeaderOrFileIsAUsageError) {
    const std::string tail =
        "early-month,age,early-benefit,later-year,later-month,cola,rate,"
        "years,later-benefit";
    struct Case {
        std::string input;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"", "batch -: the input is empty; its first row must name the columns."},
        {"\n\r\n", "batch -: the input is empty; its first row must name the columns."},
        {std::string(5000, 'x') + "\n" + kHeaderLine,
         "batch -: the header row: the row is longer than 4096 characters."},
        {"\"" + std::string(5000, 'x') + "\n" + kHeaderLine,
         "batch -: the header row: a quote is not closed."},
        {"early-year," + tail + ",client\n",
         "batch -: column 11 of the header, \"client\", is not a calculation input (the columns "
         "are cola, rate, years, early-month, early-year, early-benefit, later-month, "
         "later-year, later-benefit, age)"},
        {"early-year," + tail + ",--early-year\n", "batch -: the header names early-year twice."},
        // What reaches the terminal cannot reorder or control it.
        {"early-year," + tail + ",\xE2\x80\xAE\xC2\x9B" + "31m\n",
         "batch -: column 11 of the header, \"\\u202e\\u009b31m\", is not a calculation input "
         "(the columns are cola, rate, years, early-month, early-year, early-benefit, "
         "later-month, later-year, later-benefit, age)"},
        {tail + "\n", "batch -: the header lacks the column early-year."},
        {"rate,cola\n",
         "batch -: the header lacks the columns years, early-month, early-year, "
         "early-benefit, later-month, later-year, later-benefit, age."},
        {"\"early-year" + tail,
         "batch -: the header row: a quoted field is not closed before "
         "the end of the input."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.substr(0, 40));
        const BatchOutput run = Batch(c.input);
        EXPECT_EQ(run.status, kExitUsage);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err,
                  "velmora-cli: " + c.message + "\nRun 'velmora-cli --help' for the options.\n");
    }

    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(RunBatch({}, in, out, err), kExitUsage);
    EXPECT_EQ(RunBatch({"a.csv", "b.csv"}, in, out, err), kExitUsage);
    EXPECT_EQ(out.str(), "");
}

// The file is read through the file system calls: their failures are the file messages.
TEST(BatchRun, FileFailuresAreReported) {
    class FailingRead : public FileSystem {
      public:
        int Open(const std::string&, int, mode_t) override { return 99; }
        int FileStatus(int, struct stat& st) override {
            st = {};
            st.st_mode = S_IFREG;
            return 0;
        }
        ssize_t Read(int, void*, std::size_t) override {
            errno = EIO;
            return -1;
        }
        int Close(int) override { return 0; }
    } failing;
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(RunBatch({"jobs.csv"}, in, out, err, failing), kExitUsage);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str().substr(0, err.str().find('\n')),
              "velmora-cli: batch jobs.csv: I/O error 5.");

    struct Missing {
        std::string path;
        std::string shown;
    };
    const std::vector<Missing> missing = {
        {"/nonexistent/jobs.csv", "/nonexistent/jobs.csv"},
        {"/nonexistent/\xE2\x80\xAEvsc.exe", "/nonexistent/\\u202evsc.exe"},
        {"/nonexistent/" + std::string(300, 'j'), "/nonexistent/" + std::string(187, 'j') + "..."},
    };
    for (const Missing& m : missing) {
        std::ostringstream out2, err2;
        EXPECT_EQ(RunBatch({m.path}, in, out2, err2), kExitUsage);
        EXPECT_EQ(err2.str().substr(0, err2.str().find('\n')),
                  "velmora-cli: batch " + m.shown + ": File not found.");
    }
}

// A file without line ends (batch /dev/zero) ends at the row cap instead of being read on.
TEST(BatchRun, EndlessHeaderStopsAtTheRowCap) {
    class Zeros : public FileSystem {
      public:
        int Open(const std::string&, int, mode_t) override { return 99; }
        int FileStatus(int, struct stat& st) override {
            st = {};
            st.st_mode = S_IFCHR;
            return 0;
        }
        ssize_t Read(int, void* buffer, std::size_t size) override {
            // Far past any cap, so that reading on is reported instead of running forever.
            if (given >= (1u << 24)) {
                errno = EIO;
                return -1;
            }
            std::memset(buffer, 0, size);
            given += size;
            return static_cast<ssize_t>(size);
        }
        int Close(int) override { return 0; }
        std::size_t given = 0;
    } zeros;
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(RunBatch({"/dev/zero"}, in, out, err, zeros), kExitUsage);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str().substr(0, err.str().find('\n')),
              "velmora-cli: batch /dev/zero: the header row: the row is longer than 4096 "
              "characters.");
}

// velmora-cli batch on pipes, as a program that feeds one row and waits for its answer
// drives it. The time limits only keep a fault from hanging the run.
class PipedBatch {
  public:
    explicit PipedBatch(const std::vector<std::string>& args) {
        std::signal(SIGPIPE, SIG_IGN);
        int input[2], output[2];
        if (pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], 0);
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        std::vector<char*> argv;
        std::string program = VELMORA_CLI;
        argv.push_back(program.data());
        std::vector<std::string> copies = args;
        for (std::string& arg : copies)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        std::string locale = "LC_ALL=C";
        char* environment[] = {locale.data(), nullptr};
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environment) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(input[0]);
        close(output[1]);
        in_ = input[1];
        out_ = output[0];
    }
    PipedBatch(const PipedBatch&) = delete;
    PipedBatch& operator=(const PipedBatch&) = delete;
    ~PipedBatch() {
        CloseInput();
        if (out_ >= 0)
            close(out_);
        if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    bool Started() const { return pid_ > 0; }
    int InputFd() const { return in_; }
    void SetInputFd(int fd) {
        CloseInput();
        in_ = fd;
    }

    bool Write(const std::string& text) const {
        return write(in_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }

    // The next line of the output without its line end, or "(none)" when none came in time.
    std::string ReadLine() {
        for (;;) {
            if (const auto end = read_.find('\n'); end != std::string::npos) {
                std::string line = read_.substr(0, end);
                read_.erase(0, end + 1);
                return line;
            }
            pollfd ready{out_, POLLIN, 0};
            if (poll(&ready, 1, 20000) != 1)
                return "(none)";
            char buffer[4096];
            const ssize_t n = read(out_, buffer, sizeof buffer);
            if (n <= 0)
                return "(none)";
            read_.append(buffer, static_cast<std::size_t>(n));
        }
    }

    void CloseInput() {
        if (in_ >= 0)
            close(in_);
        in_ = -1;
    }

    int Finish() {
        CloseInput();
        int status = 0;
        if (waitpid(pid_, &status, 0) != pid_)
            return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string read_;
};

// Each row's answer comes out before the next row goes in, from the standard input as from
// a named pipe.
TEST(BatchRun, AnswersEachRowBeforeTheNextArrives) {
    char folder[] = "/tmp/velmora-batch-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string fifo = std::string(folder) + "/rows.csv";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& source : {std::string("-"), fifo}) {
        SCOPED_TRACE(source);
        PipedBatch batch({"batch", source});
        ASSERT_TRUE(batch.Started());
        if (source != "-") {
            // Opening blocks until the program opens its end.
            const int fd = open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
            ASSERT_GE(fd, 0);
            batch.SetInputFd(fd);
        }
        ASSERT_TRUE(batch.Write(kHeaderLine + kRow + "\n"));
        ASSERT_EQ(batch.ReadLine().rfind("cola,rate,", 0), 0u);
        ASSERT_EQ(batch.ReadLine(), kRowResult);
        ASSERT_TRUE(batch.Write("2001,1\r\n"));
        EXPECT_EQ(batch.ReadLine(), ",,,,,,,,,,,,,,\"row 3: 2 fields, the header has 10.\"");
        ASSERT_TRUE(batch.Write(kRow + "\n"));
        EXPECT_EQ(batch.ReadLine(), kRowResult);
        EXPECT_EQ(batch.Finish(), kExitFailed);
    }
    unlink(fifo.c_str());
    rmdir(folder);
}

}  // namespace
}  // namespace velmora::cli
