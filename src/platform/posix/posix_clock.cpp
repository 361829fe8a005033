#include "platform/posix/posix_clock.h"

#include <langinfo.h>
#include <locale.h>
#include <time.h>

namespace platform::posix {

namespace {

constexpr std::int64_t kEpochDelta = 11644473600LL; // seconds from 1601 to 1970
constexpr std::int64_t kTicks = 10000000LL;

// The user's time format, read without touching the process's own locale.
std::string langinfo(nl_item item) {
    locale_t loc = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0))
        return {};
    std::string s = ::nl_langinfo_l(item, loc);
    ::freelocale(loc);
    return s;
}

} // namespace

std::string separatorOfFormat(const std::string& format, const std::string& fallback) {
    // The first run of plain ASCII punctuation that follows a conversion and precedes
    // another: letters of a language ("年") are words, not separators.
    for (size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        size_t j = i + 1;
        while (j < format.size() && (format[j] == 'E' || format[j] == 'O' || format[j] == '-' || format[j] == '_' ||
                                     format[j] == '0' || format[j] == '^' || format[j] == '#'))
            ++j;
        if (j >= format.size())
            break;
        size_t k = j + 1;
        std::string sep;
        while (k < format.size() && format[k] != '%') {
            unsigned char c = static_cast<unsigned char>(format[k]);
            if (c < 0x80 && c > ' ' && !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
                sep += char(c);
            else
                break;
            ++k;
        }
        if (!sep.empty() && k < format.size() && format[k] == '%')
            return sep;
        i = j;
    }
    return fallback;
}

FileTime PosixClock::now() {
    struct timespec ts;
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return (std::int64_t(ts.tv_sec) + kEpochDelta) * kTicks + ts.tv_nsec / 100;
}

bool PosixClock::toLocal(FileTime utc, SystemTime& local) {
    std::int64_t ticks = utc;
    std::int64_t sec = ticks / kTicks;
    std::int64_t rem = ticks % kTicks;
    if (rem < 0) {
        rem += kTicks;
        --sec;
    }
    time_t t = time_t(sec - kEpochDelta);
    struct tm tm;
    if (!::localtime_r(&t, &tm))
        return false;
    local.year = tm.tm_year + 1900;
    local.month = tm.tm_mon + 1;
    local.day = tm.tm_mday;
    local.hour = tm.tm_hour;
    local.minute = tm.tm_min;
    local.second = tm.tm_sec;
    local.milliseconds = int(rem / 10000);
    return true;
}

std::string PosixClock::dateSeparator() { return separatorOfFormat(langinfo(D_FMT), "/"); }

std::string PosixClock::timeSeparator() { return separatorOfFormat(langinfo(T_FMT), ":"); }

} // namespace platform::posix
