#include "support/program_folder.h"

namespace testsupport {

ProgramFolderAt::ProgramFolderAt(std::string folder)
    : folder_(std::move(folder)), previous_(platform::services()), inner_(previous_.system) {
    platform::files().createDirectory(folder_);
    platform::Services s = previous_;
    s.system = this;
    platform::install(s);
}

ProgramFolderAt::~ProgramFolderAt() { platform::install(previous_); }

} // namespace testsupport
