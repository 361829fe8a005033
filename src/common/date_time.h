#pragma once
// Date-time values: day counts from 30 December 1899, the fraction being the time of day.
// Formats follow the classic picture letters: y, m, d, h, n (or m after h), s, z; "/" and
// ":" stand for the user's date and time separators; text in quotes is copied.
// Pure arithmetic: the clock and the user's separators come in through services/clock_texts.h.
#include <string>

// A calendar date and time of day, as the system splits a file time.
struct SystemTime {
    int year = 1601, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, milliseconds = 0;
    bool operator==(const SystemTime&) const = default;
};

// False for a day that does not exist (month 13, 30 February, year 0 or past 9999).
bool TryEncodeDate(int year, int month, int day, double& dateTime);
double EncodeDateTime(const SystemTime& t);
// The calendar date and time of a date-time, to the millisecond.
SystemTime DecodeDateTime(double dateTime);

// Formats with the given separators.
std::string FormatDateTime(const std::string& format, double dateTime, const std::string& dateSeparator,
                           const std::string& timeSeparator);
