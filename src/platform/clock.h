#pragma once
// The clock, the local time zone and the user's date and time separators.
#include <string>

#include "platform/file_system.h"

namespace platform {

// A calendar date and time of day, as the system splits a file time.
struct SystemTime {
    int year = 1601, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, milliseconds = 0;
    bool operator==(const SystemTime&) const = default;
};

class Clock {
public:
    virtual ~Clock() = default;
    // The current time, UTC.
    virtual FileTime now() = 0;
    // A UTC file time as local calendar time; false when the system cannot convert it.
    virtual bool toLocal(FileTime utc, SystemTime& local) = 0;
    // The user's separators, for which "/" and ":" stand in every date-time format.
    virtual std::string dateSeparator() = 0;
    virtual std::string timeSeparator() = 0;
};

} // namespace platform
