#!/usr/bin/env bash
# Installs what is missing, checks the layering, builds the default and the sanitizer presets,
# runs every test in both, and runs each fuzzer over its corpus.
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
# While the end-to-end cases wait on their lines, the sanitizer preset starts building on one
# core at a low priority; after them its build goes on with every core.
cmake --preset asan >/dev/null
early_log=$(mktemp "${TMPDIR:-/tmp}/varnel-build-log.XXXXXX")
fuzz_log=$(mktemp "${TMPDIR:-/tmp}/varnel-fuzz-log.XXXXXX")
# A failure ends the script; what still runs beside it ends with it.
end_beside() {
    local running
    running=$(jobs -p)
    if [ -n "$running" ]; then
        kill -INT $running 2>/dev/null || true
        wait || true
    fi
    rm -f "$early_log" "$fuzz_log"
}
trap end_beside EXIT
nice -n 19 ninja -C build/asan -j 1 >"$early_log" 2>&1 &
early_build=$!
e2e_tests default
kill -INT "$early_build" 2>/dev/null || true
wait "$early_build" || true
echo "== asan: $(grep -c '^\[' "$early_log" || true) build steps done beside the tests"

echo "== asan: build"
cmake --build --preset asan -j "$jobs"
echo "== asan: tests"
unit_tests asan
# The fuzzers build on one core, at a low priority, while the end-to-end cases wait; each then
# runs over its corpus. Their output follows the tests'.
VARNEL_FUZZ_JOBS=1 nice -n 19 ./scripts/fuzz.sh --corpus >"$fuzz_log" 2>&1 &
fuzzing=$!
e2e_failed=0
e2e_tests asan || e2e_failed=1
fuzz_failed=0
wait "$fuzzing" || fuzz_failed=1
echo "== fuzz: each target over its corpus"
cat "$fuzz_log"
if [ "$e2e_failed" -ne 0 ] || [ "$fuzz_failed" -ne 0 ]; then
    exit 1
fi
