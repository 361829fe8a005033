#include "services/clock_texts.h"

#include "common/ascii_text.h"
#include "platform/platform.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void notADate(const std::string& text) { throw ConvertError("'" + text + "' is not a valid date"); }

// A decimal number at text[i], at most `maxDigits` long; advances i.
bool number(const std::string& text, size_t& i, int maxDigits, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        if (++digits > maxDigits)
            return false;
        value = value * 10 + (text[i++] - '0');
    }
    return digits > 0;
}

bool separatorAt(const std::string& text, size_t& i, const std::string& sep) {
    if (i < text.size() && text[i] == '/') {
        ++i;
        return true;
    }
    if (!sep.empty() && text.compare(i, sep.size(), sep) == 0) {
        i += sep.size();
        return true;
    }
    return false;
}

} // namespace

std::string FormatDateTime(const std::string& format, double dateTime) {
    auto& c = platform::clock();
    return FormatDateTime(format, dateTime, c.dateSeparator(), c.timeSeparator());
}

double Now() {
    platform::SystemTime t;
    if (!platform::clock().toLocal(platform::clock().now(), t))
        return 0;
    return EncodeDateTime(t);
}

double FileTimeToLocalDateTime(platform::FileTime fileTime) {
    platform::SystemTime t;
    if (!platform::clock().toLocal(fileTime, t))
        return 0;
    return EncodeDateTime(t);
}

FileTimeTexts FileTimesText(const std::string& path) {
    const char* format = "yyyy/mm/dd,hh:mm:ss";
    FileTimeTexts texts;
    platform::DirEntry e;
    if (platform::files().findEntry(path, e)) {
        texts.creation = FormatDateTime(format, FileTimeToLocalDateTime(e.creationTime));
        texts.lastWrite = FormatDateTime(format, FileTimeToLocalDateTime(e.lastWriteTime));
    }
    texts.now = FormatDateTime(format, Now());
    return texts;
}

double ParseListDate(const std::string& text) {
    if (text.size() > 10)
        return 0;
    std::string sep = platform::clock().dateSeparator();
    std::string t = Trim(text);
    size_t i = 0;
    int month, day, year, digits;
    if (!number(t, i, 2, month, digits) || !separatorAt(t, i, sep) || !number(t, i, 2, day, digits) ||
        !separatorAt(t, i, sep) || !number(t, i, 4, year, digits) || i != t.size())
        notADate(text);
    if (digits <= 2) {
        // A two-digit year falls in the 100 years around now, as the classic conversion has it.
        int current = DecodeDateTime(Now()).year;
        int century = current - 50;
        year += century / 100 * 100;
        if (year < century)
            year += 100;
    }
    double d;
    if (!TryEncodeDate(year, month, day, d))
        notADate(text);
    return d;
}
