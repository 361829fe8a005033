#pragma once
// The sort helpers of the list columns.
#include <string>

// -1, 0 or 1.
int SignOf(double x);
// The leading decimal digits of `text`; "0" when it begins with none.
std::string LeadingDigits(const std::string& text);
