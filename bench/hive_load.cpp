// Times the loading of a hive that holds one binary value continued over many lines, as
// the exporter writes a large value (25 bytes a line, each line but the last ending in
// ",\").
//
//   bench_hive_load [LINES...]      (default: 16000 32000)
//
// Prints one line of key=value pairs per size: the lines, the hive's bytes, the best
// wall time of five loads in milliseconds, and whether the value came back whole.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/hive_registry.h"

namespace {

std::string hiveOf(int lines, std::size_t& valueBytes) {
    static const char* hex = "0123456789abcdef";
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Bench]\r\n"
                       "\"Blob\"=hex:";
    valueBytes = 0;
    for (int l = 0; l < lines; ++l) {
        if (l > 0)
            text += "  ";
        for (int b = 0; b < 25; ++b) {
            unsigned byte = unsigned(l * 25 + b) % 251;
            text += hex[byte >> 4];
            text += hex[byte & 15];
            ++valueBytes;
            if (b < 24 || l + 1 < lines)
                text += ',';
        }
        text += l + 1 < lines ? "\\\r\n" : "\r\n";
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {16000, 32000};
    for (int lines : sizes) {
        std::size_t valueBytes;
        std::string hive = hiveOf(lines, valueBytes);
        double best = 1e300;
        bool whole = true;
        for (int run = 0; run < 5; ++run) {
            platform::HiveRegistry r;
            auto t0 = std::chrono::steady_clock::now();
            bool ok = r.load(hive);
            auto t1 = std::chrono::steady_clock::now();
            best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
            auto v = r.readValue(platform::RegistryRoot::LocalMachine, "SOFTWARE\\Bench", "Blob");
            whole = whole && ok && v && v->data.size() == valueBytes;
        }
        std::printf("lines=%d hive_bytes=%zu best_ms=%.2f whole=%s\n", lines, hive.size(), best, whole ? "yes" : "no");
    }
    return 0;
}
