#!/usr/bin/env bash
# Builds in Release into build-release/ and runs every benchmark, with the
# test servers started (scripts/test-servers.sh) for those that need them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DORBALIA_BUILD_TESTS=OFF >/dev/null
cmake --build build-release -j"$(nproc)"
# shellcheck source=scripts/test-servers.sh
source scripts/test-servers.sh
for b in build-release/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
