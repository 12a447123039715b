#pragma once

#include <string>
#include <vector>

namespace velmora::planner {

enum class Sex { Female, Male };

/// A period life table: of 100,000 born alive, the survivors l(x) at each exact whole
/// age x from 0, for each sex. Between whole ages l is taken as linear; beyond the last
/// age it falls linearly to 0 within one year.
class LifeTable {
  public:
    /// Reads "age,male_lx,female_lx" rows (lines starting with '#' and the header line
    /// are skipped). Ages must run 0, 1, 2, ... and l must never grow; throws
    /// std::invalid_argument naming the line otherwise.
    static LifeTable FromCsv(const std::string& text, std::string edition);
    /// The table shipped with the program (data/ssa-period-life-table-2022.csv).
    static const LifeTable& Shipped();

    /// Which table this is, for output ("... period life table 2022 ...").
    const std::string& Edition() const { return edition_; }
    int LastAge() const { return static_cast<int>(male_.size()) - 1; }
    /// l(x) at a whole age of the table.
    long double Survivors(Sex sex, int age) const;
    /// l(x) at any age, interpolated linearly between whole ages; before 0 it is l(0).
    long double SurvivorsAt(Sex sex, long double age) const;
    /// The chance that someone of exact age `from` is alive at age `to`: l(to) / l(from),
    /// at most 1 (a date not after `from` is certain). 0 when l(from) is 0.
    long double SurvivalChance(Sex sex, long double from, long double to) const;
    /// Remaining life expectancy at a whole age: the area under the interpolated l from
    /// that age on, over l(age), so each year of age counts (l(x) + l(x+1)) / 2.
    long double RemainingLife(Sex sex, int age) const;

  private:
    const std::vector<long double>& Column(Sex sex) const {
        return sex == Sex::Male ? male_ : female_;
    }
    std::string edition_;
    std::vector<long double> male_;
    std::vector<long double> female_;
};

}  // namespace velmora::planner
