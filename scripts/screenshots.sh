#!/usr/bin/env bash
# Takes the pictures of docs/ that the AppStream metainfo shows: the real main window of a
# default build, on a virtual X display (Xvfb), connected to the simulated KBF sensor, once in
# English and once in German. Needs xvfb, xdotool and imagemagick besides the build.
#
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/default}
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null ||
        { echo "$tool is missing: apt-get install xvfb xdotool imagemagick" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/varnel-shots.XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

wait_for() {
    for _ in $(seq 100); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "gave up waiting for: $*" >&2
    exit 1
}

display=:57
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp &
pids+=($!)
export DISPLAY=$display
wait_for xdotool getdisplaygeometry

link="$work/ttyVARNEL"
"$build/src/sim/tools/varnel-sensor-sim" --preset kbf --no-pace --link "$link" >/dev/null &
pids+=($!)
wait_for test -e "$link"

# language: 0 English, 1 German
shoot() {
    local language=$1 picture=$2
    mkdir -p "$work/config-$language/KYR"
    printf '{"Language": %d, "COM-Port": 7, "PortMap": {"7": "%s"}}\n' "$language" "$link" \
        >"$work/config-$language/KYR/Torvane.json"
    XDG_CONFIG_HOME="$work/config-$language" XDG_DATA_HOME="$work/data" \
        QT_QPA_PLATFORM=xcb "$build/src/app/varnel" >/dev/null 2>&1 &
    local pid=$!
    wait_for xdotool search --onlyvisible --name 'Varnel'
    # The splash fades and the sensor's set is read before the window is complete.
    sleep 8
    local window
    window=$(xdotool search --onlyvisible --name 'Varnel' | tail -1)
    import -window "$window" -strip -define png:compression-level=9 "$picture"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$picture: $(identify -format '%wx%h' "$picture"), $(stat -c %s "$picture") bytes"
}

shoot 0 docs/main-window-en.png
shoot 1 docs/main-window-de.png
