#include "planner/lifetable.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

#include "planner/lifetable_data.h"
#include "planner/tablenumbers.h"

namespace velmora::planner {

LifeTable LifeTable::FromCsv(const std::string& text, std::string edition) {
    LifeTable table;
    table.edition_ = std::move(edition);
    bool headerSeen = false;
    ForEachTableLine(text, [&](int lineNumber, const std::string& line) {
        if (!headerSeen) {
            if (line != "age,male_lx,female_lx") {
                throw std::invalid_argument("life table line " + std::to_string(lineNumber) +
                                            ": expected the header age,male_lx,female_lx");
            }
            headerSeen = true;
            return;
        }
        std::istringstream fields(line);
        std::string ageText, maleText, femaleText, extra;
        long age = 0, male = 0, female = 0;
        const bool ok = std::getline(fields, ageText, ',') && std::getline(fields, maleText, ',') &&
                        std::getline(fields, femaleText, ',') && !std::getline(fields, extra) &&
                        ReadWhole(ageText, age) && ReadWhole(maleText, male) &&
                        ReadWhole(femaleText, female);
        const auto where = "life table line " + std::to_string(lineNumber) + ": ";
        if (!ok)
            throw std::invalid_argument(where + "expected three whole numbers");
        if (age != static_cast<long>(table.male_.size()))
            throw std::invalid_argument(where + "ages must run 0, 1, 2, ... without gaps");
        if (!table.male_.empty() && (male > table.male_.back() || female > table.female_.back())) {
            throw std::invalid_argument(where + "the number of survivors grows");
        }
        table.male_.push_back(static_cast<long double>(male));
        table.female_.push_back(static_cast<long double>(female));
    });
    if (table.male_.empty() || table.male_[0] <= 0 || table.female_[0] <= 0)
        throw std::invalid_argument("life table: no survivors at age 0");
    return table;
}

const LifeTable& LifeTable::Shipped() {
    static const LifeTable table = FromCsv(kShippedLifeTableCsv, kShippedLifeTableEdition);
    return table;
}

long double LifeTable::Survivors(Sex sex, int age) const {
    const auto& l = Column(sex);
    if (age < 0)
        return l.front();
    if (age >= static_cast<int>(l.size()))
        return 0;
    return l[static_cast<std::size_t>(age)];
}

long double LifeTable::SurvivorsAt(Sex sex, long double age) const {
    if (!(age > 0))
        return Column(sex).front();
    const long double whole = std::floor(age);
    if (whole > static_cast<long double>(LastAge()))
        return 0;
    const int x = static_cast<int>(whole);
    const long double part = age - whole;
    const long double lx = Survivors(sex, x);
    return lx + (Survivors(sex, x + 1) - lx) * part;
}

long double LifeTable::SurvivalChance(Sex sex, long double from, long double to) const {
    if (to <= from)
        return 1;
    const long double start = SurvivorsAt(sex, from);
    if (start <= 0)
        return 0;
    return SurvivorsAt(sex, to) / start;
}

long double LifeTable::RemainingLife(Sex sex, int age) const {
    const long double start = Survivors(sex, age);
    if (start <= 0)
        return 0;
    long double area = 0;
    for (int x = age; x <= LastAge(); ++x)
        area += (Survivors(sex, x) + Survivors(sex, x + 1)) / 2;
    return area / start;
}

}  // namespace velmora::planner
