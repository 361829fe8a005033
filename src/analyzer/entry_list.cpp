#include "analyzer/entry_list.h"

#include "common/ascii_text.h"

#include <climits>
#include <cstdio>

int SortColumn = 0;
bool SortDescending = true;

namespace {

template <class T>
int sign(T a, T b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

bool beginsWith(const std::string& name, const std::string& prefix) {
    if (name.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (AsciiUpper(name[i]) != AsciiUpper(prefix[i]))
            return false;
    return true;
}

} // namespace

std::int32_t SizeKBOf(std::uint64_t length) {
    std::uint64_t kb = length / 1024 + (length % 1024 ? 1 : 0);
    if (kb == 0)
        return 1;
    return kb > std::uint64_t(INT32_MAX) ? INT32_MAX : std::int32_t(kb);
}

std::string SizeText(std::int64_t kilobytes) {
    static const char* const units[] = {"KB", "MB", "GB", "TB", "TTB"};
    if (kilobytes <= 1024)
        return std::to_string(kilobytes) + units[0];
    std::uint64_t k = std::uint64_t(kilobytes), divisor = 1;
    std::size_t u = 0;
    while (k / divisor > 1024 && u + 1 < std::size(units)) {
        divisor *= 1024;
        ++u;
    }
    std::uint64_t whole = k / divisor;
    std::uint64_t hundredths = (k % divisor) * 100 / divisor;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%llu.%02llu%s", static_cast<unsigned long long>(whole),
                  static_cast<unsigned long long>(hundredths), units[u]);
    return buf;
}

std::string AttributeLetters(std::uint32_t a) {
    std::string s;
    if (a & platform::FA_READONLY) s += 'R';
    if (a & platform::FA_HIDDEN) s += 'H';
    if (a & platform::FA_SYSTEM) s += 'S';
    if (a & platform::FA_ARCHIVE) s += 'A';
    return s;
}

std::string DriveTextOf(const std::string& pathBoxText, const std::string& caption) {
    if (pathBoxText.compare(0, 2, "::") == 0 || pathBoxText == "My Computer") {
        if (caption.size() >= 4 && caption.compare(caption.size() - 2, 2, ":)") == 0)
            return caption.substr(caption.size() - 3, 2) + "\\";
        return {};
    }
    std::string s = AsciiUpper(pathBoxText);
    if (s.empty() || s.back() != '\\')
        s += '\\';
    return s;
}

int CompareEntries(const TShellItem& a, const TShellItem& b, int column) {
    switch (column) {
    case 0: return CompareText(a.DisplayName, b.DisplayName);
    case 1: return sign(a.IsFolder ? 0 : a.SizeKB, b.IsFolder ? 0 : b.SizeKB);
    case 2: return CompareText(a.TypeName, b.TypeName);
    case 3: return sign(a.LastWriteTime, b.LastWriteTime);
    case 4: return sign(AttributeLetters(std::uint32_t(a.Attributes)).compare(AttributeLetters(std::uint32_t(b.Attributes))), 0);
    default: return 0;
    }
}

int FindEntryByPrefix(const std::vector<TShellItem>& items, const std::string& text, int start, bool wrap) {
    int n = int(items.size());
    if (n == 0)
        return -1;
    if (start < 0 || start >= n)
        start = 0;
    int i = start;
    do {
        if (beginsWith(items[std::size_t(i)].DisplayName, text))
            return i;
        if (++i == n) {
            if (!wrap)
                return -1;
            i = 0;
        }
    } while (i != start);
    return -1;
}
