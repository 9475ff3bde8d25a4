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
jobs=$(nproc)

# Tests that compute run one per core. The end-to-end cases spend their time waiting on a
# simulated sensor's line and run four per core; firmware downloads among them one at a time.
unit_tests() { ctest --preset "$1" --label-exclude e2e -j "$jobs"; }
e2e_tests() { ctest --preset "$1" --label-regex e2e -j "$((jobs * 4))"; }

echo "== default: build"
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
echo "== default: tests"
unit_tests default
# The fuzzers build on one core, at a low priority, while the end-to-end cases wait; each then
# runs over its corpus. Their output follows the tests'.
fuzz_log=$(mktemp "${TMPDIR:-/tmp}/varnel-fuzz-log.XXXXXX")
trap 'rm -f "$fuzz_log"' EXIT
VARNEL_FUZZ_JOBS=1 nice -n 19 ./scripts/fuzz.sh --corpus >"$fuzz_log" 2>&1 &
fuzzing=$!
e2e_failed=0
e2e_tests default || e2e_failed=1
fuzz_failed=0
wait "$fuzzing" || fuzz_failed=1
echo "== fuzz: each target over its corpus"
cat "$fuzz_log"
if [ "$e2e_failed" -ne 0 ] || [ "$fuzz_failed" -ne 0 ]; then
    exit 1
fi

echo "== asan: build"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
echo "== asan: tests"
unit_tests asan
e2e_tests asan
