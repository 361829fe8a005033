#include "common/size_units.h"

double SizeInUnit(std::int64_t bytes, int unit) {
    std::int64_t per = 0;
    switch (unit) {
    case suMegabytes: per = 1048576; break;
    case suKilobytes: per = 1024; break;
    case suGigabytes: per = 1073741824; break;
    default: return static_cast<double>(bytes);
    }
    // Thousandths in integers, split so that bytes * 1000 cannot overflow and nothing is
    // rounded in a double before the cut (which a total of several terabytes would be).
    std::int64_t thousandths = bytes / per * 1000 + bytes % per * 1000 / per;
    return static_cast<double>(thousandths) / 1000;
}
