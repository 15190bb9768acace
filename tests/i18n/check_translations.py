#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the translation files before a release.

    check_translations.py LUPDATE LRELEASE SRC TS...

Each .ts must build with lrelease and hold no unfinished, vanished or obsolete entry; each
translation keeps the placeholders (%1, %2...) of its source text; and the .ts must be up to
date with the tr() texts of SRC: lupdate run on a copy may add nothing and retire nothing.
Prints every fault found and exits 1 when there is one.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

PLACEHOLDER = re.compile(r"%L?(\d+)")


def messages(ts_path):
    """(context, source, translation element) for every message of the file."""
    root = ET.parse(ts_path).getroot()
    for context in root.iter("context"):
        name = context.findtext("name", "")
        for message in context.iter("message"):
            yield name, message.findtext("source", ""), message.find("translation")


def texts_of(translation):
    """The translated texts: one, or one per plural form."""
    forms = translation.findall("numerusform")
    return [f.text or "" for f in forms] if forms else [translation.text or ""]


def content_faults(ts_path):
    faults = []
    for context, source, translation in messages(ts_path):
        where = f"{context}: {source!r}"
        kind = translation.get("type") if translation is not None else "unfinished"
        if kind in ("unfinished", "vanished", "obsolete"):
            faults.append(f"{kind}: {where}")
            continue
        wanted = set(PLACEHOLDER.findall(source))
        for text in texts_of(translation):
            if not text.strip():
                faults.append(f"empty translation: {where}")
            elif set(PLACEHOLDER.findall(text)) != wanted:
                faults.append(f"placeholders differ: {where} -> {text!r}")
    return faults


def release_faults(lrelease, ts_path, scratch):
    run = subprocess.run([lrelease, ts_path, "-qm", os.path.join(scratch, "check.qm")],
                         capture_output=True, text=True)
    if run.returncode != 0:
        return [f"lrelease failed: {run.stdout}{run.stderr}".strip()]
    return []


def stale_faults(lupdate, src, ts_path, scratch):
    """What lupdate would change: new tr() texts, and texts src no longer has."""
    copy = os.path.join(scratch, os.path.basename(ts_path))
    shutil.copyfile(ts_path, copy)
    run = subprocess.run([lupdate, "-locations", "none", "-silent", src, "-ts", copy],
                         capture_output=True, text=True)
    if run.returncode != 0:
        return [f"lupdate failed: {run.stdout}{run.stderr}".strip()]
    before = {(c, s) for c, s, _ in messages(ts_path)}
    faults = []
    for context, source, translation in messages(copy):
        kind = translation.get("type") if translation is not None else None
        if (context, source) not in before:
            faults.append(f"not in the .ts yet: {context}: {source!r}")
        elif kind in ("vanished", "obsolete"):
            faults.append(f"no longer in the sources: {context}: {source!r}")
    return faults


def main(argv):
    if len(argv) < 5:
        print(__doc__, file=sys.stderr)
        return 2
    lupdate, lrelease, src, ts_files = argv[1], argv[2], argv[3], argv[4:]
    failed = False
    for ts_path in ts_files:
        with tempfile.TemporaryDirectory() as scratch:
            faults = (content_faults(ts_path) + release_faults(lrelease, ts_path, scratch) +
                      stale_faults(lupdate, src, ts_path, scratch))
        name = os.path.basename(ts_path)
        for fault in faults:
            print(f"{name}: {fault}")
        print(f"{name}: {'FAILED, ' + str(len(faults)) + ' fault(s)' if faults else 'ok'}")
        failed = failed or bool(faults)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
