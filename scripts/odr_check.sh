#!/usr/bin/env bash
# Builds the program with GCC and link-time optimisation into build-odr/ (CMake
# option SW_ODR_CHECK): at the link GCC compares the types and inline functions
# that more than one source defines, and two different definitions under one
# name (a one-definition-rule violation) fail the build. Only the program is
# built, unoptimised: the check needs every source once, not the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-odr -G Ninja -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Debug -DSW_ODR_CHECK=ON \
  -DSW_BUILD_TESTS=OFF -DSW_BUILD_BENCH=OFF >/dev/null
cmake --build build-odr --target sw52k31 -j 2
