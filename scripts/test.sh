#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
cd build
# The window tests need a display; Xvfb gives them one with GLX (Mesa llvmpipe).
exec xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure -j2 "$@"
