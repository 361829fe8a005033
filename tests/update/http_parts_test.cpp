// The pieces of the HTTP client that need no server: header dates, statistics, the stored
// credentials and the request's added header lines.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <stdexcept>

#include "common/date_time.h"
#include "support/recorders.h"
#include "support/temp_machine.h"
#include "update/custom_http.h"
#include "update/http_date.h"

using testsupport::FixedClock;

namespace {

struct ClockedMachine {
    testsupport::TempMachine m;
    FixedClock clock;
    ClockedMachine() {
        auto s = platform::services();
        s.clock = &clock;
        platform::install(s);
    }
};

double at(int y, int mo, int d, int h, int mi, int s) {
    return EncodeDateTime(platform::SystemTime{y, mo, d, h, mi, s, 0});
}

} // namespace

TEST(ParseHttpDate, TheThreeFormsAndTheZones) {
    ClockedMachine cm; // local time is UTC here
    const double moment = at(1994, 11, 6, 8, 49, 37);
    struct Case {
        const char* label;
        const char* text;
        double expected;
    } cases[] = {
        {"weekday, day month year", "Sun, 06 Nov 1994 08:49:37 GMT", moment},
        {"weekday, day-month-two-digit year", "Sunday, 06-Nov-94 08:49:37 GMT", moment},
        {"weekday month day time year", "Sun Nov  6 08:49:37 1994", moment},
        {"letters in any case, spaces around", "  sun, 06 nov 1994 08:49:37 gmt ", moment},
        {"no weekday", "06 Nov 1994 08:49:37 GMT", moment},
        {"+0100 is an hour earlier", "Sun, 06 Nov 1994 08:49:37 +0100", at(1994, 11, 6, 7, 49, 37)},
        {"+0800 moves the time 8 hours back", "Sun, 06 Nov 1994 08:49:37 +0800", at(1994, 11, 6, 0, 49, 37)},
        {"-0530 moves it forward", "Sun, 06 Nov 1994 08:49:37 -0530", at(1994, 11, 6, 14, 19, 37)},
        {"a zone over midnight", "Sun, 06 Nov 1994 01:00:00 +0200", at(1994, 11, 5, 23, 0, 0)},
        {"a short zone means GMT", "Sun, 06 Nov 1994 08:49:37 +01", moment},
        {"year below 80 is 20xx", "Tue, 01-Jan-08 00:00:00 GMT", at(2008, 1, 1, 0, 0, 0)},
        {"no time", "06 Nov 1994", at(1994, 11, 6, 0, 0, 0)},
        {"a day that is no number is 1", "xx Nov 1994 08:49:37 GMT", at(1994, 11, 1, 8, 49, 37)},
        {"empty", "", 0},
        {"blanks", "   ", 0},
        {"no month", "Sun, 06 Xyz 1994 08:49:37 GMT", 0},
        {"no year", "Sun Nov  6 08:49:37 later", 0},
        {"no such day", "Sun, 31 Feb 1994 08:49:37 GMT", 0},
        {"no such hour", "Sun, 06 Nov 1994 24:00:00 GMT", 0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(ParseHttpDate(c.text), c.expected, 1e-7) << c.label;
}

TEST(ParseHttpDate, GivesLocalTime) {
    ClockedMachine cm;
    cm.clock.offsetMinutes = 8 * 60;
    EXPECT_NEAR(ParseHttpDate("Sun, 06 Nov 1994 08:49:37 GMT"), at(1994, 11, 6, 16, 49, 37), 1e-7);
    EXPECT_NEAR(ParseHttpDate("Sun, 06 Nov 1994 08:49:37 +0800"), at(1994, 11, 6, 8, 49, 37), 1e-7);
}

// Each date takes the zone's offset of its own moment: a summer Last-Modified read in winter
// is not an hour off.
TEST(ParseHttpDate, TakesTheOffsetOfTheDateItself) {
    testsupport::TempMachine m; // the real clock
    const char* old = std::getenv("TZ");
    std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    ::tzset();
    EXPECT_NEAR(ParseHttpDate("Fri, 01 Aug 2008 09:30:18 GMT"), at(2008, 8, 1, 11, 30, 18), 1e-7);
    EXPECT_NEAR(ParseHttpDate("Tue, 01 Jan 2008 09:30:18 GMT"), at(2008, 1, 1, 10, 30, 18), 1e-7);
    if (saved)
        ::setenv("TZ", saved->c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

TEST(TransferStatistics, RoundHalvesToEven) {
    struct Case {
        const char* label;
        std::int64_t bytes, length, ms;
        int percent;
        std::int64_t left, elapsed;
        float rate;
    } cases[] = {
        {"half a percent rounds down to even 0", 1, 200, 0, 0, 0, 0, 1 / 1024.0f},
        {"one and a half rounds up to 2", 3, 200, 0, 2, 0, 0, 3 / 1024.0f},
        {"two and a half rounds down to 2", 5, 200, 0, 2, 0, 0, 5 / 1024.0f},
        {"whole body", 2048, 2048, 4000, 100, 0, 4, 0.5f},
        {"a quarter after 3 s: 9 s left", 512, 2048, 3999, 25, 9, 3, 512 / 1024.0f / 3},
        {"seconds left 2.5 rounds to 2", 4, 10, 1000, 40, 2 - 1, 1, 4 / 1024.0f},
        {"no length: percent and seconds left 0", 4096, 0, 2500, 0, 0, 2, 2.0f},
        {"more than announced stays at 100", 300, 200, 0, 100, 0, 0, 300 / 1024.0f},
    };
    for (const auto& c : cases) {
        TupTransferStatistics s = ComputeTransferStatistics(c.bytes, c.length, c.ms);
        EXPECT_EQ(s.Percent, c.percent) << c.label;
        EXPECT_EQ(s.SecondsLeft, c.left) << c.label;
        EXPECT_EQ(s.SecondsElapsed, c.elapsed) << c.label;
        EXPECT_FLOAT_EQ(s.TransferRate, c.rate) << c.label;
    }
}

TEST(LoginInfo, StoredBytesAndTheWayBack) {
    TupLoginComponent c;
    EXPECT_FALSE(c.HasLoginInfo());
    c.HTTPUsername = "ab";
    c.HTTPPassword = "x";
    ASSERT_TRUE(c.HasLoginInfo());
    std::string bytes = c.WriteLoginInfo();
    // C = 4; every byte after it combined with 4 xor the key.
    const char mask = char(4 ^ TupLoginComponent::LoginInfoKey);
    EXPECT_EQ(bytes, std::string({char(4), char(2 ^ mask), char('a' ^ mask), char('b' ^ mask), char('x' ^ mask)}));

    TupLoginComponent back;
    ASSERT_TRUE(back.ReadLoginInfo(bytes));
    EXPECT_EQ(back.HTTPUsername, "ab");
    EXPECT_EQ(back.HTTPPassword, "x");

    c.HTTPUsername = "";
    c.HTTPPassword = "only a password";
    ASSERT_TRUE(back.ReadLoginInfo(c.WriteLoginInfo()));
    EXPECT_EQ(back.HTTPUsername, "");
    EXPECT_EQ(back.HTTPPassword, "only a password");
}

TEST(LoginInfo, BadRecordsAndCredentialsTooLongToStore) {
    TupLoginComponent c;
    c.HTTPUsername = "user";
    c.HTTPPassword = "pass";
    std::string good = c.WriteLoginInfo();
    const char mask = char(good[0] ^ TupLoginComponent::LoginInfoKey);
    struct Case {
        const char* label;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"cut short", good.substr(0, good.size() - 1)},
        {"a user name longer than the record", std::string(1, good[0]) + char(200 ^ mask) + good.substr(2)},
    };
    for (const auto& k : cases) {
        TupLoginComponent r;
        r.HTTPUsername = "old";
        EXPECT_FALSE(r.ReadLoginInfo(k.bytes)) << k.label;
        EXPECT_EQ(r.HTTPUsername, "") << k.label;
    }

    // The count byte would wrap and the record read back as other credentials.
    c.HTTPUsername = std::string(200, 'u');
    c.HTTPPassword = std::string(60, 'p');
    EXPECT_THROW(c.WriteLoginInfo(), std::length_error);
}

TEST(RequestHeaders, ExtraLinesAndTheRangeLine) {
    struct Case {
        const char* label;
        std::vector<std::string> extra;
        int start, end;
        const char* text;
    } cases[] = {
        {"nothing", {}, 0, 0, ""},
        {"from 100 on", {}, 100, 0, "RANGE: bytes=100-\r\n"},
        {"100 to 199", {}, 100, 199, "RANGE: bytes=100-199\r\n"},
        {"the first 500", {}, 0, 500, "RANGE: bytes=0-500\r\n"},
        {"extra lines first", {"X-One: 1", "X-Two: 2"}, 7, 0, "X-One: 1\r\nX-Two: 2\r\nRANGE: bytes=7-\r\n"},
    };
    for (const auto& c : cases) {
        TupHTTPRange r;
        r.StartRange = c.start;
        r.EndRange = c.end;
        EXPECT_EQ(BuildRequestHeaders(c.extra, r), c.text) << c.label;
    }
}

TEST(HttpStatusText, NamesTheStatesAndOthersAreUnknown) {
    EXPECT_EQ(HttpStatusText(110), "Redirect");
    EXPECT_EQ(HttpStatusText(42), "CTL Response received");
    EXPECT_EQ(HttpStatusText(99), "Unknown status");
}
