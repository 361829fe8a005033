#pragma once
// The 80-bit extended-precision number of the settings stream, converted with integer
// arithmetic only, so the bytes are the same whatever `long double` is on the machine.
#include <array>
#include <cstdint>

using Extended80 = std::array<std::uint8_t, 10>;

// Little-endian: 64-bit significand with an explicit integer bit, then the 16-bit word of
// sign and 15-bit exponent (bias 16383). Exact: every double has an extended form.
Extended80 EncodeExtended(double value);
// Rounded to the nearest double (ties to even); too large gives infinity, too small zero.
double DecodeExtended(const Extended80& bytes);
