#!/usr/bin/env bash
# Installs what is missing, checks the layering, runs each fuzzer briefly, builds the default
# and the sanitizer presets, and runs every test in both.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
# Every package must be installed under the name setup asks for, or each run would install again.
./scripts/setup.sh --check
./scripts/check-layers-test.sh
./scripts/check-layers.py
./scripts/fuzz.sh 5
jobs=$(nproc)
for preset in default asan; do
    echo "== $preset: build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done
for preset in default asan; do
    echo "== $preset: tests"
    ctest --preset "$preset" -j "$jobs"
done
