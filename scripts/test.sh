#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite headless.
# The suite runs on a Debug build with AddressSanitizer and UBSan, in build-test/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
BUILD_DIR=build-test BUILD_TYPE=Debug scripts/build.sh -DTOOL_SANITIZE=ON
cd build-test
# Qt and the graphics stack keep some allocations until exit; only real memory errors count.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The window tests need a display; Xvfb gives them one with GLX (Mesa llvmpipe).
exec xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure -j2 "$@"
