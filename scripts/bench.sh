#!/usr/bin/env bash
# Builds in Release into build-release/ and runs every benchmark (bench_*), with the
# test servers started (scripts/test-servers.sh) for those that need them.
# Arguments are passed to each benchmark: [N properties] [runs].
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DORBALIA_BUILD_TESTS=OFF -DORBALIA_BUILD_BENCH=ON >/dev/null
targets=()
for src in bench/bench_*.cpp; do
    targets+=("$(basename "$src" .cpp)")
done
cmake --build build-release -j"$(nproc)" --target "${targets[@]}"
# shellcheck source=scripts/test-servers.sh
source scripts/test-servers.sh
export QT_QPA_PLATFORM=offscreen
for t in "${targets[@]}"; do
    echo "== $t"
    "build-release/$t" "$@"
done
