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
/// or CR. Blanks (spaces, tabs) between a separator and a quote are allowed and dropped; in
/// an unquoted field they are kept. A UTF-8 byte order mark at the start is skipped. Only one
/// record is held at a time.
class CsvReader {
  public:
    /// Fills the buffer with up to size bytes; returns how many, 0 at the end of the input.
    /// A failure is thrown.
    using Source = std::function<std::size_t(char* buffer, std::size_t size)>;

    /// Fields beyond maxFields are counted, not kept. A record may not run past maxBytes
    /// bytes (its line end not counted): as soon as it does it is returned, marked as faulty,
    /// and the next record starts after the end of its line. When a quote left open is what
    /// carried it on (past maxBytes, or to the end of the input across a line end), the next
    /// record starts on the line after the one where that quote was opened, so that one
    /// missing quote costs one row.
    CsvReader(Source source, std::size_t maxFields, std::size_t maxBytes);

    /// The next record; false at the end of the input.
    bool Next(CsvRecord& record);

  private:
    bool Get(char& c);
    bool Fill();
    bool SkipLine();
    void Append(CsvRecord& record, char c);
    void EndField(CsvRecord& record);
    void ReplayFrom(std::size_t offset, bool afterCr);

    Source source_;
    std::size_t maxFields_;
    std::size_t maxBytes_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool started_ = false;
    bool skipLf_ = false;    // the last record ended with a CR; a LF right after belongs to it
    bool skipLine_ = false;  // the last record was cut at the cap; the rest of its line goes
    std::string raw_;        // the bytes of the record being read, up to maxBytes + 1
    std::string replay_;     // bytes read once that are to be read again, before the source's
    std::size_t replayPos_ = 0;
};

}  // namespace velmora::cli
