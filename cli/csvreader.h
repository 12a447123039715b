#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace velmora::cli {

/// One record of a CSV text. The field strings are reused from record to record, so a
/// long run allocates only while records grow.
struct CsvRecord {
    /// The first min(count, the reader's field limit) entries hold the fields.
    std::vector<std::string> fields;
    std::size_t count = 0;  // all fields of the record, also those not kept
    bool blank = false;     // an empty line: no characters at all
    /// Why the record is not well formed (a stray or unclosed quote, too long), or empty.
    std::string fault;
};

/// Reads CSV as RFC 4180 writes it, record by record from a byte source: fields separated by
/// ',', quoted fields with '""' for a quote and line breaks inside, records ended by CRLF, LF
/// or CR. A UTF-8 byte order mark at the start is skipped. Only one record is held at a time.
class CsvReader {
  public:
    /// Fills the buffer with up to size bytes; returns how many, 0 at the end of the input.
    /// A failure is thrown.
    using Source = std::function<std::size_t(char* buffer, std::size_t size)>;

    /// Fields beyond maxFields are counted, not kept; a record longer than maxBytes is
    /// read to its end but kept no further, and marked as faulty.
    CsvReader(Source source, std::size_t maxFields, std::size_t maxBytes);

    /// The next record; false at the end of the input.
    bool Next(CsvRecord& record);

  private:
    bool Fill();
    void Append(CsvRecord& record, char c);
    void EndField(CsvRecord& record);

    Source source_;
    std::size_t maxFields_;
    std::size_t maxBytes_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool started_ = false;
    bool skipLf_ = false;  // the last record ended with a CR; a LF right after belongs to it
    std::size_t bytes_ = 0;
};

}  // namespace velmora::cli
