#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang) and runs them over their seeds in
# tests/fuzz/corpus/<target>/ and their grown corpus in fuzz/corpus/<target>/.
#   fuzz.sh [SECONDS]        fuzzes each target for SECONDS (default 10); new inputs go to a
#                            scratch folder
#   fuzz.sh --corpus         runs each target once over every input it has, without fuzzing
#   fuzz.sh --grow SECONDS   fuzzes, then adds the new inputs that reach new code to fuzz/corpus/
# A finding stops the script and is kept under build/fuzz/findings/. VARNEL_FUZZ_JOBS sets the
# build's parallel jobs (default: one per core).
set -euo pipefail
cd "$(dirname "$0")/.."
mode=fuzz
case "${1:-}" in
    --corpus) mode=corpus seconds=0 ;;
    --grow) mode=grow seconds=${2:?fuzz.sh --grow SECONDS} ;;
    *) seconds=${1:-10} ;;
esac

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${VARNEL_FUZZ_JOBS:-$(nproc)}"

findings=build/fuzz/findings
mkdir -p "$findings"
work=$(mktemp -d "${TMPDIR:-/tmp}/varnel-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
for fuzzer in build/fuzz/fuzz/fuzz-*; do
    name=${fuzzer##*/fuzz-}
    corpus=fuzz/corpus/$name
    mkdir -p "$work/$name" "$corpus"
    if [ "$mode" = corpus ]; then
        echo "== fuzz: $name over $(find "$corpus" "tests/fuzz/corpus/$name" -type f | wc -l) inputs"
        limit=(-runs=0)
    else
        echo "== fuzz: $name for ${seconds}s"
        limit=(-max_total_time="$seconds")
    fi
    # New inputs go to the scratch folder; the checked-in ones are only read.
    "$fuzzer" "${limit[@]}" -print_final_stats=1 -artifact_prefix="$findings/$name-" \
        "$work/$name" "$corpus" "tests/fuzz/corpus/$name" 2>"$work/$name.log" ||
        { tail -n 60 "$work/$name.log" >&2; exit 1; }
    grep -E '\sDONE\s' "$work/$name.log"
    if [ "$mode" = grow ]; then
        "$fuzzer" -merge=1 "$corpus" "$work/$name" 2>"$work/$name.merge.log" ||
            { tail -n 60 "$work/$name.merge.log" >&2; exit 1; }
        grep -E 'MERGE-OUTER: [0-9]+ new files' "$work/$name.merge.log"
    fi
done
