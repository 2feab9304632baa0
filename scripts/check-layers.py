#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer it may not use.

The layers and what each may use are written once, here. A layer may use what
it names and, through them, everything those may use. Tests, fuzz targets and
benchmarks stand outside the layers and may include anything.

    check-layers.py [SOURCE_ROOT]
    check-layers.py --self-test   (shows that an include against the layers is refused)
"""
import os
import re
import sys
import tempfile

# layer: the layers it uses directly
LAYERS = {
    "platform": [],
    "report/value": ["platform"],
    "report/data": ["report/value"],
    "report/script": ["report/data"],
    "report/printer": ["platform"],
    "report/model": ["report/value", "report/printer"],
    "report/export": ["platform"],
    "report/draw": ["report/model", "report/export"],
    "report/prepared": ["report/draw"],
    "report/template": ["report/prepared", "report/script"],
    "report/prepare": ["report/template"],
    "report/qt": ["report/template"],
    "report/designer": ["report/qt"],
    "batch": ["report/data"],
    "pdf": ["report/prepared"],
    "program": ["batch", "report/prepare"],
    "cli": ["program", "pdf"],
    "app/dialogs": ["program", "report/qt"],
    "app": ["app/dialogs", "pdf", "report/designer"],
}
SOURCE_DIRS = ["platform", "report", "batch", "pdf", "program", "cli", "app"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def layer_of(path):
    """The layer a file belongs to: the longest layer name its folder starts with."""
    folder = os.path.dirname(path)
    best = None
    for name in LAYERS:
        if folder == name or folder.startswith(name + "/"):
            if best is None or len(name) > len(best):
                best = name
    return best


def allowed_from(layer):
    seen, todo = set(), [layer]
    while todo:
        current = todo.pop()
        if current in seen:
            continue
        seen.add(current)
        todo.extend(LAYERS[current])
    return seen


def check(root):
    problems = []
    for top in SOURCE_DIRS:
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.relpath(os.path.join(folder, name), root)
                layer = layer_of(path)
                if layer is None:
                    problems.append(f"{path}: in no layer")
                    continue
                allowed = allowed_from(layer)
                with open(os.path.join(root, path), encoding="utf-8") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m or "/" not in m.group(1):
                            continue
                        target = layer_of(m.group(1))
                        if target is not None and target not in allowed:
                            problems.append(f"{path}:{number}: {layer} may not include "
                                            f"{m.group(1)} ({target})")
    return problems


def self_test():
    """A tree where the batch layer reaches up into the program layer must fail;
    the same tree with the include turned around must pass."""
    with tempfile.TemporaryDirectory() as root:
        def write(path, text):
            os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as f:
                f.write(text)
        write("program/Settings.h", '#pragma once\n#include "batch/Driver.h"\n')
        write("batch/Driver.h", "#pragma once\n")
        if check(root):
            print("self-test: an allowed include was refused", file=sys.stderr)
            return 1
        write("batch/Driver.h", '#pragma once\n#include "program/Settings.h"\n')
        problems = check(root)
        if problems != ['batch/Driver.h:2: batch may not include program/Settings.h (program)']:
            print(f"self-test: a forbidden include was not refused: {problems}", file=sys.stderr)
            return 1
    print("self-test: the forbidden include was refused")
    return 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    problems = check(root)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        print(f"check-layers: {len(problems)} include(s) against the layers", file=sys.stderr)
        return 1
    print("check-layers: every include follows the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
