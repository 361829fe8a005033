#pragma once
// The services the system reaches the operating system through. One set is installed for
// the process (the real one in the program, fixtures and recorders in tests).
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/http.h"
#include "platform/machine.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/shell_namespace.h"
#include "platform/system.h"
#include "platform/text_codec.h"
#include "platform/version_info.h"

namespace platform {

struct Services {
    FileSystem* files = nullptr;
    System* system = nullptr;
    Shell* shell = nullptr;
    Clock* clock = nullptr;
    Machine* machine = nullptr;
    Registry* registry = nullptr;
    Http* http = nullptr;
    TextCodec* text = nullptr;
    VersionInfo* version = nullptr;
    ShellNamespace* shellNamespace = nullptr;
};

// The installed services; installing replaces the previous set (tests restore it).
Services& services();
void install(const Services& s);

inline FileSystem& files() { return *services().files; }
inline System& sys() { return *services().system; }
inline Shell& shell() { return *services().shell; }
inline Clock& clock() { return *services().clock; }
inline Machine& machine() { return *services().machine; }
inline Registry& registry() { return *services().registry; }
inline Http& http() { return *services().http; }
inline TextCodec& text() { return *services().text; }
inline VersionInfo& versionInfo() { return *services().version; }
inline ShellNamespace& shellNamespace() { return *services().shellNamespace; }

// Drive path <-> native path through the installed drive map.
std::string toNative(const std::string& path);
std::string toDrivePath(const std::string& native);

} // namespace platform
