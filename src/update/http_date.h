#pragma once
// The date of an HTTP header (Date, Last-Modified, Expires) as a local date-time value.
#include <string>

// Accepts the three forms servers send ("Sun, 06 Nov 1994 08:49:37 GMT",
// "Sunday, 06-Nov-94 08:49:37 GMT", "Sun Nov  6 08:49:37 1994") and a numeric zone such as
// "+0800"; 0 for an empty text or one that names no real moment.
double ParseHttpDate(const std::string& text);
