#include "planner/mortality.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "planner/cohort_data.h"
#include "planner/tablenumbers.h"

namespace velmora::planner {

namespace {

// "0.012345" or "1": a chance written with a decimal point, read exactly as decimal digits.
bool ReadChance(const std::string& text, long double& value) {
    if (text.empty() || text.size() > 12)
        return false;
    long whole = 0;
    long fraction = 0;
    long scale = 1;
    bool point = false;
    for (char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (point) {
                fraction = fraction * 10 + (c - '0');
                scale *= 10;
            } else {
                whole = whole * 10 + (c - '0');
            }
        } else {
            return false;
        }
    }
    value = static_cast<long double>(whole) +
            static_cast<long double>(fraction) / static_cast<long double>(scale);
    return value <= 1;
}

// l(x) from q(x) with the factor: l(0) = 1, l(x + 1) = l(x) (1 - min(1, factor q(x))).
std::vector<long double> FromQ(const std::vector<long double>& q, long double factor) {
    std::vector<long double> l(q.size() + 1, 0);
    l[0] = 1;
    for (std::size_t x = 0; x < q.size(); ++x)
        l[x + 1] = l[x] * (1 - std::min<long double>(1, factor * q[x]));
    return l;
}

}  // namespace

CohortLifeTables CohortLifeTables::FromCsv(const std::string& text, std::string edition) {
    CohortLifeTables tables;
    tables.edition_ = std::move(edition);
    bool headerSeen = false;
    int expectedAge = 0;
    ForEachTableLine(text, [&](int lineNumber, const std::string& line) {
        const auto where = "cohort life table line " + std::to_string(lineNumber) + ": ";
        if (!headerSeen) {
            if (line != "birth_year,age,male_qx,female_qx")
                throw std::invalid_argument(where +
                                            "expected the header birth_year,age,male_qx,female_qx");
            headerSeen = true;
            return;
        }
        std::istringstream fields(line);
        std::string yearText, ageText, maleText, femaleText, extra;
        long year = 0, age = 0;
        long double male = 0, female = 0;
        const bool ok = std::getline(fields, yearText, ',') && std::getline(fields, ageText, ',') &&
                        std::getline(fields, maleText, ',') &&
                        std::getline(fields, femaleText, ',') && !std::getline(fields, extra) &&
                        ReadWhole(yearText, year) && ReadWhole(ageText, age) &&
                        ReadChance(maleText, male) && ReadChance(femaleText, female);
        if (!ok) {
            throw std::invalid_argument(where +
                                        "expected a year, an age and two chances between 0 and 1");
        }
        if (tables.male_.empty()) {
            tables.firstYear_ = static_cast<int>(year);
        }
        const long index = year - tables.firstYear_;
        if (age == 0) {
            if (index != static_cast<long>(tables.male_.size()))
                throw std::invalid_argument(where + "years of birth must run without gaps");
            if (!tables.male_.empty() && expectedAge != tables.lastAge_ + 1)
                throw std::invalid_argument(where + "every year of birth needs the same ages");
            tables.male_.emplace_back();
            tables.female_.emplace_back();
            expectedAge = 0;
        }
        if (tables.male_.empty() || index != static_cast<long>(tables.male_.size()) - 1 ||
            age != expectedAge)
            throw std::invalid_argument(where + "ages must run 0, 1, 2, ... without gaps");
        tables.male_.back().push_back(male);
        tables.female_.back().push_back(female);
        ++expectedAge;
        if (tables.male_.size() == 1)
            tables.lastAge_ = expectedAge - 1;
    });
    if (tables.male_.empty())
        throw std::invalid_argument("cohort life table: no rows");
    if (expectedAge != tables.lastAge_ + 1)
        throw std::invalid_argument("cohort life table: every year of birth needs the same ages");
    return tables;
}

const CohortLifeTables& CohortLifeTables::Shipped() {
    static const CohortLifeTables tables = FromCsv(kShippedCohortCsv, kShippedCohortEdition);
    return tables;
}

long double CohortLifeTables::Q(Sex sex, int yearOfBirth, int age) const {
    const auto& columns = sex == Sex::Male ? male_ : female_;
    const int year = std::clamp(yearOfBirth, FirstYear(), LastYear());
    const auto& q = columns[static_cast<std::size_t>(year - firstYear_)];
    return q[static_cast<std::size_t>(std::clamp(age, 0, lastAge_))];
}

std::vector<long double> SurvivorsOf(const PersonInputs& person, MortalityKind kind,
                                     const LifeTable& period, const CohortLifeTables& cohort) {
    std::vector<long double> q;
    if (kind == MortalityKind::Cohort) {
        for (int x = 0; x <= cohort.LastAge(); ++x)
            q.push_back(cohort.Q(person.sex, person.born.year, x));
    } else {
        // The period table holds l(x); its q(x) are the ratios, 1 where nobody is left.
        for (int x = 0; x <= period.LastAge(); ++x) {
            const long double lx = period.Survivors(person.sex, x);
            q.push_back(lx > 0 ? 1 - period.Survivors(person.sex, x + 1) / lx : 1);
        }
    }
    return FromQ(q, person.mortalityFactor);
}

std::vector<long double> MonthlySurvival(const PersonInputs& person, Month asOf, MortalityKind kind,
                                         const LifeTable& period, const CohortLifeTables& cohort) {
    const std::vector<long double> l = SurvivorsOf(person, kind, period, cohort);
    const AgeRules age(person.born);
    const auto lAt = [&](long double x) -> long double {
        if (!(x > 0))
            return l.front();
        const long double whole = std::floor(x);
        const auto i = static_cast<std::size_t>(whole);
        if (i + 1 >= l.size())
            return i + 1 == l.size() && x == whole ? l.back() : 0;
        return l[i] + (l[i + 1] - l[i]) * (x - whole);
    };
    const auto ageAtStartOf = [&](Month m) {
        return age.AgeOn(Date{m.Year(), m.MonthOfYear(), 1});
    };
    const long double start = lAt(ageAtStartOf(asOf));
    std::vector<long double> alive;
    if (!(start > 0))
        return alive;
    for (Month m = asOf;; ++m.index) {
        const long double chance = lAt(ageAtStartOf(Month{m.index + 1})) / start;
        alive.push_back(chance);
        if (!(chance > 0))
            break;
    }
    return alive;
}

std::string MortalityEdition(MortalityKind kind, const LifeTable& period,
                             const CohortLifeTables& cohort) {
    return kind == MortalityKind::Cohort ? cohort.Edition() : period.Edition();
}

}  // namespace velmora::planner
