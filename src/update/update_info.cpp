#include "update/update_info.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "common/ascii_text.h"
#include "common/date_time.h"

namespace {

// The position just after "#key=" in the text, or npos.
std::size_t entryStart(const std::string& text, const std::string& key) {
    const std::string needle = "#" + AsciiUpper(key) + "=";
    const std::size_t at = AsciiUpper(text).find(needle);
    return at == std::string::npos ? at : at + needle.size();
}

// A whole text as an integer as the classic conversion reads it: blanks before, a sign,
// decimal digits (or "$" and hex digits), nothing after; false for anything else.
bool toInteger(const std::string& s, long long& value) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    }
    if (i >= s.size())
        return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        int d;
        const char c = s[i];
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        if (v > (std::numeric_limits<std::int32_t>::max() - d) / base)
            return false; // beyond the 32-bit integers the versions are read as
        v = v * base + d;
    }
    value = negative ? -v : v;
    return true;
}

} // namespace

std::string InfoValue(const std::string& text, const std::string& key) {
    const std::size_t start = entryStart(text, key);
    if (start == std::string::npos)
        return {};
    std::size_t end = start;
    while (end < text.size() && static_cast<unsigned char>(text[end]) >= 32)
        ++end;
    return text.substr(start, end - start);
}

std::string InfoBlock(const std::string& text, const std::string& key) {
    const std::string needle = "#" + AsciiUpper(key) + "={";
    const std::size_t at = AsciiUpper(text).find(needle);
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + needle.size();
    const std::size_t end = text.find('}', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::vector<std::string> InfoFileList(const std::string& text) {
    std::vector<std::string> files;
    for (const char* key : {"url", "url0"})
        if (std::string v = InfoValue(text, key); !v.empty())
            files.push_back(v);
    for (std::size_t k = files.size() + 1;; ++k) {
        std::string v = InfoValue(text, "url" + std::to_string(k));
        if (v.empty())
            break;
        files.push_back(v);
    }
    return files;
}

TupUpgradeMethod InfoUpgradeMethod(const std::string& text) {
    const std::string v = InfoValue(text, "method");
    if (!v.empty() && v[0] == '1')
        return umUseExternalSetup;
    if (!v.empty() && v[0] == '2')
        return umRedirectToURL;
    return umSelfUpgrade;
}

int CompareVersionNumbers(const std::string& published, const std::string& own) {
    auto parts = [](std::string s) {
        std::vector<std::string> out;
        s += ".";
        for (int i = 0; i < 4; ++i) {
            const std::size_t dot = s.find('.');
            if (dot == std::string::npos) {
                out.push_back("0");
                continue;
            }
            out.push_back(s.substr(0, dot));
            s.erase(0, dot + 1);
        }
        return out;
    };
    const auto a = parts(published), b = parts(own);
    for (int i = 0; i < 4; ++i) {
        long long x, y;
        if (!toInteger(a[i], x) || !toInteger(b[i], y)) {
            const int c = std::strcmp(published.c_str(), own.c_str());
            return c > 0 ? 1 : (c < 0 ? -1 : 0);
        }
        if (x != y)
            return x > y ? 1 : -1;
    }
    return 0;
}

double ParseMonthDayYear(const std::string& text, double today) {
    const std::size_t first = text.find('/');
    if (first == std::string::npos)
        return today;
    const std::size_t second = text.find('/', first + 1);
    if (second == std::string::npos)
        return today;
    long long month, day, year;
    if (!toInteger(text.substr(0, first), month) || !toInteger(text.substr(first + 1, second - first - 1), day) ||
        !toInteger(text.substr(second + 1), year))
        return today;
    double date;
    if (month < 1 || month > 12 || day < 1 || day > 31 || year < 1 || year > 9999 ||
        !TryEncodeDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day), date))
        return today;
    return date;
}

bool IsNewerVersion(const std::string& text, TupSelfUpdaterVersionControl control,
                    const std::string& versionNumber, const std::string& versionDate, double today) {
    if (control == byNumber)
        return CompareVersionNumbers(InfoValue(text, "version"), versionNumber) > 0;
    return ParseMonthDayYear(versionDate, today) < ParseMonthDayYear(InfoValue(text, "date"), today);
}

std::string AddressFileName(const std::string& address) {
    std::string s = address;
    for (char& c : s)
        if (c == '/')
            c = '\\';
    const std::size_t cut = s.find_last_of("\\:");
    return cut == std::string::npos ? s : s.substr(cut + 1);
}
