#include "planner/programdata.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "planner/programdata_data.h"
#include "planner/tablenumbers.h"

namespace velmora::planner {

namespace {

constexpr int kFirstYear = 1937;
constexpr int kLastYear = 2100;
constexpr std::int64_t kMillion = 1000000;

// The law's bases: the quarter of coverage was $250 in 1978 and moves with the wage index
// from 1976; the taxable maximum was $60,600 in 1994 and moves with the index from 1992.
constexpr std::int64_t kQuarterOfCoverage1978 = 250;
constexpr std::int64_t kTaxableMaximum1994 = 60600;

// Products of two amounts can pass 64 bits.
__extension__ typedef __int128 Wide;

// A decimal with at most `decimals` places, not negative, as a whole count of the last
// place; nullopt for anything else.
std::optional<std::int64_t> ReadDecimal(const std::string& text, int decimals) {
    if (text.empty() || text.size() > 15)
        return std::nullopt;
    std::int64_t whole = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != '.'; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        whole = whole * 10 + (text[i] - '0');
    }
    if (i == 0)
        return std::nullopt;
    int places = 0;
    if (i < text.size()) {
        for (++i; i < text.size(); ++i, ++places) {
            if (text[i] < '0' || text[i] > '9' || places == decimals)
                return std::nullopt;
            whole = whole * 10 + (text[i] - '0');
        }
        if (places == 0)
            return std::nullopt;
    }
    for (; places < decimals; ++places)
        whole *= 10;
    return whole;
}

std::vector<std::string> SplitCommas(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, ','))
        fields.push_back(field);
    if (!line.empty() && line.back() == ',')
        fields.emplace_back();
    return fields;
}

}  // namespace

std::int64_t MulDivNearest(std::int64_t a, std::int64_t b, std::int64_t c) {
    const Wide product = static_cast<Wide>(a) * b;
    return static_cast<std::int64_t>((2 * product + c) / (2 * static_cast<Wide>(c)));
}

std::int64_t MulDivFloor(std::int64_t a, std::int64_t b, std::int64_t c) {
    return static_cast<std::int64_t>(static_cast<Wide>(a) * b / c);
}

std::string PercentText(std::int64_t millionths) {
    const bool negative = millionths < 0;
    const std::int64_t magnitude = negative ? -millionths : millionths;
    const std::int64_t hundredths = (magnitude + 50) / 100;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s%lld.%02lld", negative && hundredths > 0 ? "-" : "",
                  static_cast<long long>(hundredths / 100),
                  static_cast<long long>(hundredths % 100));
    return buffer;
}

ProgramData ProgramData::FromCsv(const std::string& text, std::string source) {
    ProgramData data;
    data.source_ = std::move(source);
    bool headerSeen = false;
    ForEachTableLine(text, [&](int lineNumber, const std::string& line) {
        const auto where = data.source_ + " line " + std::to_string(lineNumber) + ": ";
        if (!headerSeen) {
            if (line != "year,awi,cola_percent,taxable_maximum")
                throw ProgramDataError(where +
                                       "expected the header year,awi,cola_percent,taxable_maximum");
            headerSeen = true;
            return;
        }
        const auto fields = SplitCommas(line);
        if (fields.size() != 4)
            throw ProgramDataError(where + "expected four fields");
        ProgramYear row;
        const auto year = ReadDecimal(fields[0], 0);
        if (!year || *year < kFirstYear || *year > kLastYear)
            throw ProgramDataError(where + "the year must be a whole number from 1937 to 2100");
        row.year = static_cast<int>(*year);
        const int expected = data.years_.empty() ? kFirstYear : data.years_.back().year + 1;
        if (row.year != expected)
            throw ProgramDataError(where + "years must run from 1937 without gaps; expected " +
                                   std::to_string(expected));
        if (!fields[1].empty()) {
            row.awiCents = ReadDecimal(fields[1], 2);
            if (!row.awiCents || *row.awiCents == 0)
                throw ProgramDataError(where +
                                       "the wage index must be a positive amount with "
                                       "at most two decimals");
            if (data.lastAwiYear_ != 0 && data.lastAwiYear_ != row.year - 1)
                throw ProgramDataError(where + "the wage index has a gap before this year");
            data.lastAwiYear_ = row.year;
        }
        if (!fields[2].empty()) {
            // Four decimals of a percentage are millionths.
            row.colaMillionths = ReadDecimal(fields[2], 4);
            if (!row.colaMillionths)
                throw ProgramDataError(where +
                                       "the COLA must be a percentage of 0 or more with "
                                       "at most four decimals");
        }
        if (!fields[3].empty()) {
            row.taxableMaximumDollars = ReadDecimal(fields[3], 0);
            if (!row.taxableMaximumDollars || *row.taxableMaximumDollars == 0)
                throw ProgramDataError(where +
                                       "the taxable maximum must be a whole number of "
                                       "dollars above 0");
        }
        data.years_.push_back(row);
    });
    if (data.years_.empty())
        throw ProgramDataError(data.source_ + ": no years");
    // The derivations need the index of 1976, 1977 and 1992 and at least ten years of it.
    if (data.lastAwiYear_ < 1992)
        throw ProgramDataError(data.source_ + ": the wage index must run at least to 1992");
    if (data.FirstYear() != kFirstYear || !data.Find(1951)->awiCents)
        throw ProgramDataError(data.source_ + ": the wage index must start in 1951");
    for (int year = kFirstYear; year <= data.lastAwiYear_; ++year) {
        if (!data.Find(year)->taxableMaximumDollars)
            throw ProgramDataError(data.source_ + ": no taxable maximum for " +
                                   std::to_string(year));
    }
    return data;
}

