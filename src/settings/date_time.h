#pragma once
// Date-time values: day counts from 30 December 1899, the fraction being the time of day.
// Formats follow the classic picture letters: y, m, d, h, n (or m after h), s, z; "/" and
// ":" stand for the user's date and time separators; text in quotes is copied.
#include <string>

#include "platform/clock.h"
#include "platform/errors.h"

// A text that is not a date, or names no real day: "'%s' is not a valid date".
class ConvertError : public platform::Error {
public:
    explicit ConvertError(const std::string& message) : platform::Error(message) {}
};

// False for a day that does not exist (month 13, 30 February, year 0 or past 9999).
bool TryEncodeDate(int year, int month, int day, double& dateTime);
double EncodeDateTime(const platform::SystemTime& t);
// The calendar date and time of a date-time, to the millisecond.
platform::SystemTime DecodeDateTime(double dateTime);

// Formats with the installed clock's separators.
std::string FormatDateTime(const std::string& format, double dateTime);
// Formats with the given separators.
std::string FormatDateTime(const std::string& format, double dateTime, const std::string& dateSeparator,
                           const std::string& timeSeparator);

// The current local date and time.
double Now();
