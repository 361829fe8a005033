#include "update/http_date.h"

#include <cmath>
#include <cstdint>

#include "platform/platform.h"
#include "common/ascii_text.h"
#include "common/date_time.h"
#include "services/clock_texts.h"

namespace {

void dropLeadingSpaces(std::string& s) {
    size_t n = s.find_first_not_of(' ');
    s.erase(0, n == std::string::npos ? s.size() : n);
}

// The text up to `sep`, dropped from `s` with the separator and the spaces after it.
std::string takePart(std::string& s, char sep) {
    size_t p = s.find(sep);
    std::string part = s.substr(0, p);
    s.erase(0, p == std::string::npos ? s.size() : p + 1);
    dropLeadingSpaces(s);
    return part;
}

bool toNumber(const std::string& s, int& n) {
    if (s.empty() || s.size() > 9)
        return false;
    n = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + (c - '0');
    }
    return true;
}

int numberOr(const std::string& s, int fallback) {
    int n;
    return toNumber(s, n) ? n : fallback;
}

// 1 to 12 for a text whose first three letters name a month, else 0.
int monthOf(const std::string& s) {
    static const char* const months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    if (s.size() < 3)
        return 0;
    for (int i = 0; i < 12; ++i)
        if (AsciiUpper(s[0]) == months[i][0] && AsciiUpper(s[1]) == months[i][1] && AsciiUpper(s[2]) == months[i][2])
            return i + 1;
    return 0;
}

bool isWeekday(const std::string& s) {
    static const char* const days[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
    if (s.size() < 3)
        return false;
    for (const char* d : days)
        if (AsciiUpper(s[0]) == d[0] && AsciiUpper(s[1]) == d[1] && AsciiUpper(s[2]) == d[2])
            return true;
    return false;
}

} // namespace

double ParseHttpDate(const std::string& text) {
    std::string s = Trim(text);
    if (s.empty())
        return 0;
    if (isWeekday(s))
        takePart(s, ' ');

    size_t space = s.find(' ');
    size_t dash = s.find('-');
    char sep = dash != std::string::npos && dash >= 1 && (space == std::string::npos || dash < space) ? '-' : ' ';

    int day, month;
    std::string first = takePart(s, sep);
    if (monthOf(first)) {
        month = monthOf(first);
        day = numberOr(takePart(s, sep), 1);
    } else {
        day = numberOr(first, 1);
        month = monthOf(takePart(s, sep));
    }
    if (!month)
        return 0;

    int year;
    std::string timeText, zone;
    std::string next = takePart(s, ' ');
    if (toNumber(next, year)) {
        if (s.find(':') != std::string::npos) {
            timeText = takePart(s, ' ');
            zone = s;
        } else {
            zone = s;
        }
    } else {
        if (!toNumber(Trim(s), year))
            return 0;
        timeText = next;
    }
    if (year < 80)
        year += 2000;
    else if (year < 100)
        year += 1900;

    int hms[3] = {0, 0, 0};
    if (timeText.find(':') != std::string::npos) {
        for (int i = 0; i < 3 && !timeText.empty(); ++i)
            hms[i] = numberOr(takePart(timeText, ':'), 0);
    }
    if (hms[0] > 23 || hms[1] > 59 || hms[2] > 59)
        return 0;
    double date;
    if (!TryEncodeDate(year, month, day, date))
        return 0;
    double utc = date + ((hms[0] * 60.0 + hms[1]) * 60.0 + hms[2]) / 86400.0;

    zone = Trim(zone);
    if (zone.size() > 4 && (zone[0] == '+' || zone[0] == '-')) {
        int minutes = numberOr(zone.substr(1, 2), 0) * 60 + numberOr(zone.substr(3, 2), 0);
        utc -= (zone[0] == '-' ? -minutes : minutes) / 1440.0;
    }

    // To local time with the zone's offset of that moment, so a date from the other side of
    // a daylight-saving change is not an hour off.
    constexpr double kDaysFrom1601 = 109205;
    auto fileTime = static_cast<platform::FileTime>(std::llround((utc + kDaysFrom1601) * 864000000000.0));
    double local = FileTimeToLocalDateTime(fileTime);
    return local != 0 ? local : utc;
}
