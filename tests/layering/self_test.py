#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The layering check's own test, on the fixture tree beside it.

The fixture marks each line the check must reject with "// catch: <crossing>" and each
include it must let through with "// allow: <reason>". The fixture is configured with
CMake, as the real tree is, then checked; every crossing is named with what became of it.
Fails when a crossing is missed, an allowed include is rejected, or a crossing below has
no marked case left in the fixture.

Usage: self_test.py CMAKE FIXTURE_DIR BUILD_DIR
"""
import pathlib
import re
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True  # nothing compiled lands in the source tree
import check_layers  # noqa: E402

MUST_CATCH = ("tool -> tool", "tool ui -> tool ui", "platform -> data", "data -> shell",
              "anything -> app", "<...> form", "header no target lists")
MARK = re.compile(r"//\s*(catch|allow):\s*(.+?)\s*$")
INCLUDE = re.compile(r'#\s*include\s*[<"]([^>"]+)[>"]')


def marked_cases(src):
    """(kind, name, the start of the fault line it stands for) for every marked line."""
    cases = []
    for f in sorted(src.rglob("*")):
        if not f.is_file() or f.suffix not in check_layers.SOURCE_SUFFIXES:
            continue
        rel = f.relative_to(src).as_posix()
        for line in f.read_text().splitlines():
            mark = MARK.search(line)
            if not mark:
                continue
            include = INCLUDE.search(line)
            if include:
                fault = f"{rel}: includes {include.group(1)} "
            else:
                fault = f"{rel}: listed by no target"
            cases.append((mark.group(1), mark.group(2), fault))
    return cases


def main(argv):
    if len(argv) != 4:
        print("usage: self_test.py CMAKE FIXTURE_DIR BUILD_DIR", file=sys.stderr)
        return 2
    cmake, fixture, build = argv[1], pathlib.Path(argv[2]), pathlib.Path(argv[3])
    shutil.rmtree(build, ignore_errors=True)
    configure = subprocess.run([cmake, "-S", str(fixture), "-B", str(build)],
                               capture_output=True, text=True)
    if configure.returncode != 0:
        print(configure.stdout + configure.stderr)
        print("FAIL: the fixture does not configure")
        return 1

    src = fixture / "src"
    found = check_layers.faults(build / "targets.json", src)
    cases = marked_cases(src)
    ok = True
    for kind, name, fault in cases:
        hits = [f for f in found if f.startswith(fault)]
        if kind == "catch":
            print(f"{'caught' if hits else 'MISSED'}: {name}: {hits[0] if hits else fault}")
        else:
            print(f"{'REJECTED' if hits else 'allowed'}: {name}: {fault.rstrip()}")
        ok = ok and bool(hits) == (kind == "catch")
        found = [f for f in found if f not in hits]
    for fault in found:
        print(f"UNMARKED fault: {fault}")
        ok = False
    for name in MUST_CATCH:
        if not any(kind == "catch" and n == name for kind, n, _ in cases):
            print(f"NO CASE in the fixture for: {name}")
            ok = False
    if not any(kind == "allow" for kind, _, _ in cases):
        print("NO CASE in the fixture for an allowed use")
        ok = False
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
