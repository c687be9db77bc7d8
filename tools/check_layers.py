#!/usr/bin/env python3
"""Fails when an include of src/ runs up a layer.

Every folder of src/ belongs to one layer; a file includes only its own
folder and the folders its layer may use (the table below, also drawn in
docs/ARCHITECTURE.md). Includes are read in both forms, "x/y.h" and <x/y.h>;
a source file directly in src/ belongs to no layer and is a fault too; and no
logic file includes a Qt Widgets header (the logic library does not link
Qt Widgets).

Usage: check_layers.py SRC_DIR [QT_INCLUDE_DIR...]
The Qt include folders (the Widgets module's, as CMake gives them) name the
Widgets headers; without them, only <QtWidgets/...> includes are recognised.
"""
import pathlib
import re
import sys

LOGIC = ["core", "platform", "workspace", "params", "tables", "snapshot", "compiler", "ede", "update", "inspector", "gate", "bacnet"]

# What each folder may include besides itself, lowest layer first.
MAY_INCLUDE = {
    "core": [],
    "platform": ["core"],
    "workspace": ["core", "platform"],
    "params": ["core", "workspace"],
    "tables": ["core", "workspace", "params"],
    "snapshot": ["core", "workspace", "params", "tables"],
    "compiler": ["core", "workspace", "params", "tables", "snapshot"],
    "ede": ["core", "workspace", "params", "tables", "snapshot"],
    "update": ["core", "workspace", "platform", "params"],
    "inspector": ["core", "workspace", "params", "tables", "snapshot", "compiler"],
    "gate": ["core", "workspace", "platform", "params", "tables", "snapshot", "compiler", "ede", "update", "inspector"],
    "bacnet": ["core", "workspace", "platform", "params", "tables", "snapshot", "compiler", "ede", "update", "inspector", "gate"],
    "widgets": ["core", "workspace"],
    "params/ui": LOGIC + ["widgets", "params"],
    "tables/ui": LOGIC + ["widgets", "tables"],
    "update/ui": LOGIC + ["widgets", "update"],
    "bacnet/ui": LOGIC + ["widgets", "bacnet"],
    "cli": LOGIC,
    "app": LOGIC + ["widgets", "params/ui", "tables/ui", "update/ui", "bacnet/ui", "cli"],
}

# Files of an allowed layer that a folder still may not include: the
# operating-system layer gives its errors in the system's words and leaves
# the message table to its callers.
NOT_INCLUDED = {
    "platform": ["core/messages.h", "core/default_messages.h"],
}

INCLUDE = re.compile(r'^\s*#\s*include\s*(?:"([^"]+)"|<([^>]+)>)', re.M)


def layer_of(relative):
    """The layer of a path below src/ ("tables/ui/x.h" -> "tables/ui")."""
    parts = relative.split("/")
    if len(parts) < 2:
        return None
    if len(parts) > 2 and parts[1] == "ui":
        return parts[0] + "/ui"
    return parts[0]


def widgets_headers(include_dirs):
    """The names of Qt Widgets' headers: every file of a QtWidgets folder."""
    names = set()
    for d in include_dirs:
        for folder in (pathlib.Path(d), pathlib.Path(d) / "QtWidgets"):
            if folder.name == "QtWidgets" and folder.is_dir():
                names.update(p.name for p in folder.iterdir() if p.is_file())
    return names


def is_logic(layer):
    """Folders whose library does not link Qt Widgets: the logic and the command line."""
    return layer in LOGIC or layer == "cli"


def main():
    src = pathlib.Path(sys.argv[1])
    widgets = widgets_headers(sys.argv[2:])
    folders = {p.name for p in src.iterdir() if p.is_dir()}
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".in"):
            continue
        relative = path.relative_to(src).as_posix()
        own = layer_of(relative)
        if own is None:
            faults.append(f"{relative}: a source file directly in src/ belongs to no layer (move it into a folder)")
            continue
        if own not in MAY_INCLUDE:
            faults.append(f"{relative}: folder '{own}' has no layer (add it to {__file__})")
            continue
        text = path.read_text(encoding="utf-8")
        for match in INCLUDE.finditer(text):
            name = match.group(1) or match.group(2)
            line = text.count("\n", 0, match.start()) + 1
            if match.group(2) is not None:
                # A system include: a Widgets header in the logic, or a
                # project header written with angle brackets.
                if is_logic(own) and (name.startswith("QtWidgets/") or name in widgets):
                    faults.append(f"{relative}:{line}: logic file includes the Qt Widgets header <{name}>")
                    continue
                if name.split("/")[0] not in folders:
                    continue
            if name in NOT_INCLUDED.get(own, []):
                faults.append(f"{relative}:{line}: '{own}' includes \"{name}\", which it may not")
                continue
            target = layer_of(name)
            if target is None or target == own or target in MAY_INCLUDE[own]:
                continue
            faults.append(f"{relative}:{line}: '{own}' includes \"{name}\" of '{target}'")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} include(s) against the layers")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
