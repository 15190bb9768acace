#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Rejects an #include that reaches across the layers of src/.

Which library owns each file comes from the build itself: the target list CMake writes at
configure time (TargetList.cmake). A file may include a header of its own library or of a
library it links, directly or through what those pass on; nothing else in src/. Both
#include "..." and #include <...> are checked; a header that does not resolve inside src/
(Qt, the system, other libraries) is not the project's and is ignored. A source file or
header that no target lists is an error of its own.

Usage: check_layers.py TARGET_LIST SRC_DIR
Prints one line per fault and exits 1 when there is any.
"""
import json
import pathlib
import re
import sys

INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]*(?:"([^"]+)"|<([^>]+)>)', re.M)
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp")
LINK_ONLY = re.compile(r"^\$<LINK_ONLY:(.*)>$")


def passed_on(targets, name):
    """What linking `name` brings: the libraries it passes on, not its private links."""
    out = []
    for lib in targets.get(name, {}).get("interface_links", []):
        if not LINK_ONLY.match(lib):
            out.append(lib)
    return out


def reachable(targets, name):
    """The libraries whose headers a file of `name` may include: its own and what it links."""
    seen = {name}
    todo = list(targets[name]["links"]) + passed_on(targets, name)
    # A run-time module may use what the layer it is part of may use.
    part_of = targets[name].get("part_of")
    if part_of:
        todo.append(part_of)
        todo.extend(targets[part_of]["links"])
    while todo:
        lib = LINK_ONLY.sub(r"\1", todo.pop())
        if lib not in seen:
            seen.add(lib)
            todo.extend(passed_on(targets, lib))
    return seen


def owners_of(targets, src):
    """Each file under src/ mapped to the set of targets that list it."""
    owners = {}
    for name, t in targets.items():
        for path in t["sources"]:
            p = pathlib.Path(path)
            if p.is_relative_to(src):
                owners.setdefault(p, set()).add(name)
    return owners


def resolve(src, including, spelled, quoted):
    """The file under src/ an include names, or None when it is not the project's."""
    bases = [including.parent, src] if quoted else [src]
    for base in bases:
        p = (base / spelled).resolve()
        if p.is_relative_to(src) and p.is_file():
            return p
    return None


def faults(target_list, src):
    src = pathlib.Path(src).resolve()
    targets = json.loads(pathlib.Path(target_list).read_text())
    owners = owners_of(targets, src)
    allowed = {name: reachable(targets, name) for name in targets}
    found = []
    for f in sorted(src.rglob("*")):
        if f.suffix not in SOURCE_SUFFIXES or not f.is_file():
            continue
        rel = f.relative_to(src).as_posix()
        mine = owners.get(f)
        if not mine:
            found.append(f"{rel}: listed by no target (add it to its folder's target_sources)")
            continue
        for quoted, angled in INCLUDE.findall(f.read_text(errors="replace")):
            spelled = quoted or angled
            header = resolve(src, f, spelled, bool(quoted))
            theirs = owners.get(header) if header else None
            if not theirs:
                continue  # not a project header, or an unlisted one (reported on its own)
            for own in sorted(mine):
                if not theirs & allowed[own]:
                    found.append(f"{rel}: includes {spelled} ({own} may not use "
                                 f"{', '.join(sorted(theirs))})")
    return found


def main(argv):
    if len(argv) != 3:
        print("usage: check_layers.py TARGET_LIST SRC_DIR", file=sys.stderr)
        return 2
    found = faults(argv[1], argv[2])
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
