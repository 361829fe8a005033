#include "support/temp_machine.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/posix/posix_system.h"

namespace testsupport {

namespace fs = std::filesystem;

TempMachine::TempMachine(const std::string& drives) : previous_(platform::services()) {
    std::string tmpl = (fs::temp_directory_path() / "quor-machine-XXXXXX").string();
    if (!::mkdtemp(tmpl.data()))
        throw std::runtime_error("cannot make a temporary machine root");
    root_ = tmpl;
    fs::create_directories(root_ / "dosdevices");
    for (char c : drives) {
        char l = char(std::tolower(static_cast<unsigned char>(c)));
        fs::path d = root_ / "drives" / std::string(1, l);
        fs::create_directories(d);
        fs::create_directory_symlink(fs::path("..") / "drives" / std::string(1, l),
                                     root_ / "dosdevices" / (std::string(1, l) + ":"));
    }
    reload();
}

TempMachine::~TempMachine() {
    platform::install(previous_);
    platform_.reset();
    std::error_code ec;
    // Read-only folders made by a test would stop the clean-up.
    for (auto it = fs::recursive_directory_iterator(root_, fs::directory_options::skip_permission_denied, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_symlink(ec) && it->is_directory(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(root_, ec);
}

void TempMachine::reload() {
    auto next = std::make_unique<platform::posix::PosixPlatform>(root_.string());
    next->system().setEnvironment(environment_);
    platform::Services s = next->services();
    machine_.real = s.machine;
    s.machine = &machine_;
    shell_.real = s.shell;
    s.shell = &shell_;
    platform::install(s);
    platform_ = std::move(next);
}

void TempMachine::setEnvironment(const std::string& name, const std::string& value) {
    environment_[name] = value;
    platform_->system().setEnvironment(environment_);
}

fs::path TempMachine::drive(char letter) const {
    return root_ / "drives" / std::string(1, char(std::tolower(static_cast<unsigned char>(letter))));
}

fs::path TempMachine::native(const std::string& drivePath) const {
    return fs::path(platform_->driveMap().toNative(drivePath));
}

fs::path TempMachine::writeFile(const std::string& drivePath, const std::string& content) {
    fs::path p = native(drivePath);
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p;
}

fs::path TempMachine::makeDir(const std::string& drivePath) {
    fs::path p = native(drivePath);
    fs::create_directories(p);
    return p;
}

std::string TempMachine::readFile(const std::string& drivePath) const {
    std::ifstream f(native(drivePath), std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

} // namespace testsupport
