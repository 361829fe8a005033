#include "platform/platform.h"

namespace platform {

namespace {
Services g_services;
} // namespace

Services& services() { return g_services; }
void install(const Services& s) { g_services = s; }

std::string toNative(const std::string& path) { return sys().driveMap().toNative(path); }
std::string toDrivePath(const std::string& native) { return sys().driveMap().toDrivePath(native); }

} // namespace platform
