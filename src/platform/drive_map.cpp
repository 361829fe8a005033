#include "platform/drive_map.h"

#include <algorithm>

#include "common/ascii_text.h"

namespace platform {

void DriveMap::set(char letter, std::string nativeRoot, std::uint8_t type) {
    letter = AsciiUpper(letter);
    if (letter < 'C' || letter > 'Z')
        return;
    while (nativeRoot.size() > 1 && nativeRoot.back() == '/')
        nativeRoot.pop_back();
    if (nativeRoot.empty())
        nativeRoot = "/";
    Drive d{letter, std::move(nativeRoot), type};
    auto it = std::find_if(drives_.begin(), drives_.end(), [&](const Drive& x) { return x.letter >= letter; });
    if (it != drives_.end() && it->letter == letter)
        *it = std::move(d);
    else
        drives_.insert(it, std::move(d));
}

const Drive* DriveMap::find(char letter) const {
    letter = AsciiUpper(letter);
    for (const auto& d : drives_)
        if (d.letter == letter)
            return &d;
    return nullptr;
}

bool DriveMap::isDrivePath(const std::string& path) {
    if (path.size() < 2 || path[1] != ':')
        return false;
    char c = AsciiUpper(path[0]);
    return c >= 'A' && c <= 'Z';
}

std::string DriveMap::toNative(const std::string& path) const {
    if (!isDrivePath(path))
        return path;
    const Drive* d = find(path[0]);
    if (!d)
        return {};
    std::string rest = path.substr(2);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    while (!rest.empty() && rest.front() == '/')
        rest.erase(rest.begin());
    if (rest.empty())
        return d->nativeRoot;
    if (d->nativeRoot == "/")
        return "/" + rest;
    return d->nativeRoot + "/" + rest;
}

std::string DriveMap::toDrivePath(const std::string& native) const {
    const Drive* best = nullptr;
    for (const auto& d : drives_) {
        const std::string& r = d.nativeRoot;
        bool under = (r == "/") ? (!native.empty() && native[0] == '/')
                                : (native.compare(0, r.size(), r) == 0 &&
                                   (native.size() == r.size() || native[r.size()] == '/'));
        if (under && (!best || r.size() > best->nativeRoot.size()))
            best = &d;
    }
    if (!best)
        return native;
    std::string rest = best->nativeRoot == "/" ? native : native.substr(best->nativeRoot.size());
    std::replace(rest.begin(), rest.end(), '/', '\\');
    while (!rest.empty() && rest.front() == '\\')
        rest.erase(rest.begin());
    // A trailing separator is dropped, except for the drive root itself.
    while (!rest.empty() && rest.back() == '\\')
        rest.pop_back();
    return std::string(1, best->letter) + ":\\" + rest;
}

} // namespace platform
