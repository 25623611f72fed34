// Time of day as a day count since 30 December 1899 (OLE Automation date convention).
#pragma once

#include <cstdint>
#include <string>

// A point in time: whole days since 30.12.1899 00:00, the fraction is the time of day.
struct ZeitWert {
    enum Status : int32_t { valid = 0, invalid = 1 };

    double days = 0.0;
    int32_t status = valid;

    // Sets date and time; any component out of range makes the value invalid.
    int32_t SetParts(int year, int month, int day, int hour, int minute, int second);
    // Takes a day count; a count that is not a finite number gives an invalid value.
    ZeitWert& operator=(double dayCount);
    // Formats the time of day, rounded to the nearest second: %H, %M, %S and %%.
    std::string Format(const char* pattern) const;
};

// The signed distance between two ZeitWert values, in days.
struct ZeitSpanne {
    double days = 0.0;
    int32_t status = ZeitWert::valid;
};

// a - b; invalid (with a NaN day count) when either operand is invalid.
ZeitSpanne operator-(const ZeitWert& a, const ZeitWert& b);
