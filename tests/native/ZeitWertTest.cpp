// The time value: validity, day counts, subtraction and formatting.
#include "time/ZeitWert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

ZeitWert At(int hour, int minute, int second) {
    ZeitWert value;
    value.SetParts(1899, 12, 30, hour, minute, second);
    return value;
}

TEST(ZeitWert, DefaultIsValidDayZero) {
    const ZeitWert value;
    EXPECT_EQ(value.days, 0.0);
    EXPECT_EQ(value.status, ZeitWert::valid);
}

TEST(ZeitWert, SetPartsBounds) {
    struct Case {
        int hour, minute, second;
        bool valid;
        int year = 1899, month = 12, day = 30;
    } cases[] = {
        // clang-format off
        {0, 0, 0, true},   {23, 59, 59, true},  {12, 30, 0, true},   {24, 0, 0, false},
        {0, 60, 0, false}, {0, 0, 60, false},   {-1, 0, 0, false},   {0, -1, 0, false},
        {0, 0, -1, false}, {99, 99, 99, false}, {23, 60, 59, false},
        // Leap days by the rule of four but not of a hundred, and the ends of the years' range.
        {0, 0, 0, true, 2024, 2, 29}, {0, 0, 0, false, 1900, 2, 29}, {0, 0, 0, true, 100, 1, 1},
        {0, 0, 0, false, 99, 12, 31}, {0, 0, 0, true, 9999, 12, 31}, {0, 0, 0, false, 10000, 1, 1},
        // clang-format on
    };
    for (const Case& c : cases) {
        ZeitWert value;
        const int32_t status = value.SetParts(c.year, c.month, c.day, c.hour, c.minute, c.second);
        EXPECT_EQ(status, c.valid ? ZeitWert::valid : ZeitWert::invalid)
            << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute << ":"
            << c.second;
        EXPECT_EQ(value.status, status);
    }
}

TEST(ZeitWert, DayCountIsTheFractionOfTheDay) {
    EXPECT_EQ(At(0, 0, 0).days, 0.0);
    EXPECT_DOUBLE_EQ(At(12, 0, 0).days, 0.5);
    EXPECT_DOUBLE_EQ(At(23, 59, 59).days, 1.0 - 1.0 / 86400);
    EXPECT_DOUBLE_EQ(At(6, 0, 0).days, 0.25);
}

TEST(ZeitWert, DatesCountFromTheBaseDate) {
    ZeitWert value;
    EXPECT_EQ(value.SetParts(1899, 12, 31, 0, 0, 0), ZeitWert::valid);
    EXPECT_EQ(value.days, 1.0);
    EXPECT_EQ(value.SetParts(1900, 3, 1, 0, 0, 0), ZeitWert::valid);
    EXPECT_EQ(value.days, 61.0); // 1900 is not a leap year
    EXPECT_EQ(value.SetParts(2001, 8, 3, 12, 0, 0), ZeitWert::valid);
    EXPECT_EQ(value.days, 37106.5);
    EXPECT_EQ(value.SetParts(1899, 12, 29, 6, 0, 0), ZeitWert::valid);
    EXPECT_EQ(value.days, -1.25); // before the base date the time counts away from zero
    EXPECT_EQ(value.SetParts(1899, 2, 29, 0, 0, 0), ZeitWert::invalid);
    EXPECT_EQ(value.SetParts(1899, 13, 1, 0, 0, 0), ZeitWert::invalid);
    EXPECT_EQ(value.SetParts(2000, 2, 29, 0, 0, 0), ZeitWert::valid);
}

TEST(ZeitWert, AssignmentTakesFiniteDayCountsOnly) {
    ZeitWert value;
    value.status = ZeitWert::invalid;
    value = 0.75;
    EXPECT_EQ(value.status, ZeitWert::valid);
    EXPECT_EQ(value.days, 0.75);
    value = std::nan("");
    EXPECT_EQ(value.status, ZeitWert::invalid);
    value = INFINITY;
    EXPECT_EQ(value.status, ZeitWert::invalid);
}

TEST(ZeitWert, Subtraction) {
    const ZeitSpanne later = At(12, 30, 0) - At(8, 15, 45);
    EXPECT_EQ(later.status, ZeitWert::valid);
    EXPECT_DOUBLE_EQ(later.days * 86400, 4 * 3600 + 14 * 60 + 15);

    const ZeitSpanne earlier = At(8, 15, 45) - At(12, 30, 0);
    EXPECT_EQ(earlier.status, ZeitWert::valid);
    EXPECT_LT(earlier.days, 0.0);
    EXPECT_DOUBLE_EQ(earlier.days, -later.days);

    const ZeitSpanne invalidFirst = At(24, 0, 0) - At(1, 0, 0);
    const ZeitSpanne invalidSecond = At(1, 0, 0) - At(0, 60, 0);
    for (const ZeitSpanne& span : {invalidFirst, invalidSecond}) {
        EXPECT_EQ(span.status, ZeitWert::invalid);
        EXPECT_TRUE(std::isnan(span.days));
    }
}

TEST(ZeitWert, FormatRoundsToTheNearestSecond) {
    struct Case {
        double days;
        const char* shown;
    } cases[] = {
        {0.0, "000000"},
        {1.0 / 24, "010000"},
        {1.0 / 24 - 1e-12, "010000"}, // a hair short of one hour is one hour
        {1.0 / 24 + 1e-12, "010000"},
        {(13.0 / 24) - (12.0 / 24), "010000"},
        {0.5, "120000"},
        {1.0 - 1.0 / 86400, "235959"},
        {1.0 - 0.4 / 86400, "000000"}, // rounds over midnight
        {37106.5, "120000"},
        {-1.25, "060000"},
    };
    for (const Case& c : cases) {
        ZeitWert value;
        value = c.days;
        EXPECT_EQ(value.Format("%H%M%S"), c.shown) << c.days;
    }
}

TEST(ZeitWert, FormatPattern) {
    const ZeitWert value = At(7, 8, 9);
    EXPECT_EQ(value.Format("%H:%M:%S"), "07:08:09");
    EXPECT_EQ(value.Format("%% %H"), "% 07");
    EXPECT_EQ(value.Format("%"), "%");

    ZeitWert invalid;
    invalid = std::nan("");
    EXPECT_EQ(invalid.Format("%H%M%S"), "");
}

TEST(ZeitWert, DifferenceOfWholeSecondsPrintsExactly) {
    // The difference of two whole-second times prints as whole seconds, whatever the
    // rounding error of the subtraction.
    for (int seconds = 0; seconds < 86400; seconds += 7) {
        const ZeitSpanne span =
            At(23, 59, 59) - At(seconds / 3600, seconds / 60 % 60, seconds % 60);
        ZeitWert value;
        value = span.days;
        const int rest = 86399 - seconds;
        char expected[16];
        std::snprintf(expected, sizeof expected, "%02d%02d%02d", rest / 3600, rest / 60 % 60,
                      rest % 60);
        ASSERT_EQ(value.Format("%H%M%S"), expected) << seconds;
    }
}

} // namespace
