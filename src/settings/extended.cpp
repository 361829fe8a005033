#include "settings/extended.h"

#include <bit>

namespace {

constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;

std::uint64_t bitsOf(double d) { return std::bit_cast<std::uint64_t>(d); }
double fromBits(std::uint64_t b) { return std::bit_cast<double>(b); }

} // namespace

Extended80 EncodeExtended(double value) {
    std::uint64_t b = bitsOf(value);
    bool negative = b >> 63;
    int exponent = int((b >> 52) & 0x7FF);
    std::uint64_t fraction = b & ((std::uint64_t(1) << 52) - 1);

    std::uint64_t significand = 0;
    int e = 0;
    if (exponent == 0x7FF) { // infinity or NaN
        e = 0x7FFF;
        significand = (std::uint64_t(1) << 63) | (fraction << 11);
    } else if (exponent != 0) {
        e = exponent - kDoubleBias + kExtendedBias;
        significand = (std::uint64_t(1) << 63) | (fraction << 11);
    } else if (fraction != 0) { // a subnormal double is a normal extended number
        int shift = std::countl_zero(fraction);
        significand = fraction << shift;
        e = kExtendedBias + 63 - 1074 - shift;
    }

    Extended80 out{};
    for (int i = 0; i < 8; ++i)
        out[i] = std::uint8_t(significand >> (8 * i));
    std::uint16_t top = std::uint16_t(e | (negative ? 0x8000 : 0));
    out[8] = std::uint8_t(top);
    out[9] = std::uint8_t(top >> 8);
    return out;
}

double DecodeExtended(const Extended80& in) {
    std::uint64_t m = 0;
    for (int i = 0; i < 8; ++i)
        m |= std::uint64_t(in[i]) << (8 * i);
    std::uint16_t top = std::uint16_t(in[8] | (in[9] << 8));
    std::uint64_t sign = std::uint64_t(top >> 15) << 63;
    int e = top & 0x7FFF;

    if (e == 0x7FFF) {
        if ((m << 1) == 0)
            return fromBits(sign | (std::uint64_t(0x7FF) << 52));
        return fromBits(sign | (std::uint64_t(0x7FF) << 52) | (std::uint64_t(1) << 51) | ((m << 1) >> 12));
    }
    if (m == 0)
        return fromBits(sign);

    // value = m * 2^(e - bias - 63); an exponent field of 0 counts as 1 (denormals).
    int shiftToTop = std::countl_zero(m);
    m <<= shiftToTop;
    int exp2 = (e == 0 ? 1 : e) - kExtendedBias - shiftToTop; // value = (m / 2^63) * 2^exp2

    if (exp2 > kDoubleBias)
        return fromBits(sign | (std::uint64_t(0x7FF) << 52));

    // Keep 53 bits for a normal double, fewer for a subnormal one.
    int drop = 11;
    if (exp2 < 1 - kDoubleBias)
        drop += (1 - kDoubleBias) - exp2;
    if (drop > 64)
        return fromBits(sign);
    std::uint64_t kept = drop == 64 ? 0 : m >> drop;
    std::uint64_t rest = drop == 64 ? m : m & ((std::uint64_t(1) << drop) - 1);
    std::uint64_t half = std::uint64_t(1) << (drop - 1);
    if (rest > half || (rest == half && (kept & 1)))
        ++kept;

    if (exp2 < 1 - kDoubleBias) // subnormal: a carry into bit 52 makes it the smallest normal
        return fromBits(sign | kept);
    if (kept >> 53) { // rounding carried out of the significand
        kept >>= 1;
        ++exp2;
        if (exp2 > kDoubleBias)
            return fromBits(sign | (std::uint64_t(0x7FF) << 52));
    }
    return fromBits(sign | (std::uint64_t(exp2 + kDoubleBias) << 52) | (kept & ((std::uint64_t(1) << 52) - 1)));
}
