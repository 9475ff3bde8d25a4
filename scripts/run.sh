#!/usr/bin/env bash
# Installs what is missing, builds, and runs Varnel on a simulated QH sensor behind a
# pseudo-terminal. The simulator stops when Varnel closes.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target varnel varnel-sensor-sim

build=build/default
sim="$build/src/sim/tools/varnel-sensor-sim"
varnel="$build/src/app/varnel"
port=7

work=$(mktemp -d "${TMPDIR:-/tmp}/varnel-run.XXXXXX")
link="$work/ttyVARNEL"
sim_pid=""
cleanup() {
    if [[ -n "$sim_pid" ]]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

"$sim" --preset qh --link "$link" --state "$work/sensor-state.txt" &
sim_pid=$!
for _ in $(seq 50); do
    [[ -e "$link" ]] && break
    sleep 0.1
done
[[ -e "$link" ]] || { echo "The simulated sensor did not start." >&2; exit 1; }

# Varnel gets a settings folder of its own: English, COM7 mapped to the simulator.
mkdir -p "$work/config/KYR"
cat >"$work/config/KYR/Torvane.json" <<JSON
{
    "Language": 0,
    "COM-Port": $port,
    "PortMap": { "$port": "$link" }
}
JSON

XDG_CONFIG_HOME="$work/config" "$varnel" "$@"
