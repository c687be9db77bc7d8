#!/usr/bin/env bash
# Configures and builds into build/ (the program is build/sw52k31).
# Arguments are passed to the build (for example --target sw52k31).
# SW_WERROR=ON makes a warning in our own code fail the build (the tests do).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
      -DSW_WERROR="${SW_WERROR:-OFF}" >/dev/null
cmake --build build "$@"
