// Listing a folder of many entries in the analyzer, headless, warm cache.
//
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUOR_BUILD_QT=OFF
//   cmake --build build/bench --target bench_entry_list
//   build/bench/bench/bench_entry_list [entries=100000] [repetitions=5]
//
// A temporary machine root gets a folder of `entries` files (one in a hundred a folder) on
// drive C:. Each repetition times what opening that folder costs the user: the
// enumeration, the shell's sort and the details of the first screen (40 rows drawn).
// Then it scrolls the first 2,000 rows a screen at a time and counts the entries whose
// details were fetched, and reports the heap taken per listed entry
// beyond the bytes of its name.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "analyzer/analyzer_window.h"
#include "platform/posix/posix_platform.h"
#include "toolkit/headless_toolkit.h"

namespace fs = std::filesystem;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::size_t heapInUse() {
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

} // namespace

int main(int argc, char** argv) {
    int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    int repetitions = argc > 2 ? std::atoi(argv[2]) : 5;
    std::string tmpl = (fs::temp_directory_path() / "quor-bench-XXXXXX").string();
    if (!::mkdtemp(tmpl.data()))
        return 1;
    fs::path root = tmpl;
    fs::create_directories(root / "dosdevices");
    fs::create_directories(root / "drives/c/big");
    fs::create_directory_symlink("../drives/c", root / "dosdevices/c:");
    std::size_t nameBytes = 0;
    for (int i = 0; i < entries; ++i) {
        // Names in no particular order, so the sort has work to do.
        char name[64];
        unsigned k = unsigned(i) * 2654435761u;
        std::snprintf(name, sizeof name, "entry_%08x_%d%s", k, i, i % 100 ? ".txt" : "");
        nameBytes += std::strlen(name);
        if (i % 100 == 0)
            fs::create_directory(root / "drives/c/big" / name);
        else
            std::ofstream(root / "drives/c/big" / name) << "x";
    }

    {
        platform::posix::PosixPlatform posix(root.string());
        platform::install(posix.services());
        toolkit::HeadlessToolkit tk;
        TFrm_Main w;
        w.show();

        const int screen = 40;
        std::vector<double> times;
        for (int r = 0; r < repetitions + 1; ++r) {
            w.BrowseToPath("C:\\");
            auto t0 = std::chrono::steady_clock::now();
            w.BrowseToPath("C:\\big");
            w.ListView.onDataHint(0, screen - 1);
            for (int i = 0; i < screen; ++i)
                (void)w.ListView.item(i);
            double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            if (r > 0) // the first one warms the cache
                times.push_back(t);
        }
        std::printf("entries listed: %zu\n", w.ShellItems().size());
        std::printf("open the folder (enumerate, sort, first %d rows' details): median %.3f s of %d\n", screen,
                    median(times), repetitions);

        // Scrolling: the rows drawn ask for their details, the others never do.
        w.BrowseToPath("C:\\big");
        const int scrolled = std::min(2000, entries);
        for (int top = 0; top < scrolled; top += screen) {
            int last = std::min(top + screen, scrolled) - 1;
            w.ListView.onDataHint(top, last);
            for (int i = top; i <= last; ++i)
                (void)w.ListView.item(i);
        }
        long fetched = 0;
        for (const TShellItem& i : w.ShellItems())
            fetched += i.NeedsDetails ? 0 : 1;
        std::printf("scrolled %d rows a screen at a time: %ld entries fetched their details, of %zu\n", scrolled,
                    fetched, w.ShellItems().size());

        // Memory: the heap the listing holds, from My Computer to the big folder.
        w.BrowseToPath("C:\\");
        malloc_trim(0);
        std::size_t before = heapInUse();
        w.BrowseToPath("C:\\big");
        std::size_t after = heapInUse();
        double perEntry = double(after - before) / double(entries);
        double namePart = double(nameBytes) / double(entries);
        std::printf("heap per listed entry: %.1f bytes, of which its name %.1f: %.1f bytes beyond the name\n",
                    perEntry, namePart, perEntry - namePart);
        std::printf("  (the name is held twice, in the row and in its identifier: %.1f bytes beyond both)\n",
                    perEntry - 2 * namePart);
        platform::install({});
    }
    fs::remove_all(root);
    return 0;
}
