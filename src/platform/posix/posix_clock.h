#pragma once
#include <string>

#include "platform/clock.h"

namespace platform::posix {

// The system clock, the time zone of the process (TZ) and the separators of the user's
// time locale (LC_TIME / LC_ALL / LANG).
class PosixClock : public Clock {
public:
    FileTime now() override;
    bool toLocal(FileTime utc, SystemTime& local) override;
    std::string dateSeparator() override;
    std::string timeSeparator() override;
};

// The separator between the fields of a strftime date or time format ("%m/%d/%y" gives
// "/", "%d.%m.%Y" gives "."); `fallback` when the format has no punctuation between them.
std::string separatorOfFormat(const std::string& format, const std::string& fallback);

} // namespace platform::posix
