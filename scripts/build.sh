#!/usr/bin/env bash
# Configures and builds into ./build (or $BUILD_DIR), everything or only the targets named
# with --target (for example `scripts/build.sh --target moduletool`). Other arguments go to
# the configuration (`scripts/build.sh -DTOOL_SANITIZE=ON`).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
targets=()
options=()
while [ $# -gt 0 ]; do
  case $1 in
    --target)
      [ $# -ge 2 ] || { echo "build.sh: --target needs a name" >&2; exit 2; }
      targets+=(--target "$2")
      shift 2
      ;;
    --target=*)
      targets+=(--target "${1#--target=}")
      shift
      ;;
    *)
      options+=("$1")
      shift
      ;;
  esac
done
launcher=()
# A compiler cache, where the machine has one, makes rebuilds of other checkouts cheap.
# Paths are hashed relative to the checkout, so every clone and work tree shares the cache.
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "${launcher[@]}" "${options[@]}" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" "${targets[@]}"
