#!/usr/bin/env bash
# Builds the Debian package of a build folder into a temporary folder, unpacks it and checks
# it: every file that install() declares, the programs, the desktop entry and the icon are
# there, the Qt libraries and the run-time plugins are among its dependencies, and the
# unpacked varnelctl runs.
#
# Usage: check-package.sh BUILD_DIR VERSION FILE...   (FILE relative to /usr, must be present)
set -euo pipefail

build=$1
version=$2
shift 2
required=("$@")

work=$(mktemp -d /tmp/varnel-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; exit 1; }
deb="$work/out/varnel_${version}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || { ls "$work/out" >&2; fail "no package named $(basename "$deb")"; exit 1; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

dpkg-deb -x "$deb" "$work/root"
usr="$work/root/usr"

# What install() declares, installed on its own into another folder.
cmake --install "$build" --prefix "$work/declared" >/dev/null
while IFS= read -r file; do
    [[ -e $usr/$file || -L $usr/$file ]] || fail "declared but not packaged: $file"
done < <(cd "$work/declared" && find . \( -type f -o -type l \) -printf '%P\n')

for file in "${required[@]}"; do
    [[ -f $usr/$file ]] || fail "missing: $file"
    if [[ $file == bin/* && ! -x $usr/$file ]]; then
        fail "not executable: $file"
    fi
done

desktop="$usr/share/applications/varnel.desktop"
if [[ -f $desktop ]]; then
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$desktop" || fail "desktop entry does not validate"
    fi
    exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [[ -x $usr/bin/$exec_name ]] || fail "the desktop entry starts '$exec_name', not packaged"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    compgen -G "$usr/share/icons/hicolor/*/apps/$icon.*" >/dev/null ||
        fail "no icon '$icon' in share/icons/hicolor"
fi

[[ $(dpkg-deb -f "$deb" Package) == varnel ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "package version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6charts6 libc6 libudev1 \
    qt6-qpa-plugins fonts-dejavu-core libqt6sql6-sqlite; do
    grep -qx "$package" <<<"$names" || fail "Depends lacks $package"
done
[[ $(dpkg-deb -f "$deb" Recommends) == *qt6-translations-l10n* ]] ||
    fail "Recommends lacks the toolkit's translations"
[[ $(dpkg-deb -f "$deb" Suggests) == *libqt6sql6-psql* ]] ||
    fail "Suggests lacks the PostgreSQL driver of the history"

help=$("$usr/bin/varnelctl" --help) || fail "the packaged varnelctl --help failed"
[[ $help == Usage:\ varnelctl* ]] || fail "the packaged varnelctl printed: ${help:0:80}"
"$usr/bin/varnel-sensor-sim" --help >/dev/null || fail "the packaged varnel-sensor-sim --help failed"

((failures == 0)) || exit 1
echo "package checks passed"
