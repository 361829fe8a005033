// Times one whole junk scan of a tree put behind drive C: of a machine root, headless.
//
//   bench_cleaner_scan TREE PATTERNS [--zero]
//
// TREE is the folder that becomes drive C:; PATTERNS is a pattern file (the shipped
// "quorCleaner.cfg.Garbage": every pattern in it is active). With --zero both zero-byte
// options are on, so every entry needs its size. Prints one line of key=value pairs:
// the scan's wall time, its counters, the rows listed, and the memory the scan added
// beyond the row texts, per row.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cleaner/cleaning_window.h"
#include "platform/posix/posix_platform.h"
#include "settings/setting.h"
#include "toolkit/headless_toolkit.h"

namespace fs = std::filesystem;

namespace {

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
long statusKb(const char* field) {
    std::ifstream f("/proc/self/status");
    std::string line;
    std::string key = std::string(field) + ":";
    while (std::getline(f, line))
        if (line.compare(0, key.size(), key) == 0)
            return std::strtol(line.c_str() + key.size(), nullptr, 10);
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TREE PATTERNS [--zero]\n", argv[0]);
        return 2;
    }
    fs::path tree = fs::absolute(argv[1]);
    fs::path patterns = fs::absolute(argv[2]);
    bool zero = argc > 3 && std::string(argv[3]) == "--zero";

    // A machine root whose drive C: is the tree, and a settings file whose pattern file
    // is the one given.
    std::string tmpl = (fs::temp_directory_path() / "quor-bench-XXXXXX").string();
    if (!::mkdtemp(tmpl.data()))
        return 1;
    fs::path root = tmpl;
    fs::create_directories(root / "dosdevices");
    fs::create_directory_symlink(tree, root / "dosdevices" / "c:");
    fs::copy_file(patterns, root / "bench.cfg.Garbage");

    int rc = 0;
    {
        platform::posix::PosixPlatform posix(root.string());
        platform::install(posix.services());
        toolkit::HeadlessToolkit tk;
        TSetting settings((root / "bench.cfg").string());
        for (TGarbage& g : settings.Garbages)
            g.Ifclean = true;
        settings.IfCleanZeroFile = zero;
        settings.IfCleanZeroDir = zero;
        settings.Directorys.Clear();
        TDirectory& c = settings.Directorys.Add();
        c.Path = "C:\\";
        c.IncludeSubDir = true;
        c.IfClean = true;
        Setting = &settings;
        TfrmCleaning form;
        form.Running = true;

        long before = statusKb("VmRSS");
        auto start = std::chrono::steady_clock::now();
        form.ScanAll(&settings);
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        long peak = statusKb("VmHWM");

        std::size_t texts = 0;
        for (const TJunkRow& r : form.Rows())
            texts += r.caption.capacity() + 1;
        std::size_t rows = form.Rows().size();
        double added = double(peak - before) * 1024.0;
        double perRow = rows ? (added - double(texts)) / double(rows) : 0;
        std::printf("patterns=%d zero=%d ms=%.1f scanned=%lld junk=%lld junkBytes=%lld rows=%zu "
                    "rssBeforeKB=%ld peakKB=%ld rowTextBytes=%zu bytesPerRowBeyondTexts=%.1f pumps=%d\n",
                    settings.Garbages.Count(), zero ? 1 : 0, ms, static_cast<long long>(form.ScanCount),
                    static_cast<long long>(form.JunkCount), static_cast<long long>(form.JunkSize), rows, before, peak,
                    texts, perRow, tk.processMessagesCalls);
        Setting = nullptr;
    }
    std::error_code ec;
    fs::remove_all(root, ec);
    return rc;
}
