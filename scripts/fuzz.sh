#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang) and runs each for a while
# from its seeds in tests/fuzz/corpus/<target>/. Usage: fuzz.sh [seconds per target, default 10]
# A finding stops the script and is kept under build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

findings=build/fuzz/findings
mkdir -p "$findings"
work=$(mktemp -d "${TMPDIR:-/tmp}/varnel-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
for fuzzer in build/fuzz/fuzz/fuzz-*; do
    name=${fuzzer##*/fuzz-}
    echo "== fuzz: $name for ${seconds}s"
    mkdir -p "$work/$name"
    # New inputs go to the scratch folder; the checked-in seeds are only read.
    "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/$name-" \
        "$work/$name" "tests/fuzz/corpus/$name" 2>"$work/$name.log" ||
        { tail -n 60 "$work/$name.log" >&2; exit 1; }
    grep -E '\sDONE\s' "$work/$name.log"
done
