#!/usr/bin/env bash
# Installs what is missing, builds the default and the sanitizer presets, and runs every test in both.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
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
