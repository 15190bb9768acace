#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Rejects an #include that reaches across the layers of src/.

The layers, from the bottom: base, platform, data, shell, each tool's logic and its ui,
and app on top; platform/ui and shell/ui are the windows of their folders. A tool may use the logic of the tools that
src/CMakeLists.txt names after USES in its plumora_add_tool() line, never their windows.
Prints one line per forbidden include and exits 1 when there is any.
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
TOOL = re.compile(r'^\s*plumora_add_tool\((\w+)(?:\s+USES\s+([\w\s]+))?\)', re.M)


def unit_of(path):
    """The layer unit of a path relative to src/ ("base", "calendar", "calendar_ui", ...)."""
    parts = pathlib.PurePosixPath(path).parts
    if len(parts) < 2:
        return None
    top = parts[0]
    ui = "ui" in parts[1:-1]
    if top in ("base", "app", "shutdown", "data"):
        return top
    if top in ("platform", "shell"):
        return top + "_ui" if ui else top
    return top + "_ui" if ui else top


def allowed_units(unit, uses):
    lower = {"base": set(), "platform": {"base"}, "platform_ui": {"base", "platform"},
             "data": {"base", "platform"}, "shell": {"base", "platform", "data"},
             "shell_ui": {"base", "platform", "platform_ui", "data", "shell"}}
    if unit in lower:
        return lower[unit] | {unit}
    if unit == "app":
        return None  # everything
    if unit == "shutdown":
        return {"shutdown"}
    tool = unit[:-3] if unit.endswith("_ui") else unit
    allowed = {"base", "platform", "data", "shell", tool} | set(uses.get(tool, ()))
    if unit.endswith("_ui"):
        allowed |= {unit, "platform_ui", "shell_ui"}
    return allowed


def tool_uses(src):
    uses = {}
    for name, used in TOOL.findall((src / "CMakeLists.txt").read_text()):
        uses[name] = used.split()
    return uses


def violations(src):
    uses = tool_uses(src)
    found = []
    for f in sorted(src.rglob("*")):
        if f.suffix not in (".h", ".cpp"):
            continue
        rel = f.relative_to(src).as_posix()
        unit = unit_of(rel)
        allowed = allowed_units(unit, uses)
        if allowed is None:
            continue
        for target in INCLUDE.findall(f.read_text(errors="replace")):
            target_unit = unit_of(target)
            if target_unit is not None and target_unit not in allowed:
                found.append(f"{rel}: includes {target} ({unit} may not use {target_unit})")
    return found


def main(argv):
    expected = [int(a.split("=")[1]) for a in argv if a.startswith("--expect-violations=")]
    args = [a for a in argv[1:] if not a.startswith("--")]
    src = pathlib.Path(args[0] if args else pathlib.Path(__file__).parents[2] / "src")
    found = violations(src)
    for line in found:
        print(line)
    if expected:
        # The check of the checker: exactly the fixture's crossings are caught.
        return 0 if len(found) == expected[0] else 1
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
