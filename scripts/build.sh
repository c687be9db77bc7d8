#!/usr/bin/env bash
# Configures and builds into build/ (the program is build/sw52k31).
# Arguments are passed to the build (for example --target sw52k31).
# A warning in our own code fails the build (SW_WERROR, ON unless the
# environment says SW_WERROR=OFF): scripts/run.sh and scripts/test.sh build
# build/ with the same flags, so neither compiles again after the other.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
      -DSW_WERROR="${SW_WERROR:-ON}" >/dev/null
cmake --build build "$@"
