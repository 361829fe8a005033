#pragma once
// Path rules: drive paths ("C:\dir\name") and native ones ("/dir/name").
#include <string>

// `folder` + "\" + `name` (with "/" for a native folder), without doubling a separator.
std::string JoinPath(const std::string& folder, const std::string& name);

// "D:\" for a path on drive D (the two characters that end at the first ":", then "\");
// "My Computer" for a path without ":".
std::string DriveRootOf(const std::string& path);
