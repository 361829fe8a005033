#include "common/sort_keys.h"

int SignOf(double x) { return x < 0 ? -1 : x > 0 ? 1 : 0; }

std::string LeadingDigits(const std::string& text) {
    size_t n = 0;
    while (n < text.size() && text[n] >= '0' && text[n] <= '9')
        ++n;
    return n == 0 ? "0" : text.substr(0, n);
}
