#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Counts the 4 KiB pages of code a stretch of a program ran, from a callgrind output written
# with --dump-instr=yes: every address that has a cost of its own (a call's line only carries
# its callee's cost, at a call made before the stretch perhaps). Prints the count.
#
# Usage: code_pages.py CALLGRIND_OUT
import re
import sys

position = re.compile(r"^(0x[0-9a-fA-F]+|[+-]\d+|\*)(\s|$)")
pages = set()
objects = {}
current = None
address = 0
call_line = False
with open(sys.argv[1]) as out:
    for line in out:
        if line.startswith(("ob=", "cob=")):
            number, _, name = line.rstrip("\n").partition("=")[2].partition(" ")
            if name:
                objects[number] = name
            if line.startswith("ob="):
                current = objects[number]
            continue
        if line.startswith("calls="):
            call_line = True
            continue
        match = position.match(line)
        if not match or current is None:
            continue
        token = match.group(1)
        if token.startswith("0x"):
            address = int(token, 16)
        elif token != "*":
            address += int(token)
        if not call_line:
            pages.add((current, address >> 12))
        call_line = False
print(len(pages))
