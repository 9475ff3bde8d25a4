#!/usr/bin/env bash
# Builds the Debian package of a build folder into a temporary folder and checks it: lintian
# finds no error or warning, every file that install() declares, the programs, the desktop
# entry, the icon, the man pages and the completion are there, the desktop entry, the AppStream
# metainfo and the man pages pass their checkers, every command varnelctl --help names has its
# place in the man page, the Qt libraries and the run-time plugins are among its dependencies,
# and the package installed with dpkg into a throw-away root gives each program's version.
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

# The compressed man pages and changelog are cheap to bring up to date; the programs are not.
cmake --build "$build" --target compressed_docs >"$work/docs.log" 2>&1 ||
    { cat "$work/docs.log" >&2; exit 1; }
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; exit 1; }
deb="$work/out/varnel_${version}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || { ls "$work/out" >&2; fail "no package named $(basename "$deb")"; exit 1; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# lintian's own output names each tag; informational ones are left to the pedantic reader.
findings=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian found errors or warnings"
grep -v 'running with root privileges' <<<"$findings" || true
overrides=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/lintian/overrides/varnel 2>/dev/null |
    grep -cv '^#' || true)
((overrides <= 3)) || fail "$overrides lintian overrides, more than three"

# A throw-away root with an empty dpkg database; the package has no maintainer scripts.
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
dpkg --root="$root" --force-depends --force-not-root --log=/dev/null -i "$deb" >"$work/dpkg.log" 2>&1 ||
    { cat "$work/dpkg.log" >&2; fail "dpkg could not install the package"; exit 1; }
usr="$root/usr"

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
    desktop-file-validate "$desktop" || fail "desktop entry does not validate"
    exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [[ -x $usr/bin/$exec_name ]] || fail "the desktop entry starts '$exec_name', not packaged"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    compgen -G "$usr/share/icons/hicolor/*/apps/$icon.*" >/dev/null ||
        fail "no icon '$icon' in share/icons/hicolor"
fi

for metainfo in "$usr"/share/metainfo/*.metainfo.xml; do
    appstreamcli validate --no-net "$metainfo" || fail "$(basename "$metainfo") does not validate"
    newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -1 | cut -d'"' -f2)
    [[ $newest == "$version" ]] || fail "the metainfo's newest release is '$newest', not $version"
done
[[ $(zcat "$usr/share/doc/varnel/changelog.gz" | head -1) == "varnel ($version) "* ]] ||
    fail "the changelog does not begin with version $version"

for program in "$usr"/bin/*; do
    name=$(basename "$program")
    page="$usr/share/man/man1/$name.1.gz"
    [[ -f $page ]] || { fail "no man page for $name"; continue; }
    warnings=$(zcat "$page" | groff -man -ww -z 2>&1) || fail "groff failed on $name.1"
    [[ -z $warnings ]] || fail "$name.1: $warnings"
    [[ $("$program" --version) == "$name $version" ]] ||
        fail "the installed $name --version printed '$("$program" --version 2>&1)'"
done

# Each command of the help, such as "firmware flash", is a paragraph of the man page.
help=$("$usr/bin/varnelctl" --help) || fail "the packaged varnelctl --help failed"
[[ $help == Usage:\ varnelctl* ]] || fail "the packaged varnelctl printed: ${help:0:80}"
manual=$(zcat "$usr/share/man/man1/varnelctl.1.gz")
while IFS= read -r command; do
    grep -qE "^\.B ${command}( |$)" <<<"$manual" || fail "varnelctl.1 does not describe '$command'"
done < <(sed -n '/^Commands:/,/^Options:/s/^  \([a-z]\+\( [a-z]\+\)\?\).*/\1/p' <<<"$help")
while IFS= read -r option; do
    grep -qF -- "${option//-/\\-}" <<<"$manual" || fail "varnelctl.1 does not describe $option"
done < <(sed -n '/^Options:/,/^$/s/^  \(--[a-z-]\+\).*/\1/p' <<<"$help")

completions=$(pkg-config --variable=completionsdir bash-completion)
[[ -f $root$completions/varnelctl ]] || fail "no completion in $completions"
"$(dirname "$0")/check-completion.sh" "$root$completions/varnelctl" "$usr/bin/varnelctl" ||
    fail "the installed completion"

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

"$usr/bin/varnel-sensor-sim" --help >/dev/null || fail "the packaged varnel-sensor-sim --help failed"

dpkg --root="$root" --force-not-root --log=/dev/null --purge varnel >>"$work/dpkg.log" 2>&1 ||
    fail "dpkg could not remove the package"
left=$(find "$root" -path "$root/var" -prune -o -type f -print)
[[ -z $left ]] || fail "files left after removal: $left"

((failures == 0)) || exit 1
echo "package checks passed"
