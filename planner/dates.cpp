#include "planner/dates.h"

#include <cstdio>

namespace velmora::planner {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(const Date& date) {
    return date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= DaysInMonth(date.year, date.month);
}

Date DayBefore(const Date& date) {
    if (date.day > 1)
        return {date.year, date.month, date.day - 1};
    if (date.month > 1)
        return {date.year, date.month - 1, DaysInMonth(date.year, date.month - 1)};
    return {date.year - 1, 12, 31};
}

std::optional<Date> ParseDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u}) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
    }
    const auto number = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    const Date date{number(0, 4), number(5, 2), number(8, 2)};
    if (!IsValidDate(date))
        return std::nullopt;
    return date;
}

std::string DateText(const Date& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
    return buffer;
}

std::string MonthText(Month month) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d", month.Year(), month.MonthOfYear());
    return buffer;
}

long double FractionalYear(const Date& date) {
    int dayOfYear = date.day - 1;
    for (int m = 1; m < date.month; ++m)
        dayOfYear += DaysInMonth(date.year, m);
    const int daysInYear = IsLeapYear(date.year) ? 366 : 365;
    return static_cast<long double>(date.year) +
           static_cast<long double>(dayOfYear) / static_cast<long double>(daysInYear);
}

AgeRules::AgeRules(const Date& born) : born_(born), attainment_(DayBefore(born)) {}

Month AgeRules::MonthAttained(int ageMonths) const {
    return Month{Month::Of(attainment_.year, attainment_.month).index + ageMonths};
}

int AgeRules::AgeMonthsIn(Month month) const {
    return month.index - Month::Of(attainment_.year, attainment_.month).index;
}

Month AgeRules::FirstMonthAt62() const {
    const Month attained = MonthAttained(62 * 12);
    // 62 throughout the month only when it is attained on the month's first day.
    return attainment_.day == 1 ? attained : Month{attained.index + 1};
}

int AgeRules::AgeAtEndOfYear(int year) const {
    return year - attainment_.year;
}

long double AgeRules::AgeOn(const Date& date) const {
    return FractionalYear(date) - FractionalYear(born_);
}

long double AgeRules::AgeAt(long double fractionalYear) const {
    return fractionalYear - FractionalYear(born_);
}

std::string AgeText(int ageMonths) {
    return std::to_string(ageMonths / 12) + "y " + std::to_string(ageMonths % 12) + "m";
}

}  // namespace velmora::planner
