#!/usr/bin/env bash
# Installs what the tests need, builds everything, starts the test servers
# (MariaDB and an rsync daemon on 127.0.0.1, stopped on exit) and runs every
# test with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
# shellcheck source=scripts/test-servers.sh
source scripts/test-servers.sh
cd build
ctest --output-on-failure --no-label-summary -j"$(nproc)" "$@"
