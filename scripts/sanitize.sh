#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in
# ./build-asan and runs every test there, leak detection on. Any report ends
# the process that made it with an error, so the test fails. Arguments go to
# ctest (e.g. -R tst_documents).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --packages-only

build_type=${VARKEL_BUILD_TYPE:-RelWithDebInfo}
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE="$build_type" -DVARKEL_SANITIZE=address,undefined >/dev/null
# The test discovery runs the test program while building: it is checked too.
export ASAN_OPTIONS="detect_leaks=1:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"
cmake --build build-asan -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-asan --output-on-failure -j"$(nproc)" "$@"
