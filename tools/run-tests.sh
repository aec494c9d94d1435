#!/usr/bin/env bash
# Builds everything and runs every test: the GoogleTest suites, the checks on the built LV2
# and VST3 bundles, and the editor tests under a virtual display.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BRISCA_BUILD_DIR:-$here/build}

bash "$here/tools/install-deps.sh"
export CCACHE_BASEDIR="$here"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j"$(nproc)"

# A fresh HOME: plug-in copies in ~/.lv2 or ~/.vst3 must not shadow the bundles just built.
test_home=$(mktemp -d)
trap 'rm -rf "$test_home"' EXIT
HOME="$test_home" xvfb-run -a -s "-screen 0 1280x800x24" \
  ctest --test-dir "$build" --output-on-failure -j"$(nproc)"

# The saved-state fuzzer, bounded (clang with address and undefined-behaviour sanitizers).
bash "$here/tools/run-state-fuzz.sh" "${BRISCA_FUZZ_SECONDS:-60}"
