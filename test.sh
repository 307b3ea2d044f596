#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: as built, and
# built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

jobs=2
cmake -S . -B build -DTEVOL_BUILD_TESTS=ON -DTEVOL_BUILD_BENCH=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

# The sanitizer build covers the calculators and their tests; a finding fails
# the run (no recovery, leaks reported).
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-sanitize -DTEVOL_SANITIZE=ON -DTEVOL_BUILD_LAUNCHER=OFF -DTEVOL_BUILD_TESTS=ON
cmake --build build-sanitize -j"$jobs"
ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# The Windows build (mingw-w64), its whole-process tests under wine against
# the same fixtures, and its ZIP.
scripts/test-windows.sh build
