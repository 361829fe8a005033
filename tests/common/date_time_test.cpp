#include <gtest/gtest.h>

#include <limits>

#include "common/date_time.h"

TEST(DateTime, DayCountsFrom30December1899) {
    struct Case {
        int y, m, d;
        double value;
    } cases[] = {
        {1899, 12, 30, 0}, {1899, 12, 31, 1}, {1900, 1, 1, 2}, {1900, 3, 1, 61},
        {2008, 8, 1, 39661}, {1899, 12, 29, -1}, {9999, 12, 31, 2958465},
    };
    for (const auto& c : cases) {
        double v = -99;
        ASSERT_TRUE(TryEncodeDate(c.y, c.m, c.d, v)) << c.y;
        EXPECT_DOUBLE_EQ(v, c.value) << c.y << "-" << c.m << "-" << c.d;
        SystemTime t = DecodeDateTime(v);
        EXPECT_EQ(t.year * 10000 + t.month * 100 + t.day, c.y * 10000 + c.m * 100 + c.d);
    }
    double v;
    for (auto [y, m, d] : {std::tuple{1900, 2, 29}, {2008, 2, 30}, {2008, 13, 1}, {0, 1, 1}, {10000, 1, 1}, {2008, 4, 31}})
        EXPECT_FALSE(TryEncodeDate(y, m, d, v)) << y << "-" << m << "-" << d;
}

TEST(DateTime, FormatPictures) {
    double dt = EncodeDateTime({2008, 8, 1, 9, 5, 7, 42});
    struct Case {
        const char* format;
        const char* text;
    } cases[] = {
        {"yyyy/mm/dd,hh:mm:ss", "2008-08-01,09.05.07"},
        {"m/d/yyyy", "8-1-2008"},
        {"yy m h:n:s", "08 8 9.5.7"},
        {"hh:nn:ss.zzz", "09.05.07.042"},
        {"'mm' \"dd\" dd", "mm dd 01"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTime(c.format, dt, "-", "."), c.text) << c.format;
    // 23:59:59.9996 rounds to the next day's midnight, not to 23:59:59 of the wrong day.
    double late = 39661 + (86400000 - 0.4) / 86400000.0;
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn:ss", late, "/", ":"), "2008/08/02 00:00:00");
}

TEST(DateTime, ValuesWithoutACalendarDateAreTakenAsDayZero) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* label;
        double value;
        const char* text;
    } cases[] = {
        {"NaN", nan, "1899/12/30 00:00:00.000"},
        {"infinity", inf, "1899/12/30 00:00:00.000"},
        {"minus infinity", -inf, "1899/12/30 00:00:00.000"},
        {"beyond 64-bit integers", 9.3e18, "1899/12/30 00:00:00.000"},
        {"far below", -1e300, "1899/12/30 00:00:00.000"},
        {"the day after 9999-12-31", 2958466, "1899/12/30 00:00:00.000"},
        {"rounds past 9999-12-31", 2958465.9999999999, "1899/12/30 00:00:00.000"},
        {"the day before 0001-01-01", -693594, "1899/12/30 00:00:00.000"},
        {"the last noon there is", 2958465.5, "9999/12/31 12:00:00.000"},
        {"the first day there is", -693593, "0001/01/01 00:00:00.000"},
        {"its noon", -693593.5, "0001/01/01 12:00:00.000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn:ss.zzz", c.value, "/", ":"), c.text) << c.label;
        SystemTime t = DecodeDateTime(c.value);
        EXPECT_GE(t.year, 1) << c.label;
        EXPECT_LE(t.year, 9999) << c.label;
    }
}
