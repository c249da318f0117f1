#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UBSan) in build-fuzz/ and
# runs each on a copy of its committed seed corpus, so the corpus in git does not grow.
#   scripts/fuzz.sh                 every target for 15 s (FUZZ_SECONDS), fails on a finding
#   scripts/fuzz.sh receive -runs=1000000   one target with libFuzzer options of your own
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
# Assertions stay on; -O1 makes the whole window fast enough for a second per input.
CC=clang-14 CXX=clang++-14 cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
  -DTOOL_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"

targets=()
if [ $# -gt 0 ] && [ -d "fuzz/seeds/$1" ]; then
  targets=("$1")
  shift
else
  for d in fuzz/seeds/*/; do targets+=("$(basename "$d")"); done
fi
options=("$@")
[ ${#options[@]} -gt 0 ] || options=(-max_total_time="${FUZZ_SECONDS:-15}")

# No allocation stacks and a smaller quarantine: a fifth more inputs a second. A finding is
# reproduced with the default options for its full report:
#   ASAN_OPTIONS=detect_leaks=0 build-fuzz/fuzz/fuzz_<target> <finding>
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:malloc_context_size=0:quarantine_size_mb=16
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
work=$(mktemp -d)
# The targets' own directories (settings files, history) in memory where there is room.
export FUZZ_WORKDIR
FUZZ_WORKDIR=$(mktemp -d /dev/shm/fuzzrun-XXXXXX 2>/dev/null || mktemp -d)
# Findings outlive the run: each run keeps them in a folder of its own under the build
# folder, where they can be rerun, minimised and added to the seeds.
findings="$PWD/$BUILD_DIR/findings/$(date +%Y-%m-%d_%H-%M-%S)"
trap 'rm -rf "$work" "$FUZZ_WORKDIR"; rmdir "$findings"/* "$findings" 2>/dev/null || true' EXIT
failed=()
for t in "${targets[@]}"; do
  mkdir -p "$work/$t" "$findings/$t"
  cp fuzz/seeds/"$t"/* "$work/$t"/
  echo "== fuzz_$t ${options[*]}"
  # No input may take a second. The targets work in a directory of their own, so
  # findings are named by full path.
  if ! (cd "$work" && "$OLDPWD/$BUILD_DIR/fuzz/fuzz_$t" -timeout=1 -rss_limit_mb=2048 \
          -artifact_prefix="$findings/$t/" \
          -print_final_stats=1 "${options[@]}" "$work/$t" 2>&1 | tail -n 40); then
    failed+=("$t")
  fi
  if [ -n "$(ls -A "$findings/$t")" ]; then
    failed+=("$t")
    for f in "$findings/$t"/*; do
      echo "finding: $f"
      echo "  rerun: ASAN_OPTIONS=detect_leaks=0 $BUILD_DIR/fuzz/fuzz_$t $f"
      xxd "$f" | head -8
    done
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz findings in: ${failed[*]} (kept in $findings)"
  exit 1
fi
echo "fuzz: every target ran clean"
