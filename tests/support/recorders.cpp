#include "support/recorders.h"

#include <ctime>

namespace testsupport {

bool RecordingMachine::osVersion(platform::OsVersion& v) {
    if (versionFails)
        return false;
    if (version) {
        v = *version;
        return true;
    }
    return real && real->osVersion(v);
}

bool RecordingMachine::openProcessToken() {
    calls.push_back("openProcessToken");
    return tokenOpens;
}

bool RecordingMachine::lookupPrivilegeValue(const std::string& privilege) {
    calls.push_back("lookupPrivilegeValue " + privilege);
    return privilegeFound;
}

std::uint32_t RecordingMachine::adjustTokenPrivileges() {
    calls.push_back("adjustTokenPrivileges");
    return adjustError;
}

bool RecordingMachine::exitWindows(unsigned flags) {
    calls.push_back("exitWindows " + std::to_string(flags));
    exitRequests.push_back(flags);
    return true;
}

std::string RecordingMachine::windowsFolder() { return real ? real->windowsFolder() : "C:\\WINDOWS"; }

platform::ShortPath RecordingMachine::shortPathName(const std::string& path, std::size_t room) {
    if (real)
        return real->shortPathName(path, room);
    return {platform::ShortPath::Ok, path, {}};
}

namespace {
constexpr std::int64_t kEpochDelta = 11644473600LL;
constexpr std::int64_t kTicks = 10000000LL;
} // namespace

platform::FileTime FixedClock::fileTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    return (std::int64_t(timegm(&tm)) + kEpochDelta) * kTicks;
}

bool FixedClock::toLocal(platform::FileTime utc, platform::SystemTime& local) {
    std::int64_t ticks = utc + std::int64_t(offsetMinutes) * 60 * kTicks;
    std::time_t t = std::time_t(ticks / kTicks - kEpochDelta);
    std::tm tm{};
    if (!gmtime_r(&t, &tm))
        return false;
    local = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
             int(ticks % kTicks / 10000)};
    return true;
}

} // namespace testsupport
