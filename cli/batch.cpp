#include "cli/batch.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string_view>

#include "cli/csvreader.h"
#include "cli/echo.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/run.h"
#include "engine/money.h"
#include "engine/moneytext.h"
#include "engine/schedule.h"
#include "scenario/fileerror.h"

namespace velmora::cli {

namespace {

constexpr std::size_t kCalculationInputs = 10;
// A row of ten numbers is short; a longer one is a wrong file, not a scenario.
constexpr std::size_t kMaxRowBytes = 4096;
// More fields than this are only counted.
constexpr std::size_t kMaxFields = 64;

// The result columns after the inputs.
constexpr std::array<const char*, 5> kResultTitles = {"break-even-year", "early-pv-cumulative",
                                                      "later-pv-cumulative", "difference", "error"};

std::string ColumnName(const ScenarioInput& input) {
    return std::string(input.option.substr(2));  // the option without its dashes
}

// A cell without the blanks at both ends, which hand-written files put after the commas.
std::string_view Trimmed(std::string_view cell) {
    const auto first = cell.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return cell.substr(first, cell.find_last_not_of(" \t") - first + 1);
}

// A header cell as a column name: blanks at both ends, leading dashes and case do not matter.
std::string HeaderName(const std::string& cell) {
    std::string name(Trimmed(cell));
    if (name.rfind("--", 0) == 0)
        name.erase(0, 2);
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

std::string ColumnList() {
    std::string list;
    for (const ScenarioInput& input : kScenarioInputs) {
        if (!input.IsNumeric())
            continue;
        list += (list.empty() ? "" : ", ") + ColumnName(input);
    }
    return list;
}

// The column names as the help shows them: indented lines within 80 characters.
std::string WrappedColumnList() {
    std::string text;
    std::string line = " ";
    for (const ScenarioInput& input : kScenarioInputs) {
        if (!input.IsNumeric())
            continue;
        const std::string_view name = input.option.substr(2);
        if (line.size() > 1)
            line.append(",");
        if (line.size() + name.size() + 1 > 80) {
            text.append(line).append("\n");
            line.resize(1);  // the indent
        }
        line.append(" ").append(name);
    }
    return text.append(line).append("\n");
}

// The input of each column, in the header's order.
struct Columns {
    std::vector<std::size_t> input;  // index into kScenarioInputs
};

// Reads the header into the columns; returns the refusal, or an empty text.
std::string ReadHeader(const CsvRecord& header, Columns& columns) {
    if (!header.fault.empty())
        return "the header row: " + header.fault;
    if (header.count > kMaxFields)
        return "the header row has " + std::to_string(header.count) + " columns, not " +
               std::to_string(kCalculationInputs);
    std::array<bool, kInputCount> seen{};
    for (std::size_t c = 0; c < header.count; ++c) {
        const std::string name = HeaderName(header.fields[c]);
        std::size_t found = kInputCount;
        for (std::size_t i = 0; i < kInputCount; ++i) {
            if (kScenarioInputs[i].IsNumeric() && ColumnName(kScenarioInputs[i]) == name)
                found = i;
        }
        if (found == kInputCount) {
            return "column " + std::to_string(c + 1) + " of the header, \"" +
                   Echoed(header.fields[c]) + "\", is not a calculation input (the columns are " +
                   ColumnList() + ")";
        }
        if (seen[found])
            return "the header names " + name + " twice";
        seen[found] = true;
        columns.input.push_back(found);
    }
    std::string missing;
    for (std::size_t i = 0; i < kInputCount; ++i) {
        if (kScenarioInputs[i].IsNumeric() && !seen[i])
            missing += (missing.empty() ? "" : ", ") + ColumnName(kScenarioInputs[i]);
    }
    if (!missing.empty())
        return "the header lacks the column" +
               std::string(missing.find(',') == std::string::npos ? " " : "s ") + missing;
    return {};
}

void AppendCsv(std::string& line, const std::string& text) {
    line += CsvField(text);
}

// A value as the calculation took it, in the text the options take: plain digits and '.'
// with the field's decimals, so that the output can be read back.
void AppendValue(std::string& line, const ScenarioInput& input, const TScenarioRec& rec) {
    char text[64];
    if (input.kind == InputKind::Integer) {
        const auto result = std::to_chars(text, text + sizeof text, rec.*input.integer);
        line.append(text, result.ptr);
        return;
    }
    const int decimals = NumericMask(input.mask, EntryFormat{}).Decimals();
    // to_chars: the decimal point stays '.' whatever the locale's numbers use.
    const auto result = std::to_chars(text, text + sizeof text, rec.*input.real,
                                      std::chars_format::fixed, decimals);
    line.append(text, result.ptr);
}

// Opens the batch file; "-" reads the stream given, and the process's standard input by its
// descriptor, as a file is read: a read returns what a pipe holds at once, and a file comes
// in large pieces. Before a read that may wait for more input the output is flushed, so that
// a program that feeds a row through a pipe gets its answer before it writes the next, while
// the answers to a file go out in large pieces too.
class BatchSource {
  public:
    BatchSource(std::istream& in, std::ostream& out, FileSystem& fs)
        : in_(in), out_(out), fs_(fs) {}
    BatchSource(const BatchSource&) = delete;
    BatchSource& operator=(const BatchSource&) = delete;
    ~BatchSource() {
        if (fd_ >= 0 && fd_ != STDIN_FILENO)
            fs_.Close(fd_);
    }

    void Open(const std::string& path) {
        if (path == "-") {
            // Nothing has read the standard input through the stream, which holds nothing.
            if (&in_ == &std::cin)
                fd_ = STDIN_FILENO;
            return;
        }
        fd_ = fs_.Open(path, O_RDONLY | O_CLOEXEC, 0);
        if (fd_ < 0)
            throw FileErrorFromErrno(errno, FileStep::Open);
        struct stat st {};
        if (fs_.FileStatus(fd_, st) != 0)
            throw FileErrorFromErrno(errno, FileStep::Open);
        if (S_ISDIR(st.st_mode))
            throw FileError(FileError::Cause::NotFound);
    }

    std::size_t Read(char* buffer, std::size_t size) {
        if (fd_ < 0)
            return ReadStream(buffer, size);
        out_.flush();
        for (;;) {
            const ssize_t n = fs_.Read(fd_, buffer, size);
            if (n >= 0)
                return static_cast<std::size_t>(n);
            if (errno != EINTR)
                throw FileErrorFromErrno(errno, FileStep::Read);
        }
    }

  private:
    std::size_t ReadStream(char* buffer, std::size_t size) {
        // What the stream holds already is taken without waiting.
        const std::streamsize held = in_.readsome(buffer, static_cast<std::streamsize>(size));
        if (held > 0)
            return static_cast<std::size_t>(held);
        // Nothing held (a stream over a pipe or a terminal): wait for one line at most.
        out_.flush();
        std::size_t n = 0;
        char c;
        while (n < size && in_.get(c)) {
            buffer[n++] = c;
            if (c == '\n' || c == '\r')
                break;
        }
        if (n == 0 && in_.bad())
            throw FileError(FileError::Cause::Other, EIO);
        return n;
    }

    std::istream& in_;
    std::ostream& out_;
    FileSystem& fs_;
    int fd_ = -1;
};

class BatchRun {
  public:
    BatchRun(std::ostream& out, std::ostream& err) : out_(out), err_(err), table_() {
        // A batch row reads the last row only: the schedule makes no other money texts.
        table_.cells.SetKeep(ResultCells::Keep::YearsAndLastRow);
        AddInputOptions(optionTable_);
        for (const OptionDef& option : optionTable_.Options()) {
            for (std::size_t i = 0; i < kInputCount; ++i) {
                if (option.name == kScenarioInputs[i].option)
                    inputOptions_[i] = &option;
            }
        }
    }

    void WriteHeader() {
        line_.clear();
        for (const std::size_t i : CanonicalOrder())
            line_ += ColumnName(kScenarioInputs[i]) + ",";
        for (std::size_t t = 0; t < kResultTitles.size(); ++t)
            line_ += std::string(kResultTitles[t]) + (t + 1 < kResultTitles.size() ? "," : "\n");
        out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
    }

    // Calculates one row and writes its output row; false when the row failed.
    bool Row(const CsvRecord& record, std::size_t rowNumber, const Columns& columns) {
        if (!record.fault.empty())
            return Fail(rowNumber, record.fault, false);
        if (record.count != columns.input.size()) {
            return Fail(rowNumber,
                        std::to_string(record.count) + (record.count == 1 ? " field" : " fields") +
                            ", the header has " + std::to_string(columns.input.size()),
                        false);
        }
        // Each value goes through its option, as if given on the command line.
        options_.given = {};
        for (std::size_t c = 0; c < columns.input.size(); ++c) {
            const OptionDef& option = *inputOptions_[columns.input[c]];
            value_ = Trimmed(record.fields[c]);
            const std::string refusal = option.apply(options_, value_);
            if (!refusal.empty())
                return Fail(rowNumber, option.name.substr(2) + ": " + refusal, false);
        }
        std::string missing;
        const std::optional<ScheduleInputs> inputs = ResolveInputs(options_, missing);
        if (!inputs)
            return Fail(rowNumber, missing, false);
        try {
            BuildSchedule(*inputs, table_);
        } catch (const ArithmeticError& e) {
            SetArithmeticContext();
            return Fail(rowNumber, e.what(), true);
        }

        line_.clear();
        AppendInputs();
        if (table_.BreakEvenFound)
            AppendCsv(line_, table_.BreakEvenYear);
        const int last = table_.cells.RowCount() - 1;
        for (const int column : {grdEarlyPvCumulative, grdLaterPvCumulative, grdDifference}) {
            line_ += ',';
            if (last > 0)
                AppendCsv(line_, table_.cells.GetCellText(column, last));
        }
        line_ += ",\n";
        out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
        return true;
    }

  private:
    // The output's input columns: the inputs table's order, whatever the header's.
    static const std::vector<std::size_t>& CanonicalOrder() {
        static const std::vector<std::size_t> order = [] {
            std::vector<std::size_t> o;
            for (std::size_t i = 0; i < kInputCount; ++i) {
                if (kScenarioInputs[i].IsNumeric())
                    o.push_back(i);
            }
            return o;
        }();
        return order;
    }

    void AppendInputs() {
        for (const std::size_t i : CanonicalOrder()) {
            AppendValue(line_, kScenarioInputs[i], options_.scenario);
            line_ += ',';
        }
    }

    // The reason on the error stream and in the row's error column; the inputs are shown
    // when every one of them was taken.
    bool Fail(std::size_t rowNumber, const std::string& reason, bool inputsTaken) {
        const std::string message =
            EscapeControls(WithFullStop("row " + std::to_string(rowNumber) + ": " + reason));
        err_ << "velmora-cli: " << message << "\n";
        line_.clear();
        if (inputsTaken) {
            AppendInputs();
        } else {
            line_.append(CanonicalOrder().size(), ',');
        }
        line_ += ",,,,";
        AppendCsv(line_, message);
        line_ += '\n';
        out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
        return false;
    }

    std::ostream& out_;
    std::ostream& err_;
    OptionTable optionTable_;
    std::array<const OptionDef*, kInputCount> inputOptions_{};
    CliOptions options_;
    TResultTable table_;
    std::string line_;
    std::string value_;
};

int Refuse(std::ostream& err, const std::string& message) {
    err << "velmora-cli: " << EscapeControls(WithFullStop(message)) << "\n"
        << "Run 'velmora-cli --help' for the options.\n";
    return kExitUsage;
}

}  // namespace

int RunBatch(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err, FileSystem& fs) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << BatchHelpText("velmora-cli");
        out.flush();
        return out ? kExitOk : kExitFailed;
    }
    if (args.size() != 1)
        return Refuse(err, "batch takes one file name (- for the standard input)");
    const std::string& path = args[0];
    // A file name is shown as the other options show theirs.
    const std::string prefix = "batch " + Echoed(path, 200) + ": ";

