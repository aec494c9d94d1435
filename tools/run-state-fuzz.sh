#!/usr/bin/env bash
# Fuzzes setStateInformation for a bounded time: builds the libFuzzer target (clang, address and
# undefined-behaviour sanitizers) if needed and runs it over a copy of the seed corpus.
#   tools/run-state-fuzz.sh [SECONDS]      default 60
# Fails on any crash, sanitizer report, leak, timeout or broken state invariant; the input that
# did it is kept in <build>/fuzz-findings/. BRISCA_FUZZ_BUILD chooses the build folder
# (default build-fuzz). Extra libFuzzer flags may follow the seconds, e.g. -jobs=2.
set -euo pipefail

seconds="${1:-60}"
shift || true
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BRISCA_FUZZ_BUILD:-$root/build-fuzz}"

if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRISCA_FUZZ=ON -DBRISCA_BUILD_BENCH=OFF
fi
cmake --build "$build" -j2 --target state_fuzz

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$build/fuzz-findings"
cp "$root"/tests/fuzz/corpus/* "$work/corpus/"

echo "run-state-fuzz: ${seconds} s over $(ls "$work/corpus" | wc -l) seeds"
cd "$work"
"$build/tests/fuzz/state_fuzz" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
  -dict="$root/tests/fuzz/state.dict" -artifact_prefix="$build/fuzz-findings/" \
  -print_final_stats=1 "$@" "$work/corpus"
