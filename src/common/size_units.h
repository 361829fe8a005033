#pragma once
// Size units of the size figures.
#include <cstdint>

// Size unit codes; any other code gives bytes.
enum TSizeUnit : int {
    suMegabytes = 0,
    suKilobytes = 1,
    suBytes = 2,
    suGigabytes = 3,
};

// A byte total in a unit, truncated to three decimals: suMegabytes, suKilobytes,
// suGigabytes, any other code bytes.
double SizeInUnit(std::int64_t bytes, int unit);