    BatchSource source(in, out, fs);
    CsvRecord record;
    Columns columns;
    try {
        source.Open(path);
        CsvReader reader(
            [&source](char* buffer, std::size_t size) { return source.Read(buffer, size); },
            kMaxFields, kMaxRowBytes);
        // Rows are numbered as a spreadsheet numbers them, empty lines included: the header
        // is row 1 unless empty lines come before it.
        std::size_t row = 1;
        bool more = reader.Next(record);
        for (; more && record.blank; ++row)
            more = reader.Next(record);
        if (!more)
            return Refuse(err, prefix + "the input is empty; its first row must name the columns");
        if (std::string refusal = ReadHeader(record, columns); !refusal.empty())
            return Refuse(err, prefix + refusal);

        BatchRun run(out, err);
        run.WriteHeader();
        bool failed = false;
        for (++row; reader.Next(record) && out; ++row) {
            if (record.blank)
                continue;
            failed |= !run.Row(record, row, columns);
        }
        out.flush();
        if (!out) {
            err << "velmora-cli: " << WithFullStop("the output could not be written") << "\n";
            return kExitFailed;
        }
        return failed ? kExitFailed : kExitOk;
    } catch (const FileError& e) {
        // Before the header nothing was written: a usage error. Later the output is cut short.
        out.flush();
        if (columns.input.empty())
            return Refuse(err, prefix + e.what());
        err << "velmora-cli: " << EscapeControls(WithFullStop(prefix + e.what())) << "\n";
        return kExitFailed;
    }
}

