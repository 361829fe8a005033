#pragma once
// Dates and times as the user sees them: the installed clock, the local time zone and the
// user's date and time separators applied to the date arithmetic of common/date_time.h.
#include <string>

#include "common/date_time.h"
#include "platform/errors.h"
#include "platform/file_system.h"

// A text that is not a date, or names no real day: "'%s' is not a valid date".
class ConvertError : public platform::Error {
public:
    explicit ConvertError(const std::string& message) : platform::Error(message) {}
};

// Formats with the installed clock's separators.
std::string FormatDateTime(const std::string& format, double dateTime);

// The current local date and time.
double Now();

// A UTC file time as a local date-time value.
double FileTimeToLocalDateTime(platform::FileTime fileTime);

struct FileTimeTexts {
    std::string creation;  // the entry's creation time
    std::string lastWrite; // the entry's last write
    std::string now;       // the current local time
};
// "yyyy/mm/dd,hh:mm:ss" texts; the two file times are empty for a path that is not found.
FileTimeTexts FileTimesText(const std::string& path);

// A list date month/day/year ("8/1/2008") at 00:00; 0 for a text of more than 10
// characters; throws ConvertError when the text is no such date.
double ParseListDate(const std::string& text);
