#pragma once
// Mount points for tests: a fresh tmpfs or a bind mount inside a temporary machine root,
// made in a private mount namespace of the test process so that nothing outlives it and
// nothing outside the process sees it. Needs the right to make mounts (root, or a user
// namespace); tests skip when it is missing.
#include <string>

namespace testsupport {

class MountStandIn {
public:
    // Mounts an empty tmpfs on `nativeFolder` (which must exist).
    static MountStandIn tmpfs(const std::string& nativeFolder);
    // Bind-mounts `source` on `nativeFolder`. Only ever with folders inside a test's
    // machine root: a walk that did enter the mount would loop or reach `source`.
    static MountStandIn bind(const std::string& source, const std::string& nativeFolder);

    MountStandIn(MountStandIn&& o) noexcept : target_(std::move(o.target_)) { o.target_.clear(); }
    MountStandIn(const MountStandIn&) = delete;
    MountStandIn& operator=(const MountStandIn&) = delete;
    ~MountStandIn(); // unmounts

    bool ok() const { return !target_.empty(); }
    // Why no mount could be made, for GTEST_SKIP.
    static std::string lastFailure();

private:
    explicit MountStandIn(std::string target) : target_(std::move(target)) {}
    std::string target_;
};

} // namespace testsupport
