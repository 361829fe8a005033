// The folder pie of a tree's root against the size engine's pooled walk of the same tree,
// warm cache, headless, and the longest pause between two message pumps while the pie builds.
//
//   ../shared/bench/make_tree.sh /tmp/tree               # about 200,000 files; not in git
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUOR_BUILD_QT=OFF
//   cmake --build build/bench --target bench_folder_pie
//   build/bench/bench/bench_folder_pie /tmp/tree [repetitions=7] [workers=2]
//
// The tree becomes drive C: of a temporary machine root. Each repetition times
// FolderSize("C:\", bytes) and the pie of "C:\" (a slice per entry of the root, the
// subfolders sized by the same engine in one walk, grouped at 14 %) in turn; the medians
// and their ratio are printed.
// Run it when the machine is idle.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "analyzer/size_engine.h"
#include "analyzer/space_chart.h"
#include "platform/platform.h"
#include "platform/posix/posix_platform.h"
#include "toolkit/chart.h"
#include "toolkit/form.h"
#include "toolkit/headless_toolkit.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double seconds(const std::function<void()>& fn) {
    auto t0 = Clock::now();
    fn();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Notes the longest time between two pumps while `watching`.
struct PumpWatch : toolkit::HeadlessToolkit {
    bool watching = false;
    Clock::time_point last;
    double longest = 0;
    void start() {
        watching = true;
        last = Clock::now();
    }
    void stop() {
        note();
        watching = false;
    }
    void note() {
        auto now = Clock::now();
        longest = std::max(longest, std::chrono::duration<double>(now - last).count());
        last = now;
    }
    void processMessages() override {
        if (watching)
            note();
        HeadlessToolkit::processMessages();
    }
};

struct PieForm : toolkit::Form {
    PieForm() : Form("TPieForm"), Chart_Dir(this, "Chart_Dir"), Series1(Chart_Dir, "Series1"), Pb_Process(this, "Pb_Process") {}
    toolkit::Chart Chart_Dir;
    toolkit::PieSeries Series1;
    toolkit::ProgressBar Pb_Process;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s TREE [repetitions] [workers]\n", argv[0]);
        return 2;
    }
    std::string tree = fs::absolute(argv[1]).lexically_normal().string();
    if (!tree.empty() && tree.back() == '/')
        tree.pop_back();
    int reps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    int workers = argc > 3 ? std::max(1, std::atoi(argv[3])) : 2;

    std::string tmpl = (fs::temp_directory_path() / "quor-bench-XXXXXX").string();
    if (!::mkdtemp(tmpl.data()))
        return 1;
    fs::path root = tmpl;
    fs::create_directories(root / "dosdevices");
    fs::create_directory_symlink(tree, root / "dosdevices" / "c:");

    platform::posix::PosixPlatform machine(root.string());
    platform::install(machine.services());
    PumpWatch tk;
    PieForm form;
    FolderPie pie(form.Series1, &form.Pb_Process);
    SetSizeWorkers(workers);

    double bytes = FolderSize("C:\\", suBytes, &form.Pb_Process); // warms the cache
    pie.build("C:\\", 14, false);
    std::vector<double> walkTimes, pieTimes;
    for (int i = 0; i < reps; ++i) {
        walkTimes.push_back(seconds([&] { bytes = FolderSize("C:\\", suBytes, &form.Pb_Process); }));
        tk.start();
        pieTimes.push_back(seconds([&] { pie.build("C:\\", 14, false); }));
        tk.stop();
    }
    double walk = median(walkTimes), built = median(pieTimes);
    std::printf("tree             %s (%.0f bytes), %d workers, %d repetitions\n", tree.c_str(), bytes, workers, reps);
    std::printf("pooled walk      median %7.1f ms\n", walk * 1000);
    std::printf("folder pie       median %7.1f ms = %.2f x the walk; %d slices, %zu drawn; %.3f MB in slices\n",
                built * 1000, built / walk, form.Series1.count(), form.Series1.slices().size(), form.Series1.total());
    std::printf("longest pause between pumps while the pie builds: %.1f ms\n", tk.longest * 1000);

    std::error_code ec;
    fs::remove_all(root, ec); // only the machine root and its link, never the tree
    return 0;
}
