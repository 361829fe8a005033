// A small program for the replacement tests: it notes each run (its own file name and its
// arguments) in "runs.txt" beside itself; started with "--hold" it keeps running until a
// file "release" appears there, so its executable stays busy as a running program's does.
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    const fs::path folder = self.parent_path();
    std::string line = self.filename().string();
    bool hold = false;
    for (int i = 1; i < argc; ++i) {
        line += std::string(" ") + argv[i];
        hold = hold || std::string(argv[i]) == "--hold";
    }
    {
        std::ofstream(folder / "runs.txt", std::ios::app) << line << "\n";
    }
    if (hold) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!fs::exists(folder / "release") && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}
