// Time of day as a day count since 30 December 1899.
#include "ZeitWert.h"

#include <cmath>
#include <limits>

namespace {

const int secondsPerDay = 24 * 60 * 60;

// True for the Gregorian leap years.
bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days of a month, 0 for a month out of 1..12.
int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Days from 30.12.1899 to the given (valid) date, negative before it.
long DaysFromBase(int year, int month, int day) {
    // Civil-to-days conversion with March as the first month of the year.
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long daysFrom1970 = long(era) * 146097 + dayOfEra - 719468;
    return daysFrom1970 + 25569; // 1.1.1970 is day 25569
}

// Appends a number as two digits.
void AppendTwoDigits(std::string& out, long value) {
    out += char('0' + value / 10 % 10);
    out += char('0' + value % 10);
}

} // namespace

int32_t ZeitWert::SetParts(int year, int month, int day, int hour, int minute, int second) {
    const bool dateOk = year >= 100 && year <= 9999 && day >= 1 && day <= DaysInMonth(year, month);
    const bool timeOk =
        hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
    if (!dateOk || !timeOk) {
        status = invalid;
        return status;
    }
    const double date = double(DaysFromBase(year, month, day));
    const double time = double(hour * 3600 + minute * 60 + second) / secondsPerDay;
    // Before the base date the time still counts forward: -1.25 is 29.12.1899 06:00.
    days = date < 0 ? date - time : date + time;
    status = valid;
    return status;
}

ZeitWert& ZeitWert::operator=(double dayCount) {
    days = dayCount;
    status = std::isfinite(dayCount) ? valid : invalid;
    return *this;
}

std::string ZeitWert::Format(const char* pattern) const {
    std::string out;
    if (status != valid) return out;
    // Whole seconds of the day; 23:59:59.6 rounds over to the next day's 00:00:00.
    const double secondsOfDay = std::fabs(days - std::trunc(days)) * secondsPerDay;
    const long seconds = std::lround(secondsOfDay) % secondsPerDay;
    for (const char* p = pattern; *p; ++p) {
        if (*p != '%' || p[1] == '\0') {
            out += *p;
            continue;
        }
        switch (*++p) {
        case 'H':
            AppendTwoDigits(out, seconds / 3600);
            break;
        case 'M':
            AppendTwoDigits(out, seconds / 60 % 60);
            break;
        case 'S':
            AppendTwoDigits(out, seconds % 60);
            break;
        default:
            out += *p;
            break;
        }
    }
    return out;
}

ZeitSpanne operator-(const ZeitWert& a, const ZeitWert& b) {
    ZeitSpanne span;
    if (a.status != ZeitWert::valid || b.status != ZeitWert::valid) {
        span.days = std::numeric_limits<double>::quiet_NaN();
        span.status = ZeitWert::invalid;
        return span;
    }
    span.days = a.days - b.days;
    return span;
}
