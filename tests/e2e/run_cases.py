#!/usr/bin/env python3
"""Runs pachka on batch files and compares its output with each case's
expectations.

A case file (cases/*.json) holds a list of cases:
  {"name": ..., "args": ["tables", "{batch}", ...], "batch": "tests/fixtures/x.utf8",
   "files": {"pachkaview.ini": "..."}, "exit": 0,
   "json": {...the part of the JSON output that matters: objects are matched key by
           key, lists element by element (same length)...}, "stdout": "exact text", "stderr_contains": "...",
   "before": [{"run": ["{pachka}", "template", "compile", "{root}/x.pvt", "-o", "{dir}/TempPlay/x.frf"]}],
   "then": [{"run": ["qpdf", "--check", "{dir}/out.pdf"], "stdout_contains": "..."}]}

"before" runs programs ahead of pachka, each of which must exit 0 ("{pachka}" and
"{root}" stand for the binary and the source tree), to put compiled templates in place.

"then" runs other programs on what pachka wrote (same substitutions); each must
exit 0 and print what it is asked to contain (one text, or a list of them).

Batches named *.utf8 are written as UTF-8 for review and turned into the DOS
Cyrillic code page (866) of real batch files before the run; other files are
used as they are. "{batch}" and "{dir}" in args stand for the batch file and a
fresh program directory holding "files" (written in 1251).
"""
import argparse
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile


def subset_mismatch(expected, actual, path="$"):
    if isinstance(expected, dict):
        if not isinstance(actual, dict):
            return f"{path}: expected an object, got {actual!r}"
        for key, value in expected.items():
            if key not in actual:
                return f"{path}.{key}: missing"
            problem = subset_mismatch(value, actual[key], f"{path}.{key}")
            if problem:
                return problem
        return None
    if isinstance(expected, list):
        if not isinstance(actual, list) or len(expected) != len(actual):
            return f"{path}: expected {expected!r}, got {actual!r}"
        for i, (e, a) in enumerate(zip(expected, actual)):
            problem = subset_mismatch(e, a, f"{path}[{i}]")
            if problem:
                return problem
        return None
    if expected != actual:
        return f"{path}: expected {expected!r}, got {actual!r}"
    return None


def prepare(case, root, workdir):
    batch = case.get("batch")
    batch_path = ""
    if batch:
        src = os.path.join(root, batch)
        if src.endswith(".utf8"):
            with open(src, encoding="utf-8") as f:
                text = f.read()
            batch_path = os.path.join(workdir, os.path.basename(src)[:-5] + ".txt")
            with open(batch_path, "wb") as f:
                f.write(text.replace("\n", "\r\n").encode("cp866"))
        else:
            batch_path = src
    program_dir = os.path.join(workdir, "program")
    os.makedirs(os.path.join(program_dir, "TempPlay"))
    for name, content in case.get("files", {}).items():
        with open(os.path.join(program_dir, name), "wb") as f:
            f.write(content.encode("cp1251"))
    return batch_path, program_dir


def run_case(case, pachka, root):
    with tempfile.TemporaryDirectory() as workdir:
        batch_path, program_dir = prepare(case, root, workdir)
        problems = []
        for step in case.get("before", []):
            step = {**step, "run": [a.replace("{pachka}", pachka).replace("{root}", root)
                                    for a in step["run"]]}
            problems += run_check(step, batch_path, program_dir)
        if problems:
            return problems
        args = [a.replace("{batch}", batch_path).replace("{dir}", program_dir)
                for a in case["args"]]
        proc = subprocess.run([pachka] + args, capture_output=True, timeout=120)
        out = proc.stdout.decode("utf-8", "replace")
        err = proc.stderr.decode("utf-8", "replace")
        if "exit" in case and proc.returncode != case["exit"]:
            problems.append(f"exit {proc.returncode}, expected {case['exit']}; stderr: {err[:500]}")
        if "json" in case:
            try:
                problem = subset_mismatch(case["json"], json.loads(out))
                if problem:
                    problems.append(problem)
            except json.JSONDecodeError as e:
                problems.append(f"output is not JSON ({e}): {out[:500]}")
        if "stdout" in case and out != case["stdout"]:
            problems.append(f"stdout {out!r}, expected {case['stdout']!r}")
        if "stderr_contains" in case and case["stderr_contains"] not in err:
            problems.append(f"stderr {err!r} lacks {case['stderr_contains']!r}")
        for check in case.get("then", []):
            problems += run_check(check, batch_path, program_dir)
        return problems


def run_check(check, batch_path, program_dir):
    args = [a.replace("{batch}", batch_path).replace("{dir}", program_dir) for a in check["run"]]
    try:
        proc = subprocess.run(args, capture_output=True, timeout=120)
    except FileNotFoundError:
        return [f"{args[0]}: not installed"]
    out = proc.stdout.decode("utf-8", "replace")
    name = " ".join(check["run"])
    if proc.returncode != 0:
        return [f"{name}: exit {proc.returncode}; {out[:300]} {proc.stderr[:300]!r}"]
    wanted = check.get("stdout_contains", [])
    if isinstance(wanted, str):
        wanted = [wanted]
    return [f"{name}: lacks {w!r} in {out[:500]!r}" for w in wanted if w not in out]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pachka", required=True)
    parser.add_argument("--root", required=True)
    parser.add_argument("cases", help="a case file, or a folder of them")
    parser.add_argument("--only", default="")
    opts = parser.parse_args()
    passed = failed = 0
    if os.path.isdir(opts.cases):
        paths = sorted(glob.glob(os.path.join(opts.cases, "*.json")))
    else:
        paths = [opts.cases]
    for path in paths:
        with open(path, encoding="utf-8") as f:
            cases = json.load(f)
        for case in cases:
            name = f"{os.path.basename(path)}: {case['name']}"
            if opts.only and opts.only not in name:
                continue
            problems = run_case(case, opts.pachka, opts.root)
            if problems:
                failed += 1
                print(f"FAIL {name}")
                for p in problems:
                    print(f"     {p}")
            else:
                passed += 1
                print(f"ok   {name}")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
