#!/usr/bin/env bash
# Fails when a core or toolkit source includes a Qt, POSIX or Windows header.
set -u
src=${1:?usage: check_core_headers.sh SRC_DIR}
hits=$(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) \
        ! -path "$src/qt/*" ! -path "$src/platform/posix/*" ! -path "$src/platform/win32/*" -print0 |
       xargs -0 grep -HnE '^\s*#\s*include\s*[<"](Q[A-Za-z]|qt|unistd\.h|dirent\.h|fcntl\.h|pthread\.h|sys/|curl/|windows\.h|signal\.h|pwd\.h|mntent\.h|dlfcn\.h)' )
if [ -n "$hits" ]; then
  echo "operating-system or Qt headers outside the front end and platform implementations:"
  echo "$hits"
  exit 1
fi
exit 0
