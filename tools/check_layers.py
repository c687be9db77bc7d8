#!/usr/bin/env python3
"""Fails when an include of src/ runs up a layer.

Every folder of src/ belongs to one layer; a file includes only its own
folder and the folders its layer may use (the table below, also drawn in
docs/ARCHITECTURE.md). Usage: check_layers.py SRC_DIR
"""
import pathlib
import re
import sys

LOGIC = ["core", "platform", "workspace", "params", "tables", "compiler", "ede", "update", "inspector", "gate"]

# What each folder may include besides itself, lowest layer first.
MAY_INCLUDE = {
    "core": [],
    "platform": ["core"],
    "workspace": ["core", "platform"],
    "params": ["core", "workspace"],
    "tables": ["core", "workspace", "params"],
    "compiler": ["core", "workspace", "params", "tables"],
    "ede": ["core", "workspace", "params", "tables"],
    "update": ["core", "workspace", "platform", "params"],
    "inspector": ["core", "workspace", "params", "tables", "compiler"],
    "gate": ["core", "workspace", "platform", "params", "tables", "compiler", "ede", "update", "inspector"],
    "widgets": ["core", "workspace"],
    "params/ui": LOGIC + ["widgets", "params"],
    "tables/ui": LOGIC + ["widgets", "tables"],
    "update/ui": LOGIC + ["widgets", "update"],
    "cli": LOGIC,
    "app": LOGIC + ["widgets", "params/ui", "tables/ui", "update/ui", "cli"],
}

# Files of an allowed layer that a folder still may not include: the
# operating-system layer gives its errors in the system's words and leaves
# the message table to its callers.
NOT_INCLUDED = {
    "platform": ["core/messages.h", "core/default_messages.h"],
}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def layer_of(relative):
    """The layer of a path below src/ ("tables/ui/x.h" -> "tables/ui")."""
    parts = relative.split("/")
    if len(parts) < 2:
        return None
    if len(parts) > 2 and parts[1] == "ui":
        return parts[0] + "/ui"
    return parts[0]


def main():
    src = pathlib.Path(sys.argv[1])
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".in"):
            continue
        relative = path.relative_to(src).as_posix()
        own = layer_of(relative)
        if own is None:
            continue
        if own not in MAY_INCLUDE:
            faults.append(f"{relative}: folder '{own}' has no layer (add it to {__file__})")
            continue
        text = path.read_text(encoding="utf-8")
        for match in INCLUDE.finditer(text):
            if match.group(1) in NOT_INCLUDED.get(own, []):
                line = text.count("\n", 0, match.start()) + 1
                faults.append(f"{relative}:{line}: '{own}' includes \"{match.group(1)}\", which it may not")
                continue
            target = layer_of(match.group(1))
            if target is None or target == own or target in MAY_INCLUDE[own]:
                continue
            line = text.count("\n", 0, match.start()) + 1
            faults.append(f"{relative}:{line}: '{own}' includes \"{match.group(1)}\" of '{target}'")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} include(s) against the layers")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
