#include "cli/csvreader.h"

#include <cstring>

namespace velmora::cli {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted };

}  // namespace

CsvReader::CsvReader(Source source, std::size_t maxFields, std::size_t maxBytes)
    : source_(std::move(source)),
      maxFields_(maxFields),
      maxBytes_(maxBytes),
      buffer_(kBufferSize) {}

bool CsvReader::Fill() {
    if (atEnd_)
        return false;
    pos_ = 0;
    end_ = source_(buffer_.data(), buffer_.size());
    if (end_ == 0)
        atEnd_ = true;
    return end_ > 0;
}

void CsvReader::Append(CsvRecord& record, char c) {
    if (++bytes_ > maxBytes_) {
        if (record.fault.empty())
            record.fault = "the row is longer than " + std::to_string(maxBytes_) + " characters";
        return;
    }
    if (record.count < maxFields_)
        record.fields[record.count] += c;
}

void CsvReader::EndField(CsvRecord& record) {
    ++record.count;
    if (record.count < maxFields_) {
        if (record.fields.size() <= record.count)
            record.fields.emplace_back();
        record.fields[record.count].clear();
    }
}

bool CsvReader::Next(CsvRecord& record) {
    if (!started_) {
        started_ = true;
        // A pipe may hand the mark over in pieces.
        std::size_t have = 0;
        while (have < 3) {
            const std::size_t n = source_(buffer_.data() + have, buffer_.size() - have);
            if (n == 0) {
                atEnd_ = true;
                break;
            }
            have += n;
        }
        end_ = have;
        pos_ = (have >= 3 && std::memcmp(buffer_.data(), kByteOrderMark, 3) == 0) ? 3 : 0;
    }
    if (pos_ == end_ && !Fill())
        return false;

    record.count = 0;
    record.blank = false;
    record.fault.clear();
    if (record.fields.empty())
        record.fields.emplace_back();
    if (maxFields_ > 0)
        record.fields[0].clear();
    bytes_ = 0;
    bool anything = false;  // a character of the record (not counting its line end)
    State state = State::FieldStart;

    for (;;) {
        if (pos_ == end_ && !Fill())
            break;
        const char c = buffer_[pos_++];
        if (skipLf_) {
            skipLf_ = false;
            if (c == '\n')
                continue;
        }
        const bool lineEnd = c == '\n' || c == '\r';
        if (state == State::Quoted) {
            if (c == '"') {
                state = State::QuoteInQuoted;
            } else {
                Append(record, c);
            }
            anything = true;
            continue;
        }
        if (state == State::QuoteInQuoted) {
            if (c == '"') {
                Append(record, c);
                state = State::Quoted;
                continue;
            }
            if (c != ',' && !lineEnd && record.fault.empty())
                record.fault = "a character follows the closing quote of a field";
        }
        if (lineEnd) {
            skipLf_ = c == '\r';
            record.blank = !anything;
            EndField(record);
            return true;
        }
        anything = true;
        if (c == ',') {
            EndField(record);
            state = State::FieldStart;
        } else if (c == '"' && state == State::FieldStart) {
            state = State::Quoted;
        } else {
            if (c == '"' && record.fault.empty())
                record.fault = "a quote inside a field that does not start with one";
            Append(record, c);
            state = State::Unquoted;
        }
    }
    // The input ends without a line end.
    if (state == State::Quoted && record.fault.empty())
        record.fault = "a quoted field is not closed before the end of the input";
    record.blank = !anything;
    if (record.blank)
        return false;  // nothing after the last line end
    EndField(record);
    return true;
}

}  // namespace velmora::cli
