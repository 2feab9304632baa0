#!/usr/bin/env python3
"""Prepares every sample form through `pachka pages` and fails where two
parallel frame lines overlap less than 2 px apart: boxes that are meant to
share an edge must draw it on the same pixel, or the paper shows a doubled
line.

Each form is prepared with the bundled templates, and the forms chosen by a
switch of the settings file once more with that switch set.
"""
import argparse
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile

RIGHT, BOTTOM, LEFT, TOP = 1, 2, 4, 8
LINE_VERTICAL, LINE_HORIZONTAL = 4, 8

# Settings that make the driver load the other template of a document type.
VARIANTS = {
    "kopecks": "[ADV-11]\r\nбез копеек=Нет\r\n",
    "list": "[Spisk]\r\nБез списка ЗЛ в пачках АДВ-1 АДВ-2 АДВ-3=Нет\r\n",
}
VARIANT_SAMPLES = {
    "kopecks": ["adv_11"],
    "list": ["adv_1", "adv_2", "adv_3"],
}


def sides(obj):
    """The frame lines an object draws: (axis, position, start, end)."""
    left, top = obj["Left"], obj["Top"]
    right, bottom = left + obj["Width"], top + obj["Height"]
    typ = obj["FrameTyp"]
    if obj["Class"] == "TfrLineView":
        if typ & LINE_VERTICAL:
            yield ("x", left, top, bottom)
        if typ & LINE_HORIZONTAL:
            yield ("y", top, left, right)
        return
    if obj["Class"] == "TfrBandView":
        return
    if typ & LEFT:
        yield ("x", left, top, bottom)
    if typ & RIGHT:
        yield ("x", right, top, bottom)
    if typ & TOP:
        yield ("y", top, left, right)
    if typ & BOTTOM:
        yield ("y", bottom, left, right)


def near_pairs(objects):
    lines = []
    for obj in objects:
        for side in sides(obj):
            lines.append((side, obj["Name"]))
    found = []
    for i, ((axis, pos, a0, a1), name) in enumerate(lines):
        for (axis2, pos2, b0, b1), name2 in lines[i + 1:]:
            if axis != axis2 or not 0 < abs(pos - pos2) < 2:
                continue
            if min(a1, b1) - max(a0, b0) > 0:
                found.append(f"{name} and {name2}: {axis} {pos} and {pos2}")
    return found


def check(pachka, batch, program_dir):
    args = [pachka, "pages", batch]
    if program_dir:
        args += ["--program-dir", program_dir]
    proc = subprocess.run(args, capture_output=True, timeout=300)
    if proc.returncode != 0:
        return [f"exit {proc.returncode}: {proc.stderr.decode('utf-8', 'replace')[:300]}"]
    pages = json.loads(proc.stdout)["pages"]
    if not pages:
        return ["no pages"]
    problems = []
    for n, page in enumerate(pages, 1):
        problems += [f"page {n}: {p}" for p in near_pairs(page["Objects"])]
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pachka", required=True)
    parser.add_argument("--root", required=True)
    opts = parser.parse_args()
    samples = sorted(glob.glob(os.path.join(opts.root, "samples", "*.txt")) +
                     glob.glob(os.path.join(opts.root, "samples", "long", "*.txt")))
    # The inventory package prints through templates of its own, not yet here.
    samples = [s for s in samples if os.path.basename(s) != "szv_k.txt"]
    runs = [(s, None, "") for s in samples]
    for variant, stems in VARIANT_SAMPLES.items():
        runs += [(s, variant, f" [{variant}]") for s in samples
                 if os.path.splitext(os.path.basename(s))[0] in stems]
    bundled = os.path.join(os.path.dirname(os.path.abspath(opts.pachka)), "TempPlay")
    failed = 0
    with tempfile.TemporaryDirectory() as workdir:
        for variant, settings in VARIANTS.items():
            program_dir = os.path.join(workdir, variant)
            shutil.copytree(bundled, os.path.join(program_dir, "TempPlay"))
            with open(os.path.join(program_dir, "pachkaview.ini"), "wb") as f:
                f.write(settings.encode("cp1251"))
        for batch, variant, label in runs:
            program_dir = os.path.join(workdir, variant) if variant else None
            name = os.path.relpath(batch, opts.root) + label
            problems = check(opts.pachka, batch, program_dir)
            if problems:
                failed += 1
                print(f"FAIL {name}")
                for p in problems[:20]:
                    print(f"     {p}")
            else:
                print(f"ok   {name}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
