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

# The window tests need a display: a private Xvfb (GLX through Mesa llvmpipe) on the
# first free display number, stopped again when the suite ends.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done
export DISPLAY=":$display"
ctest --output-on-failure -j2 "$@"

# The whole suite also runs every fuzz target for a short fixed time on its seed corpus
# (clang, a build tree of its own); a run for chosen tests leaves them out.
if [ $# -eq 0 ] && [ "${TOOL_SKIP_FUZZ:-0}" != 1 ]; then
  cd ..
  scripts/fuzz.sh
fi
