#!/usr/bin/env python3
"""Collects the texts of the sources as they are now into a copy of a translation file, the way
"tools/dev translations" does, and checks that every text has a finished translation that keeps
the source's placeholders, its accelerator and the colon or ellipsis it ends with.

usage: check_translations.py LUPDATE FILE.ts LUPDATE_ARGUMENTS...
"""
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

ENDINGS = (":", "...", "…")


def accelerators(text):
    return len(re.findall(r"(?<!&)&(?!&)", text))


def ending(text):
    return next((end for end in ENDINGS if text.endswith(end)), "").replace("…", "...")


def faults(source, translation):
    if translation is None or translation.get("type") in ("unfinished", "vanished", "obsolete"):
        return ["no finished translation (run tools/dev translations, then translate it)"]
    text = translation.text or ""
    found = []
    if not text.strip():
        found.append("empty translation")
    if sorted(re.findall(r"%\d+", source)) != sorted(re.findall(r"%\d+", text)):
        found.append(f"placeholders differ: {text!r}")
    if accelerators(source) != accelerators(text):
        found.append(f"the accelerator '&' is lost or added: {text!r}")
    if ending(source) != ending(text):
        found.append(f"ends differently: {text!r}")
    return found


def main():
    lupdate, ts_file, arguments = sys.argv[1], sys.argv[2], sys.argv[3:]
    with tempfile.TemporaryDirectory() as scratch:
        copy = f"{scratch}/copy.ts"
        shutil.copyfile(ts_file, copy)
        run = subprocess.run([lupdate, *arguments, "-ts", copy], capture_output=True, text=True)
        if run.returncode != 0:
            raise SystemExit(f"lupdate failed:\n{run.stdout}{run.stderr}")
        root = ET.parse(copy).getroot()
    problems = []
    for context in root.iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            for fault in faults(source, message.find("translation")):
                problems.append(f"{name}: {source!r}: {fault}")
    if problems:
        raise SystemExit("\n".join(problems))


if __name__ == "__main__":
    main()
