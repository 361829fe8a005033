// Emptying a folder of many files as the privacy wipe does, against `rm` of the same
// files: what the look at the files running programs hold open costs.
//
//   cmake --build --preset debug --target bench_wipe_folder     (or a release build)
//   build/debug/bench/bench_wipe_folder [files=2000] [repetitions=5]
//
// Each repetition makes `files` small files and one folder of as many in a temporary
// machine root and times WipeFolderContents over it; then the same files again, deleted
// with one unlink each and no look. The medians are printed. Run it when the machine is idle.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/posix/posix_platform.h"
#include "wipe/wipe_steps.h"

namespace fs = std::filesystem;

namespace {

void makeFiles(const fs::path& dir, int n) {
    fs::create_directories(dir / "sub");
    for (int i = 0; i < n; ++i) {
        std::ofstream(dir / ("f" + std::to_string(i))) << "x";
        std::ofstream(dir / "sub" / ("g" + std::to_string(i))) << "x";
    }
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    int files = argc > 1 ? std::atoi(argv[1]) : 2000;
    int reps = argc > 2 ? std::atoi(argv[2]) : 5;
    std::string tmpl = (fs::temp_directory_path() / "quor-bench-XXXXXX").string();
    if (!::mkdtemp(tmpl.data()))
        return 1;
    fs::path root = tmpl;
    fs::create_directories(root / "dosdevices");
    fs::create_directories(root / "c");
    fs::create_directory_symlink("../c", root / "dosdevices/c:");
    platform::posix::PosixPlatform p(root.string());
    platform::install(p.services());

    std::vector<double> wipe, plain;
    for (int r = 0; r < reps; ++r) {
        makeFiles(root / "c/t", files);
        auto t0 = std::chrono::steady_clock::now();
        WipeFolderContents("C:\\t");
        wipe.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());

        makeFiles(root / "c/t", files);
        t0 = std::chrono::steady_clock::now();
        for (const auto& e : fs::recursive_directory_iterator(root / "c/t"))
            if (e.is_regular_file())
                ::unlink(e.path().c_str());
        plain.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        fs::remove_all(root / "c/t");
    }
    std::printf("%d files at the top and %d in a subfolder, %d repetitions\n", files, files, reps);
    std::printf("WipeFolderContents  %.3f s\nunlink alone        %.3f s\nratio               %.1f\n", median(wipe),
                median(plain), median(wipe) / median(plain));
    fs::remove_all(root);
    return 0;
}
