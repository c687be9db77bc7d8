#!/usr/bin/env bash
# Installs what is missing (the BACnet judges' npm packages too), checks that every source is formatted as
# .clang-format says (scripts/format.sh), builds and runs every test: the normal build
# (build/), the program built with link-time optimisation so that a
# one-definition-rule violation fails (build-odr/), the whole suite again with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), and a short
# run of every fuzz target (build-fuzz/). This is what CI runs.
#
#   bash scripts/test.sh           everything
#   bash scripts/test.sh --quick   the normal build and its tests only
#
# FUZZ_SMOKE_SECONDS sets the time of each fuzz target (default 5). clang and
# llvm are installed only for the stages that use them (not with --quick).
# Every build compiles through ccache when it is there (cmake/CompilerCache.cmake),
# so a repeat run on the same machine, in any folder, compiles little.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
[ "${1:-}" = "--quick" ] && quick=1

step() { printf '\n=== %s (%s)\n' "$1" "$(date +%T)"; }

step "dependencies"
bash scripts/install-deps.sh

step "BACnet judge packages"
# The judges' BACnet stack, as tests/bacnet/judges/package-lock.json pins it. When it
# cannot be installed the run goes on, and the judge tests fail saying so.
(cd tests/bacnet/judges && npm ci --prefer-offline --no-audit --no-fund) ||
  echo "npm ci failed in tests/bacnet/judges: the BACnet judge tests will fail." >&2

step "format"
bash scripts/format.sh --check

step "build and tests"
bash scripts/build.sh
(cd build && ctest --output-on-failure --timeout 900 -j2)
[ $quick -eq 1 ] && exit 0

step "one-definition-rule check"
bash scripts/odr_check.sh

step "sanitizer and fuzz dependencies"
bash scripts/install-deps.sh --sanitizers

step "sanitizer build and tests"
bash scripts/sanitize.sh

step "fuzz smoke"
bash scripts/fuzz.sh "${FUZZ_SMOKE_SECONDS:-5}"
step "done"
