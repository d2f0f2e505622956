#!/usr/bin/env bash
# Builds the load step's fuzzer with clang and runs it for a bounded time.
# Usage: tests/fuzz/run.sh [seconds]   (default 60)
set -eu
seconds=${1:-60}
here=$(cd "$(dirname "$0")" && pwd)
build="$here/../../build-fuzz"
source "$here/../../scripts/packages.sh"
install_packages "${HOST_BUILD_PACKAGES[@]}"
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 >/dev/null
corpus="$build/corpus"
mkdir -p "$corpus"
cp "$here"/seeds/* "$corpus"/ 2>/dev/null || true
"$build/load_fuzzer" -max_total_time="$seconds" -max_len=256 -timeout=5 "$corpus" 2>&1 | tail -n 3
