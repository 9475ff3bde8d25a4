#!/usr/bin/env python3
"""Checks that every library under src/ includes only the libraries below it, and Qt only where
its layer allows. Prints each violation as file:line and exits 1 if there is any.

Usage: check-layers.py [ROOT]   (ROOT holds src/; default: this repository)
"""
import functools
import glob
import os
import re
import sys
from pathlib import Path, PurePosixPath

CORES = ["files", "report", "linearization", "testmode", "firmware"]
GUI_PARTS = [core + "/gui" for core in CORES]
# Layout on pages and PDF files with QtGui, for the GUI and varnelctl alike.
RENDER = "report/render"
SUBLIBRARIES = GUI_PARTS + [RENDER]
BASE = {"comm", "platform"}
QT_CORE = {"QtCore"}
QT_GUI = {"QtCore", "QtGui"}

# Library -> (libraries it may include besides itself, Qt modules it may include:
# None, a set of modules, or "all").
RULES = {
    "platform": (set(), None),
    "comm": ({"platform"}, None),
    "sim": ({"platform"}, None),
    "settings": ({"platform"}, QT_CORE),
    # The sensor history's store, over Qt SQL.
    "history": (BASE, QT_CORE | {"QtSql"}),
    "station": (BASE | {"files"}, None),
    **{core: (BASE, None) for core in CORES},
    RENDER: (BASE | set(CORES), QT_GUI),
    "ui": (BASE | {"settings", *CORES}, "all"),
    **{part: (BASE | {"ui", "settings", RENDER, *CORES}, "all") for part in GUI_PARTS + ["params"]},
    "cli": (BASE | {"settings", "history", "station", RENDER, *CORES}, QT_GUI),
}
LIBRARIES = set(RULES) | {"app"}
RULES["app"] = (LIBRARIES, "all")

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCES = (".h", ".hpp", ".cpp", ".cc", ".cxx")
QT_ROOTS = glob.glob("/usr/include/*/qt6") + glob.glob("/usr/include/qt6")


def library_of(path):
    """The library a path relative to src/ belongs to: its first folder, or <core>/gui and the like."""
    parts = PurePosixPath(path).parts
    if len(parts) > 2 and "/".join(parts[:2]) in SUBLIBRARIES:
        return "/".join(parts[:2])
    return parts[0] if len(parts) > 1 else None


@functools.cache
def qt_module(name):
    """The Qt module of an included header, or None when it is no Qt header."""
    if re.match(r"Qt\w*/", name):
        return name.split("/")[0]
    for root in QT_ROOTS:
        for module in sorted(os.listdir(root)):
            if os.path.isfile(os.path.join(root, module, name)):
                return module
    return "Qt" if re.fullmatch(r"Q[A-Z]\w*", name) else None


def included_library(src, source, quote, name):
    """The project library an include names, or None when it names none."""
    if quote == '"':
        beside = os.path.normpath(source.parent / name)
        if os.path.isfile(beside) and not os.path.relpath(beside, src).startswith(".."):
            return library_of(os.path.relpath(beside, src))
    first = PurePosixPath(name).parts[0]
    return library_of(name) if first in {lib.split("/")[0] for lib in LIBRARIES} else None


def violations(root):
    src = Path(root) / "src"
    for source in sorted(p for p in src.rglob("*") if p.suffix in SOURCES):
        rel = source.relative_to(src)
        library = library_of(rel)
        if library not in RULES:
            yield f"src/{rel}: folder has no layer rule"
            continue
        allowed, qt = RULES[library]
        lines = source.read_text(encoding="utf-8", errors="replace").splitlines()
        for number, line in enumerate(lines, 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            where = f"src/{rel}:{number}: {line.strip()}"
            target = included_library(src, source, *match.groups())
            if target is not None:
                if target != library and target not in allowed:
                    yield f"{where}: {library} may not include {target}"
                continue
            module = qt_module(match.group(2))
            if module is not None and qt != "all" and module not in (qt or set()):
                yield f"{where}: {library} may not include {module}"


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent
    found = list(violations(root))
    for v in found:
        print(v)
    if found:
        print(f"{len(found)} layering violation(s)", file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
