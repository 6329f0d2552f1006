#!/usr/bin/env python3
"""Checks the Japanese catalogue: every entry is translated, keeps its placeholders (%1, %2,
%v, %m) and its menu accelerator (&X), and no English text appears twice.
Usage: catalogue_check.py CATALOGUE.ts"""

import re
import sys
import xml.etree.ElementTree as ET


def placeholders(text):
    return sorted(re.findall(r"%\d|%[vm]", text))


def accelerators(text):
    return re.findall(r"&(\w)", text.replace("&&", ""))


def main():
    problems = []
    seen = set()
    for message in ET.parse(sys.argv[1]).iter("message"):
        source = message.findtext("source") or ""
        translation = message.find("translation")
        text = translation.text or "" if translation is not None else ""
        if source in seen:
            problems.append(f"{source!r} appears twice")
        seen.add(source)
        if not text or (translation.get("type") or "") in ("unfinished", "obsolete"):
            problems.append(f"{source!r} has no translation")
        elif placeholders(source) != placeholders(text):
            problems.append(f"{source!r}: placeholders {placeholders(text)}")
        elif accelerators(source) != accelerators(text):
            problems.append(f"{source!r}: accelerator {accelerators(text)}")
    if problems:
        sys.exit("\n".join(problems))
    print(f"{len(seen)} entries")


if __name__ == "__main__":
    main()
