#!/usr/bin/env python3
"""The layer check finds what it is meant to find, in a small tree made here:
an include up a layer in either form, a source file directly in src/, and a
Qt Widgets header in the logic; a tree without them passes.

Usage: test_check_layers.py CHECK_LAYERS_PY
"""
import pathlib
import subprocess
import sys
import tempfile


def run(check, src, widgets):
    done = subprocess.run([sys.executable, check, str(src), str(widgets)], capture_output=True, text=True)
    return done.returncode, done.stdout


def write(root, relative, text):
    path = root / relative
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(text, encoding="utf-8")


def main():
    check = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        root = pathlib.Path(tmp)
        widgets = root / "qt" / "QtWidgets"
        widgets.mkdir(parents=True)
        (widgets / "QPushButton").write_text("", encoding="utf-8")
        src = root / "src"
        write(src, "core/a.h", "#pragma once\n#include <QString>\n")
        write(src, "tables/b.cpp", '#include "core/a.h"\n#include <core/a.h>\n#include <vector>\n')
        write(src, "tables/ui/w.cpp", "#include <QPushButton>\n#include <QtWidgets/QLabel>\n")
        code, out = run(check, src, widgets)
        if code != 0:
            failures.append(f"a sound tree fails:\n{out}")

        cases = {
            "angle-bracket include up a layer": ("core/up.cpp", "#include <tables/b.h>\n", "'core' includes \"tables/b.h\""),
            "quoted include up a layer": ("core/up2.cpp", '#include "tables/b.h"\n', "'core' includes \"tables/b.h\""),
            "file directly in src/": ("loose.cpp", "int x;\n", "loose.cpp: a source file directly in src/"),
            "Widgets header in the logic": ("tables/c.cpp", "#include <QPushButton>\n", "<QPushButton>"),
            "Widgets module path in the command line": ("cli/d.cpp", "#include <QtWidgets/QLabel>\n", "<QtWidgets/QLabel>"),
        }
        for name, (relative, text, expected) in cases.items():
            write(src, relative, text)
            code, out = run(check, src, widgets)
            if code != 1 or expected not in out:
                failures.append(f"{name}: exit {code}, output:\n{out}")
            (src / relative).unlink()
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(cases) + 1 - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
