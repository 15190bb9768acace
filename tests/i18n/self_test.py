#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs check_translations.py on a small tree of its own and names each fault it must catch.

    self_test.py LUPDATE LRELEASE
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

SOURCE = """
#include <QCoreApplication>
struct Box {
    Q_DECLARE_TR_FUNCTIONS(Box)
    static void texts() {
        tr("Kept");
        tr("Deleted %1 notes");
        tr("Unfinished");
        tr("New text");
    }
};
"""

TS = """<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Box</name>
    <message><source>Kept</source><translation>Behalten</translation></message>
    <message><source>Deleted %1 notes</source><translation>Notizen gelöscht</translation></message>
    <message><source>Unfinished</source><translation type="unfinished"></translation></message>
    <message><source>Gone</source><translation>Weg</translation></message>
</context>
</TS>
"""

CLEAN_TS = TS.replace("Notizen gelöscht", "%1 Notizen gelöscht").replace(
    '<translation type="unfinished"></translation>', "<translation>Unfertig</translation>").replace(
    "<message><source>Gone</source><translation>Weg</translation></message>",
    "<message><source>New text</source><translation>Neuer Text</translation></message>")


def check(lupdate, lrelease, src, ts_text, scratch):
    ts = os.path.join(scratch, "plumora_de.ts")
    with open(ts, "w", encoding="utf-8") as f:
        f.write(ts_text)
    run = subprocess.run([sys.executable, os.path.join(HERE, "check_translations.py"), lupdate,
                          lrelease, src, ts], capture_output=True, text=True)
    return run.returncode, run.stdout


def main(argv):
    lupdate, lrelease = argv[1], argv[2]
    with tempfile.TemporaryDirectory() as scratch:
        src = os.path.join(scratch, "src")
        os.mkdir(src)
        with open(os.path.join(src, "box.cpp"), "w", encoding="utf-8") as f:
            f.write(SOURCE)
        code, out = check(lupdate, lrelease, src, TS, scratch)
        expected = ["unfinished: Box: 'Unfinished'",
                    "placeholders differ: Box: 'Deleted %1 notes'",
                    "not in the .ts yet: Box: 'New text'",
                    "no longer in the sources: Box: 'Gone'"]
        missing = [e for e in expected if e not in out]
        if code != 1 or missing:
            print(f"faulty file passed or faults not named (exit {code}): {missing}\n{out}")
            return 1
        code, out = check(lupdate, lrelease, src, CLEAN_TS, scratch)
        if code != 0:
            print(f"a complete, current file was refused:\n{out}")
            return 1
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
