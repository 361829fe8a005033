#pragma once
// Starting a process that the program does not wait for.
#include <string>
#include <vector>

namespace platform::posix {

// Starts `argv` (argv[0] is the program: a path, or with `searchPath` a name looked up on
// PATH) through posix_spawn, with no shell, standard streams on /dev/null, a session of
// its own and the default signal dispositions. Returns at once: 0, or the errno of the
// failed start (a missing program, no right to run it, not a format the kernel runs).
int startDetached(const std::vector<std::string>& argv, bool searchPath);

} // namespace platform::posix
