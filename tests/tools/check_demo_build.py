#!/usr/bin/env python3
"""Builds a theme with kestrova-build and judges the archive with readers of its own:
unzip -t, 7z t, Python's zipfile and an XML parser for config.spc.

usage: check_demo_build.py KESTROVA_BUILD MANIFEST.ini
"""
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

SOURCE = pathlib.Path(__file__).resolve().parents[2]


def slot_names():
    # The catalogue's own table, so a renamed slot cannot slip past.
    text = (SOURCE / "src/model/WorkUnit.cpp").read_text(encoding="utf-8")
    table = text[text.index("SlotNames = {"):]
    table = table[:table.index("};")]
    names = re.findall(r'"([a-z0-9_]+)"', table)
    assert len(names) == 38, names
    return names


def strip_remark(value):
    value = value.strip()
    start = 0
    if value[:1] in ("'", '"') and value.find(value[0], 1) > 0:
        start = value.find(value[0], 1) + 1
    for i in range(start, len(value)):
        if value[i] == ";" and (i == 0 or value[i - 1] in " \t"):
            value = value[:i].strip()
            break
    if len(value) >= 2 and value[0] in ("'", '"') and value[-1] == value[0]:
        value = value[1:-1]
    return value


def read_manifest(path):
    """The title and the [slots] lines in order, as (key, path) pairs."""
    section, title, slots = None, "", []
    for line in pathlib.Path(path).read_text(encoding="utf-8-sig").splitlines():
        line = line.strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("["):
            section = line[1:line.index("]")].strip().lower()
            continue
        if "=" not in line:
            continue
        key, value = (part.strip() for part in line.split("=", 1))
        value = strip_remark(value)
        if section == "theme" and key.lower() == "title":
            title = value
        elif section == "slots":
            slots.append((key, value))
    return title, slots


def staged_name(key, path, names):
    name = names[int(key)] if key.isdigit() else key.lower()
    assert name in names, key
    base = path.replace("\\", "/").rsplit("/", 1)[-1]
    extension = base[base.rfind("."):] if "." in base else ""
    return name + extension


def main():
    builder, manifest = sys.argv[1], os.path.abspath(sys.argv[2])
    names = slot_names()
    title, slots = read_manifest(manifest)
    listed = [staged_name(key, path, names) for key, path in slots]
    packed = []
    for name in listed:
        if name.lower() not in (p.lower() for p in packed):
            packed.append(name)
    packed += ["SkinScheme.col", "config.spc"]

    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, "out")
        staging = os.path.join(work, "tmp")
        os.mkdir(out)
        os.mkdir(staging)
        env = dict(os.environ, TMPDIR=staging)
        run = subprocess.run([builder, "-o", out, manifest], env=env, capture_output=True)
        print(run.stdout.decode(), run.stderr.decode(), sep="", end="")
        assert run.returncode == 0, f"kestrova-build exited with {run.returncode}"
        assert "Сделано!!!" in run.stdout.decode()
        assert os.listdir(staging) == [], "the private staging folder was left behind"

        archive = os.path.join(out, title + ".sdt")
        assert os.listdir(out) == [title + ".sdt"], os.listdir(out)
        for command in (["unzip", "-t", archive], ["7z", "t", archive]):
            check = subprocess.run(command, capture_output=True)
            assert check.returncode == 0, check.stdout.decode(errors="replace")

        with zipfile.ZipFile(archive, metadata_encoding="cp866") as z:
            assert z.testzip() is None
            entries = z.namelist()
            assert entries == packed, f"entries {entries}\nexpected {packed}"
            assert len(entries) == 40, len(entries)
            descriptor = z.read("config.spc").decode("cp1251")

    root = ET.fromstring(descriptor)
    sources = [res.get("src") for res in root.iter("res") if res.get("name") != "text_colors"]
    assert sources == listed, f"config.spc lists {sources}\nexpected {listed}"
    assert len(sources) == 38, len(sources)
    titles = [t.get("content") for t in root.iter("txt") if t.get("name") == "Title:"]
    assert titles == [title], titles
    print(f"{archive}: 40 entries, config.spc lists the 38 files in manifest order")


if __name__ == "__main__":
    main()
