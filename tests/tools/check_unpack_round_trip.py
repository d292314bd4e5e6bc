#!/usr/bin/env python3
"""Builds a theme with kestrova-build, takes it apart with kestrova-build --unpack and builds it
again from the theme.ini that wrote; both archives must pass unzip -t and hold the same entries,
byte for byte and with the same times, as Python's zipfile reads them.

Runs twice: on the manifest given, and on a variant with a Cyrillic title, texts that need
quoting in an ini file, a slot chosen a second time with another extension, and a colour
scheme of its own.

usage: check_unpack_round_trip.py KESTROVA_BUILD MANIFEST.ini
"""
import configparser
import os
import pathlib
import subprocess
import sys
import tempfile
import time
import zipfile


def run(command, env):
    result = subprocess.run(command, env=env, capture_output=True, text=True)
    assert result.returncode == 0, f"{command}: {result.returncode}\n{result.stdout}{result.stderr}"
    return result.stdout


def entries(archive):
    subprocess.run(["unzip", "-tqq", archive], check=True)
    with zipfile.ZipFile(archive, metadata_encoding="cp866") as z:
        return [(info.filename, info.date_time, z.read(info)) for info in z.infolist()]


def variant(manifest, folder):
    """The manifest with absolute paths and the harder cases added."""
    parser = configparser.ConfigParser(interpolation=None, inline_comment_prefixes=(";",))
    parser.optionxform = str
    parser.read(manifest, encoding="utf-8")
    media = pathlib.Path(manifest).parent
    slots = [f"{key}={media / value}" for key, value in parser.items("slots")]
    slots.append(f"background_picture_body_tab={media / 'progressbar.png'}")
    scheme = folder / "custom.col"
    scheme.write_bytes(b"ColourScheme Custom\nData\n" + bytes(range(256)) * 3)
    os.utime(scheme, (1700000000, 1700000000))
    text = "\n".join([
        "[theme]",
        "title=Синяя ночь",
        "author='  Морвейн ; студия  '",
        'vendor="Кестрова" & Co',
        "version=2.0",
        "price=10",
        "url=https://example.org/?a=1&b=2",
        "published=2026-3-5",
        "[slots]", *slots,
        "[scheme]", f"file={scheme}", ""])
    path = folder / "variant.ini"
    path.write_text(text, encoding="utf-8")
    return path


def round_trip(builder, manifest, work, env):
    first, unpacked, second = work / "first", work / "unpacked", work / "second"
    for folder in (first, second):
        folder.mkdir()
    run([builder, "-o", str(first), str(manifest)], env)
    [archive] = list(first.iterdir())
    print(run([builder, "--unpack", str(archive), str(unpacked)], env), end="")
    run([builder, "-o", str(second), str(unpacked / "theme.ini")], env)
    [rebuilt] = list(second.iterdir())
    assert rebuilt.name == archive.name, (rebuilt.name, archive.name)

    before, after = entries(str(archive)), entries(str(rebuilt))
    assert [e[0] for e in after] == [e[0] for e in before], (after, before)
    for (name, when, data), (_, when_again, data_again) in zip(before, after):
        assert data_again == data, f"{name} differs"
        # config.spc and the DeepBlue scheme are written by each build, with its time.
        if (unpacked / name).exists():
            assert when_again == when, (name, when, when_again)
            assert time.localtime((unpacked / name).stat().st_mtime)[:6] == when, name
    written = sorted(p.name for p in unpacked.iterdir())
    assert "config.spc" not in written and "theme.ini" in written, written
    print(f"{archive.name}: {len(before)} entries rebuilt alike from {unpacked / 'theme.ini'}")


def main():
    builder, manifest = sys.argv[1], pathlib.Path(sys.argv[2]).resolve()
    with tempfile.TemporaryDirectory() as tmp:
        tmp = pathlib.Path(tmp)
        staging = tmp / "staging"
        staging.mkdir()
        os.environ["TZ"] = "Europe/Moscow"
        time.tzset()
        env = dict(os.environ, TMPDIR=str(staging))
        for case, source in (("given", manifest), ("variant", None)):
            work = tmp / case
            work.mkdir()
            round_trip(builder, source or variant(manifest, work), work, env)


if __name__ == "__main__":
    main()
