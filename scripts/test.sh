#!/usr/bin/env bash
# Installs what the tests need, builds everything and runs every test with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd build
ctest --output-on-failure --no-label-summary -j"$(nproc)" "$@"
