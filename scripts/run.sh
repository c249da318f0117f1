#!/usr/bin/env bash
# Installs what is missing, builds the tool alone (not the tests and benchmarks) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh --target moduletool
exec ./build/moduletool "$@"
