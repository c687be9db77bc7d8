#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer
# (clang) into build-asan/ and runs every test there. Any memory error, leak
# or undefined behaviour fails the test that met it. Only what the tests use is
# built: no benchmarks, no screenshot programs.
set -euo pipefail
cd "$(dirname "$0")/.."

# The runtime's settings, also for the programs the tests start.
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"

# LeakSanitizer stops the threads of the program it checks with ptrace; a
# container without that right makes every test fail at exit. Then the leak
# check alone is switched off, and said so.
probe=$(mktemp -d)
printf 'int main() { return 0; }\n' >"$probe/probe.cpp"
if clang++ -fsanitize=address "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null &&
  ! "$probe/probe" 2>&1 | grep -q "LeakSanitizer has encountered a fatal error"; then
  :
else
  echo "LeakSanitizer cannot run here (no ptrace?): leak checks are off for this run" >&2
  ASAN_OPTIONS="${ASAN_OPTIONS/detect_leaks=1/detect_leaks=0}"
fi
rm -rf "$probe"

cmake -S . -B build-asan -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSW_SANITIZE=ON -DSW_BUILD_BENCH=OFF -DSW_BUILD_SCREENSHOTS=OFF >/dev/null
cmake --build build-asan -j 2
cd build-asan
ctest --output-on-failure --timeout 900 -j2 "$@"
