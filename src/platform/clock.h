#pragma once
// The clock, the local time zone and the user's date and time separators.
#include <string>

#include "common/date_time.h"
#include "platform/file_system.h"

namespace platform {

using ::SystemTime;

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