ProgramData ProgramData::FromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ProgramDataError(path + ": the file cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw ProgramDataError(path + ": the file cannot be read");
    return FromCsv(text.str(), path);
}

const ProgramData& ProgramData::Shipped() {
    static const ProgramData data = FromCsv(kShippedProgramDataCsv, kShippedProgramDataSource);
    return data;
}

const ProgramYear* ProgramData::Find(int year) const {
    if (years_.empty() || year < FirstYear() || year > LastYear())
        return nullptr;
    return &years_[static_cast<std::size_t>(year - FirstYear())];
}

std::int64_t ProgramData::DefaultWageGrowth() const {
    const long double last = static_cast<long double>(*Find(lastAwiYear_)->awiCents);
    const long double first = static_cast<long double>(*Find(lastAwiYear_ - 10)->awiCents);
    const long double growth = std::pow(last / first, 0.1L) - 1;
    // An assumption, shown and used as a percentage with two decimals.
    return static_cast<std::int64_t>(std::llround(growth * 10000)) * 100;
}

ProgramSeries::ProgramSeries(const ProgramData& data, int throughYear,
                             std::int64_t wageGrowthMillionths, std::int64_t colaMillionths)
    : first_(data.FirstYear()) {
    if (wageGrowthMillionths < kLeastWageGrowth || wageGrowthMillionths > kMostWageGrowth)
        throw ProgramDataError("The wage growth must be between -10 and 15 percent.");
    if (colaMillionths < 0 || colaMillionths > kMillion)
        throw ProgramDataError("The COLA must be between 0 and 100 percent.");
    const int last = std::max(throughYear, data.LastYear());
    if (last > kLastYear)
        throw ProgramDataError("Years after 2100 are not supported.");
    const std::int64_t awi1976 = *data.Find(1976)->awiCents;
    const std::int64_t awi1992 = *data.Find(1992)->awiCents;
    for (int year = first_; year <= last; ++year) {
        const ProgramYear* published = data.Find(year);
        SeriesYear y;
        y.year = year;
        const SeriesYear* before = years_.empty() ? nullptr : &years_.back();
        if (published != nullptr && published->awiCents) {
            y.awiCents = *published->awiCents;
        } else if (year > data.LastAwiYear()) {
            // Published to the cent, so the projection is kept to the cent as well.
            y.awiCents = MulDivNearest(before->awiCents, kMillion + wageGrowthMillionths, kMillion);
            y.awiProjected = true;
        }
        if (published != nullptr && published->colaMillionths) {
            y.colaMillionths = *published->colaMillionths;
        } else if (year >= 1975) {
            y.colaMillionths = colaMillionths;
            y.colaProjected = true;
        }
        if (published != nullptr && published->taxableMaximumDollars) {
            y.taxableMaximumDollars = *published->taxableMaximumDollars;
        } else {
            // $60,600 times the index two years before over that of 1992, to the nearest
            // $300, never below the year before, and not raised after a December
            // without a COLA (as in 2010, 2011 and 2016).
            const std::int64_t awi = years_[static_cast<std::size_t>(year - 2 - first_)].awiCents;
            const std::int64_t derived =
                MulDivNearest(kTaxableMaximum1994, awi, awi1992 * 300) * 300;
            y.taxableMaximumDollars = before->colaMillionths == 0
                                          ? before->taxableMaximumDollars
                                          : std::max(derived, before->taxableMaximumDollars);
            y.taxableMaximumProjected = true;
        }
        if (year == 1978) {
            y.quarterOfCoverageDollars = kQuarterOfCoverage1978;
        } else if (year > 1978) {
            // $250 times the index two years before over that of 1976, to the nearest $10,
            // never below the year before.
            const std::int64_t awi = years_[static_cast<std::size_t>(year - 2 - first_)].awiCents;
            const std::int64_t derived =
                MulDivNearest(kQuarterOfCoverage1978, awi, awi1976 * 10) * 10;
            y.quarterOfCoverageDollars = std::max(derived, before->quarterOfCoverageDollars);
        }
        years_.push_back(y);
    }
}

const SeriesYear& ProgramSeries::At(int year) const {
    if (year < FirstYear() || year > LastYear())
        throw std::out_of_range("no program figures for " + std::to_string(year));
    return years_[static_cast<std::size_t>(year - first_)];
}

}  // namespace velmora::planner
