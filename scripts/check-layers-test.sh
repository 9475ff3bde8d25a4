#!/usr/bin/env bash
# Self-test of check-layers.py: one file with one include in a fresh tree, passed or refused.
set -euo pipefail
checker="$(dirname "$0")/check-layers.py"
cases=0
failures=0

# expect <pass|fail> <file under src/> <include>
expect() {
    local tree out got
    tree=$(mktemp -d)
    mkdir -p "$tree/src/$(dirname "$2")" "$tree/src/platform"
    printf '#pragma once\n' >"$tree/src/platform/Clock.h"
    printf '#include <string>\n#include %s\n' "$3" >"$tree/src/$2"
    if out=$(python3 "$checker" "$tree" 2>&1); then got=pass; else got=fail; fi
    rm -rf "$tree"
    cases=$((cases + 1))
    if [[ $got != "$1" || ($got == fail && $out != *"src/$2:2: #include $3"*) ]]; then
        echo "check-layers: $2 with $3: expected $1, got $got: $out" >&2
        failures=$((failures + 1))
    fi
}

expect pass comm/Link.cpp '"platform/Clock.h"'
expect pass settings/Store.cpp '<QJsonObject>'
expect pass files/gui/SaveDialog.cpp '"files/Codec.h"'
expect fail platform/Port.cpp '"comm/Link.h"'
expect fail sim/Engine.cpp '"comm/Link.h"'
expect fail comm/Link.cpp '<QString>'
expect fail cli/Main.cpp '<QWidget>'
expect pass history/Store.cpp '<QSqlDatabase>'
expect fail history/Store.cpp '<QWidget>'
expect fail history/Store.cpp '"files/Codec.h"'
expect pass cli/Report.cpp '"report/render/Pdf.h"'
expect pass report/render/Pdf.cpp '<QPdfWriter>'
expect fail report/render/Pdf.cpp '<QPrintDialog>'
expect fail report/Parameters.cpp '"report/render/Pdf.h"'
expect fail report/render/Pdf.cpp '"report/gui/Preview.h"'
expect fail report/Engine.cpp '"report/gui/Preview.h"'
expect fail files/gui/SaveDialog.cpp '"report/gui/Preview.h"'
expect fail params/Editors.cpp '"app/Main.h"'

((failures == 0)) || exit 1
echo "check-layers self-test: $cases cases passed"
