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
# simulated sensor's line and run eight per core; those that need the machine to themselves
# say so (RUN_SERIAL).
run_tests() {
    ctest --preset "$1" --label-exclude e2e -j "$jobs" &&
        ctest --preset "$1" --label-regex e2e -j "$((jobs * 8))"
}

echo "== default: build"
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"

# The default preset's tests run while the sanitizer preset builds beside them, at a lower
# priority, so that the tests' time limits hold; their output follows when both are done.
echo "== default: tests, and asan: build"
log=$(mktemp "${TMPDIR:-/tmp}/varnel-tests.XXXXXX")
trap 'rm -f "$log"' EXIT
run_tests default >"$log" 2>&1 &
tests=$!
cmake --preset asan >/dev/null
built=0
nice -n 19 cmake --build --preset asan -j "$jobs" || built=$?
passed=0
wait "$tests" || passed=$?
echo "== default: tests"
cat "$log"
if [ "$passed" -ne 0 ] || [ "$built" -ne 0 ]; then
    exit 1
fi

echo "== asan: tests"
run_tests asan
