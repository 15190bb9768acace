#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads an iCalendar file with the Python icalendar package and prints its events as
JSON lines: uid, start date, summary and the rule's FREQ (or "")."""
import json
import sys

from icalendar import Calendar

with open(sys.argv[1], "rb") as f:
    calendar = Calendar.from_ical(f.read())
for event in calendar.walk("VEVENT"):
    rule = event.get("RRULE")
    print(json.dumps({
        "uid": str(event["UID"]),
        "date": event.decoded("DTSTART").isoformat(),
        "summary": str(event["SUMMARY"]),
        "freq": rule["FREQ"][0] if rule else "",
        "stamp": bool(event.get("DTSTAMP")) and bool(event.get("LAST-MODIFIED")),
    }, ensure_ascii=False))
