#include "common/date_time.h"

#include <cmath>
#include <cstdint>

#include "common/ascii_text.h"

namespace {

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(std::int64_t(yoe) + era * 400 + (m <= 2));
}

// 1899-12-30 counted from 1970-01-01.
constexpr std::int64_t kDay0 = -25569;
constexpr double kMsPerDay = 86400000.0;
// 0001-01-01 and 9999-12-31 as date-times.
constexpr double kFirstDay = -693593;
constexpr double kLastDay = 2958465;

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

std::string pad(int v, int width) {
    std::string s = std::to_string(v);
    while (int(s.size()) < width)
        s.insert(s.begin(), '0');
    return s;
}

} // namespace

bool TryEncodeDate(int year, int month, int day, double& dateTime) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    int max = days[month - 1] + (month == 2 && leap(year) ? 1 : 0);
    if (day > max)
        return false;
    dateTime = double(daysFromCivil(year, unsigned(month), unsigned(day)) - kDay0);
    return true;
}

double EncodeDateTime(const SystemTime& t) {
    double date = 0;
    TryEncodeDate(t.year, t.month, t.day, date);
    double time = ((t.hour * 60.0 + t.minute) * 60.0 + t.second) * 1000.0 + t.milliseconds;
    // Days before 1899-12-30 count down, but their time of day still counts up.
    return date >= 0 ? date + time / kMsPerDay : date - time / kMsPerDay;
}

SystemTime DecodeDateTime(double dateTime) {
    // Only days from 1 January 1 to 31 December 9999 have a calendar date; anything else a
    // file may hold (NaN, infinities, huge numbers) is taken as 0, 30 December 1899.
    if (!(dateTime > kFirstDay - 1 && dateTime < kLastDay + 1))
        dateTime = 0;
    // Whole milliseconds, so 23:59:59.9996 does not show as 23:59:59 of the wrong day.
    double days = std::trunc(dateTime);
    double frac = std::fabs(dateTime - days);
    std::int64_t ms = std::llround(frac * kMsPerDay);
    if (ms >= std::int64_t(kMsPerDay)) {
        ms -= std::int64_t(kMsPerDay);
        days += dateTime >= 0 ? 1 : -1;
    }
    if (days > kLastDay || days < kFirstDay) // rounded past the last millisecond
        days = ms = 0;
    SystemTime t;
    civilFromDays(std::int64_t(days) + kDay0, t.year, t.month, t.day);
    t.hour = int(ms / 3600000);
    t.minute = int(ms / 60000 % 60);
    t.second = int(ms / 1000 % 60);
    t.milliseconds = int(ms % 1000);
    return t;
}

std::string FormatDateTime(const std::string& format, double dateTime, const std::string& dateSeparator,
                           const std::string& timeSeparator) {
    SystemTime t = DecodeDateTime(dateTime);
    std::string out;
    bool afterHour = false;
    for (size_t i = 0; i < format.size();) {
        if (format[i] == '"' || format[i] == '\'') {
            size_t close = format.find(format[i], i + 1);
            if (close == std::string::npos)
                close = format.size();
            out += format.substr(i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        char c = AsciiUpper(format[i]);
        size_t n = 1;
        while (i + n < format.size() && AsciiUpper(format[i + n]) == c)
            ++n;
        switch (c) {
        case 'Y':
            out += n <= 2 ? pad(t.year % 100, 2) : pad(t.year, 4);
            afterHour = false;
            break;
        case 'M':
            if (afterHour)
                out += pad(t.minute, n >= 2 ? 2 : 1);
            else
                out += pad(t.month, n >= 2 ? 2 : 1);
            afterHour = false;
            break;
        case 'D':
            out += pad(t.day, n >= 2 ? 2 : 1);
            afterHour = false;
            break;
        case 'H':
            out += pad(t.hour, n >= 2 ? 2 : 1);
            afterHour = true;
            break;
        case 'N':
            out += pad(t.minute, n >= 2 ? 2 : 1);
            afterHour = false;
            break;
        case 'S':
            out += pad(t.second, n >= 2 ? 2 : 1);
            afterHour = false;
            break;
        case 'Z':
            out += pad(t.milliseconds, n >= 3 ? 3 : 1);
            afterHour = false;
            break;
        case '/':
            for (size_t k = 0; k < n; ++k)
                out += dateSeparator;
            break;
        case ':':
            for (size_t k = 0; k < n; ++k)
                out += timeSeparator;
            break;
        default:
            out += format.substr(i, n);
            break;
        }
        i += n;
    }
    return out;
}
