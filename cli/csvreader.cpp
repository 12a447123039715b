#include "cli/csvreader.h"

#include <cstring>

namespace velmora::cli {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// AfterQuoted: a quoted field was closed and only blanks followed.
enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted, AfterQuoted };

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

}  // namespace

CsvReader::CsvReader(Source source, std::size_t maxFields, std::size_t maxBytes)
    : source_(std::move(source)), maxFields_(maxFields), maxBytes_(maxBytes), buffer_(kBufferSize) {
    raw_.reserve(maxBytes_ + 1);
}

bool CsvReader::Fill() {
    if (atEnd_)
        return false;
    pos_ = 0;
    end_ = source_(buffer_.data(), buffer_.size());
    if (end_ == 0)
        atEnd_ = true;
    return end_ > 0;
}

bool CsvReader::Get(char& c) {
    if (replayPos_ < replay_.size()) {
        c = replay_[replayPos_++];
        return true;
    }
    if (pos_ == end_ && !Fill())
        return false;
    c = buffer_[pos_++];
    return true;
}

// Drops the rest of a line cut at the cap; false when the input ends first.
bool CsvReader::SkipLine() {
    char c;
    while (Get(c)) {
        if (IsLineEnd(c)) {
            skipLf_ = c == '\r';
            return true;
        }
    }
    return false;
}

// The record's bytes from offset on are read again, ahead of what was not read yet.
void CsvReader::ReplayFrom(std::size_t offset, bool afterCr) {
    replay_ = raw_.substr(offset) + replay_.substr(replayPos_);
    replayPos_ = 0;
    skipLf_ = afterCr;
}

void CsvReader::Append(CsvRecord& record, char c) {
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
    if (skipLine_) {
        skipLine_ = false;
        if (!SkipLine())
            return false;
    }

    record.count = 0;
    record.blank = false;
    record.fault.clear();
    if (record.fields.empty())
        record.fields.emplace_back();
    if (maxFields_ > 0)
        record.fields[0].clear();
    raw_.clear();
    bool anything = false;   // a character of the record (not counting its line end)
    bool blanksOnly = true;  // the field so far holds only blanks
    // Just after the first line end inside the quoted field that is open, or npos.
    std::size_t quoteLineEnd = std::string::npos;
    bool quoteLineEndCr = false;
    State state = State::FieldStart;

    char c;
    for (;;) {
        if (!Get(c))
            break;
        if (skipLf_) {
            skipLf_ = false;
            if (c == '\n')
                continue;
        }
        const bool lineEnd = IsLineEnd(c);
        if (!lineEnd || state == State::Quoted) {
            raw_ += c;
            if (raw_.size() > maxBytes_) {
                // Cut here: the rest of the record is not looked at.
                if (state == State::Quoted) {
                    record.fault = "a quote is not closed";
                    if (quoteLineEnd != std::string::npos) {
                        ReplayFrom(quoteLineEnd, quoteLineEndCr);
                    } else {
                        skipLine_ = true;
                    }
                } else {
                    if (record.fault.empty())
                        record.fault =
                            "the row is longer than " + std::to_string(maxBytes_) + " characters";
                    skipLine_ = true;
                }
                EndField(record);
                return true;
            }
        }
        if (state == State::Quoted) {
            if (c == '"') {
                state = State::QuoteInQuoted;
            } else {
                if (lineEnd && quoteLineEnd == std::string::npos) {
                    quoteLineEnd = raw_.size();
                    quoteLineEndCr = c == '\r';
                }
                Append(record, c);
            }
            anything = true;
            continue;
        }
        if (state == State::QuoteInQuoted && c == '"') {
            Append(record, c);
            state = State::Quoted;
            continue;
        }
        if (state == State::QuoteInQuoted || state == State::AfterQuoted) {
            if (IsBlank(c)) {
                state = State::AfterQuoted;
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
            blanksOnly = true;
        } else if (c == '"' &&
                   (state == State::FieldStart || (state == State::Unquoted && blanksOnly))) {
            // Blanks before the opening quote are not part of the value.
            if (record.count < maxFields_)
                record.fields[record.count].clear();
            state = State::Quoted;
            quoteLineEnd = std::string::npos;
        } else {
            if (c == '"' && record.fault.empty())
                record.fault = "a quote inside a field that does not start with one";
            blanksOnly = blanksOnly && IsBlank(c);
            Append(record, c);
            state = State::Unquoted;
        }
    }
    // The input ends without a line end.
    if (state == State::Quoted) {
        if (quoteLineEnd != std::string::npos) {
            record.fault = "a quote is not closed";
            ReplayFrom(quoteLineEnd, quoteLineEndCr);
        } else if (record.fault.empty()) {
            record.fault = "a quoted field is not closed before the end of the input";
        }
    }
    record.blank = !anything;
    if (record.blank)
        return false;  // nothing after the last line end
    EndField(record);
    return true;
}

}  // namespace velmora::cli
