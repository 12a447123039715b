#pragma once

// SSA's yearly program figures (average wage index, COLA, taxable maximum) and their
// continuation past the last published year.
//
// Amounts are exact integers: the wage index in cents, the taxable maximum in dollars,
// percentages (COLA, wage growth) in millionths (2.8 % is 28,000), so each rounding SSA
// prescribes is done on integers.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::planner {

/// A program data file that cannot be used; what() names the line and the reason.
class ProgramDataError : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

/// One year's figures as published; a figure not published is empty.
struct ProgramYear {
    int year = 0;
    std::optional<std::int64_t> awiCents;
    /// The COLA effective for December of the year (June for 1975-1982), in millionths.
    std::optional<std::int64_t> colaMillionths;
    std::optional<std::int64_t> taxableMaximumDollars;
};

/// The published figures, one row per year from 1937 without gaps.
class ProgramData {
  public:
    /// Reads "year,awi,cola_percent,taxable_maximum" rows ('#' lines skipped, the header
    /// required). Throws ProgramDataError naming the line.
    static ProgramData FromCsv(const std::string& text, std::string source);
    /// Reads a file; the source is its path. Throws ProgramDataError.
    static ProgramData FromFile(const std::string& path);
    /// The figures built into the program (data/ssa-wage-index-cola-taxable-maximum.csv).
    static const ProgramData& Shipped();

    const std::string& Source() const { return source_; }
    int FirstYear() const { return years_.front().year; }
    int LastYear() const { return years_.back().year; }
    /// The year's row, or nullptr outside the file's years.
    const ProgramYear* Find(int year) const;
    /// The last year with a published wage index.
    int LastAwiYear() const { return lastAwiYear_; }
    /// The mean yearly growth of the wage index over the last ten published years
    /// (compound), in millionths rounded to the nearest hundredth of a percent.
    std::int64_t DefaultWageGrowth() const;

  private:
    std::string source_;
    std::vector<ProgramYear> years_;
    int lastAwiYear_ = 0;
};

/// A year's figures once the missing ones are projected.
struct SeriesYear {
    int year = 0;
    std::int64_t awiCents = 0;  // 0 before 1951, which has no wage index
    bool awiProjected = false;
    std::int64_t colaMillionths = 0;
    bool colaProjected = false;
    std::int64_t taxableMaximumDollars = 0;
    bool taxableMaximumProjected = false;
    /// The earnings that give one credit (quarter of coverage), from 1978; 0 before.
    std::int64_t quarterOfCoverageDollars = 0;
};

/// The published figures continued to a later year: the wage index grows by the
/// assumed wage growth, a missing COLA is the plan's COLA, a missing taxable maximum is
/// derived from the wage index as the law derives it.
class ProgramSeries {
  public:
    /// Throws ProgramDataError when the data end before 1978 or the growth is out of range.
    ProgramSeries(const ProgramData& data, int throughYear, std::int64_t wageGrowthMillionths,
                  std::int64_t colaMillionths);
    int FirstYear() const { return first_; }
    int LastYear() const { return first_ + static_cast<int>(years_.size()) - 1; }
    /// The year's figures; throws std::out_of_range outside FirstYear..LastYear.
    const SeriesYear& At(int year) const;

  private:
    int first_ = 0;
    std::vector<SeriesYear> years_;
};

/// The wage growth a user may assume, in millionths: -10 % to 15 %.
inline constexpr std::int64_t kLeastWageGrowth = -100000;
inline constexpr std::int64_t kMostWageGrowth = 150000;

/// a * b / c rounded to the nearest integer, halves up (all non-negative, c > 0).
std::int64_t MulDivNearest(std::int64_t a, std::int64_t b, std::int64_t c);
/// a * b / c rounded down (all non-negative, c > 0).
std::int64_t MulDivFloor(std::int64_t a, std::int64_t b, std::int64_t c);

/// "2.80" from millionths: the percentage with two decimals, rounded half away from 0.
std::string PercentText(std::int64_t millionths);

}  // namespace velmora::planner