std::string BatchHelpText(const std::string& program) {
    return "\nBatch runs: " + program + " batch FILE.csv (- reads the standard input)\n" +
           R"(Calculates one scenario per row of a CSV file (RFC 4180: commas, quoted fields,
CRLF or LF line ends) and writes the results as CSV. The first row names the ten
columns, in any order, by the option names with or without their dashes:
)" + WrappedColumnList() +
           R"(Each value is read exactly as its option reads it; blanks around it do not count.
A row may hold at most 4096 characters; a longer one, or one whose quote is not
closed, is refused and reading goes on at the next line. Each output row is written
as soon as its input row is read. The output has one row for each row of the file,
in order (empty lines are skipped): the inputs as the calculation took them (in the
order above), break-even-year (empty when not reached), the last
year's early-pv-cumulative, later-pv-cumulative and difference as the table shows
them, and error. A row that cannot be calculated keeps its place: its reason, after
its row number (the header is row 1, as a spreadsheet counts), goes to error and to
the standard error, its results stay empty, and its inputs are shown only when every
value was taken; the other rows go on. Exit status: 0 when every row was calculated,
1 when a row failed, 2 when the file or its header cannot be used.
)";
}

std::string EscapeControls(const std::string& text) {
    std::string safe;
    safe.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\t') {
            safe += "\\t";
        } else if (c == '\n') {
            safe += "\\n";
        } else if (c == '\r') {
            safe += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            safe += hex;
        } else {
            safe += c;
        }
    }
    return safe;
}

}  // namespace velmora::cli
