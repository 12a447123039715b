#pragma once

// A client's earnings record: the Social Security earnings of each year, as a CSV file
// ("year,earnings") or as the earnings table of an SSA statement pasted as text:
//
//   Work Year   Earnings Taxed for Social Security   Earnings Taxed for Medicare
//   2023        $61,250                              $61,250
//   2024        $64,000                              $64,000
//   2025        Not yet recorded

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::planner {

/// A record that cannot be read; what() names the line.
class EarningsError : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

/// One year of the record.
struct EarningsYear {
    int year = 0;
    std::int64_t cents = 0;
    friend bool operator==(const EarningsYear&, const EarningsYear&) = default;
};

/// The years in order, each once.
struct EarningsRecord {
    std::vector<EarningsYear> years;
    friend bool operator==(const EarningsRecord&, const EarningsRecord&) = default;
};

/// The first year of Social Security earnings.
inline constexpr int kFirstEarningsYear = 1937;
/// The largest amount a year may have: $999,999,999.99.
inline constexpr std::int64_t kMostEarningsCents = 99999999999;

/// Reads either form, or both mixed, line by line. A CSV line is "year,amount" (the
/// amount may be quoted); a statement line is the year, the taxed Social Security
/// earnings and optionally the taxed Medicare earnings, apart by spaces or tabs; amounts
/// with or without '$' and group marks. Empty lines, '#' lines, a CSV header as the first
/// line, the text lines of a pasted statement and its "Not yet recorded" years are
/// skipped. A year given twice, a negative amount, a year before 1937 or after 2100, a
/// range of years and any other line are refused with EarningsError naming the line.
EarningsRecord ReadEarningsRecord(const std::string& text);

/// An amount as the record writes it ("$64,000", "64000.50"); nullopt when it is not
/// one, is negative or is larger than kMostEarningsCents.
std::optional<std::int64_t> EarningsAmountCents(const std::string& text);

/// The record as CSV ("year,earnings" then "2024,64000.00" lines), which reads back to it.
std::string EarningsRecordCsv(const EarningsRecord& record);

}  // namespace velmora::planner
