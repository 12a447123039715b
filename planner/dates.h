#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmora::planner {

/// A calendar date (proleptic Gregorian).
struct Date {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    friend constexpr auto operator<=>(const Date&, const Date&) = default;
};

/// A calendar month, held as a running count of months so that months can be
/// subtracted and added directly: year * 12 + (month - 1).
struct Month {
    int index = 0;
    static constexpr Month Of(int year, int month) { return Month{year * 12 + (month - 1)}; }
    constexpr int Year() const { return index >= 0 ? index / 12 : -((-index + 11) / 12); }
    constexpr int MonthOfYear() const { return index - Year() * 12 + 1; }
    friend constexpr auto operator<=>(const Month&, const Month&) = default;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool IsValidDate(const Date& date);
/// The day before, across month and year ends.
Date DayBefore(const Date& date);
/// "YYYY-MM-DD" exactly (four-digit year, two-digit month and day); nullopt otherwise,
/// also for a day the month does not have.
std::optional<Date> ParseDate(const std::string& text);
std::string DateText(const Date& date);
/// "YYYY-MM".
std::string MonthText(Month month);

/// The date as a fractional year: the year plus the part of it that has passed when
/// the day begins (1 January is exactly the year, 2 July of a common year about .5).
long double FractionalYear(const Date& date);

/// The law's way of counting age: a person attains an age on the day before the
/// birthday. Everything below counts from that day.
class AgeRules {
  public:
    explicit AgeRules(const Date& born);
    const Date& Born() const { return born_; }
    /// The day on which each age is attained in the birth year's terms (the day before the
    /// date of birth); its year is the year of birth the benefit tables go by, so someone
    /// born on 1 January goes by the previous year.
    const Date& AttainmentDay() const { return attainment_; }
    int RuleYearOfBirth() const { return attainment_.year; }
    /// The month in which an age of this many months is attained.
    Month MonthAttained(int ageMonths) const;
    /// Age in whole months attained by the end of the month.
    int AgeMonthsIn(Month month) const;
    /// The first month throughout which the client is 62: the month 62 is attained when
    /// that happens on its 1st (born on the 2nd), otherwise the month after.
    Month FirstMonthAt62() const;
    /// Age in whole years attained by the end of the calendar year.
    int AgeAtEndOfYear(int year) const;
    /// Exact age in years at the start of the date, counted from the date of birth.
    long double AgeOn(const Date& date) const;
    /// Exact age in years at a fractional year (see FractionalYear).
    long double AgeAt(long double fractionalYear) const;

  private:
    Date born_;
    Date attainment_;
};

/// "62y 1m".
std::string AgeText(int ageMonths);

}  // namespace velmora::planner
