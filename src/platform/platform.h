#pragma once
// The services the system reaches the operating system through. One set is installed for
// the process (the real one in the program, fixtures and recorders in tests).
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/system.h"

namespace platform {

struct Services {
    FileSystem* files = nullptr;
    System* system = nullptr;
    Shell* shell = nullptr;
};

// The installed services; installing replaces the previous set (tests restore it).
Services& services();
void install(const Services& s);

inline FileSystem& files() { return *services().files; }
inline System& sys() { return *services().system; }
inline Shell& shell() { return *services().shell; }

// Drive path <-> native path through the installed drive map.
std::string toNative(const std::string& path);
std::string toDrivePath(const std::string& native);

} // namespace platform
