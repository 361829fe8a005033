#pragma once
// The replacement program, carried inside the executable: its bytes are put in at build time.
#include <cstddef>

const unsigned char* EmbeddedReplacer();
std::size_t EmbeddedReplacerSize();
