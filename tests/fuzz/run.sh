#!/usr/bin/env bash
# Builds the fuzzers with clang and runs one for a bounded time.
# Usage: tests/fuzz/run.sh [seconds] [load|sizing]   (default 60, load)
set -eu
seconds=${1:-60}
fuzzer=${2:-load}
here=$(cd "$(dirname "$0")" && pwd)
build="$here/../../build-fuzz"
source "$here/../../scripts/packages.sh"
install_packages "${HOST_BUILD_PACKAGES[@]}"
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 >/dev/null
case "$fuzzer" in
  load) corpus="$build/corpus"; max_len=256 ;;
  sizing) corpus="$build/corpus-sizing"; max_len=512 ;;
  *) echo "unknown fuzzer: $fuzzer (load or sizing)" >&2; exit 2 ;;
esac
mkdir -p "$corpus"
[ "$fuzzer" = load ] && cp "$here"/seeds/* "$corpus"/ 2>/dev/null || true
"$build/${fuzzer}_fuzzer" -max_total_time="$seconds" -max_len="$max_len" -timeout=5 "$corpus" 2>&1 | tail -n 3
