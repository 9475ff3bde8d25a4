#!/usr/bin/env bash
# Installs what is missing, checks the layering, runs each fuzzer over its corpus, builds the
# default and the sanitizer presets, and runs every test in both.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
# Every package must be installed under the name setup asks for, or each run would install again.
./scripts/setup.sh --check
./scripts/check-layers-test.sh
./scripts/check-layers.py
./scripts/fuzz.sh --corpus
jobs=$(nproc)

# Tests that compute run one per core. The end-to-end cases spend their time waiting on a
# simulated sensor's line and run four per core; firmware downloads among them one at a time.
run_tests() {
    ctest --preset "$1" --label-exclude e2e -j "$jobs" &&
        ctest --preset "$1" --label-regex e2e -j "$((jobs * 4))"
}

for preset in default asan; do
    echo "== $preset: build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    echo "== $preset: tests"
    run_tests "$preset"
done
