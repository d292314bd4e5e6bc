#!/usr/bin/env python3
"""Installs a build into a staging root, as a package would, and judges what lands there: the
file list and modes, the programs, and the desktop files through the desktop's own validators
(desktop-file-validate, appstreamcli, xmllint, update-mime-database), each skipped with a note
when it is not installed.

usage: check_install.py BUILD_DIR CMAKE
"""
import configparser
import gzip
import os
import pathlib
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SOURCE = pathlib.Path(__file__).resolve().parents[2]
APP_ID = "org.morvane.Kestrova"
MIME_TYPE = "application/x-benq-siemens-theme"
ICON_SIZES = (48, 128, 256)

problems = []


def problem(text):
    problems.append(text)


def cache_value(build, name):
    match = re.search(rf"^{name}:[A-Z]+=(.*)$", (build / "CMakeCache.txt").read_text(), re.M)
    return match.group(1) if match else ""


def expected_files(gui):
    files = {
        "usr/bin/kestrova-build": 0o755,
        "usr/libexec/kestrova/kestrova-check": 0o755,
        f"usr/share/applications/{APP_ID}.desktop": 0o644,
        f"usr/share/metainfo/{APP_ID}.metainfo.xml": 0o644,
        f"usr/share/mime/packages/{APP_ID}.xml": 0o644,
        f"usr/share/icons/hicolor/scalable/apps/{APP_ID}.svg": 0o644,
        "usr/share/man/man1/kestrova.1.gz": 0o644,
        "usr/share/man/man1/kestrova-build.1.gz": 0o644,
        "usr/share/doc/kestrova/copyright": 0o644,
        "usr/share/doc/kestrova/changelog.gz": 0o644,
    }
    for size in ICON_SIZES:
        files[f"usr/share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png"] = 0o644
    for resource in ("descr.ini", "descr_en.ini", "help.chm"):
        if (SOURCE / "resources" / resource).exists():
            files[f"usr/share/kestrova/{resource}"] = 0o644
    if gui:
        files["usr/bin/kestrova"] = 0o755
    return files


def check_file_list(root, gui):
    expected = expected_files(gui)
    found = {}
    for path in root.rglob("*"):
        if path.is_dir() and not path.is_symlink():
            continue
        found[path.relative_to(root).as_posix()] = path.lstat().st_mode
    for name in sorted(set(expected) - set(found)):
        problem(f"missing: {name}")
    for name in sorted(set(found) - set(expected)):
        problem(f"not expected: {name}")
    for name, mode in found.items():
        if not (mode & 0o170000) == 0o100000:
            problem(f"{name} is not a regular file")
        elif name in expected and mode & 0o7777 != expected[name]:
            problem(f"{name} has mode {mode & 0o7777:o}, expected {expected[name]:o}")


def check_programs(root):
    for program in ("bin/kestrova", "bin/kestrova-build", "libexec/kestrova/kestrova-check"):
        path = root / "usr" / program
        if not path.exists():
            continue
        if path.read_bytes()[:4] != b"\x7fELF":
            problem(f"{program} is not an ELF program")
            continue
        if shutil.which("readelf"):
            dynamic = subprocess.run(["readelf", "-d", path], capture_output=True, text=True)
            # A path into the build folder would outlive the build and point nowhere.
            if re.search(r"\((RPATH|RUNPATH)\)", dynamic.stdout):
                problem(f"{program} keeps a run path: {dynamic.stdout}")
    build = root / "usr/bin/kestrova-build"
    run = subprocess.run([build, "--help"], capture_output=True, text=True)
    if run.returncode != 0 or "kestrova" not in run.stdout.lower():
        problem(f"the installed kestrova-build --help failed: {run.returncode} {run.stderr}")
    # --check runs the program in libexec, which the installed copy must find from its bin folder.
    demo = SOURCE / "demo" / "theme.ini"
    if demo.exists():
        run = subprocess.run([build, "--check", demo], capture_output=True, text=True)
        if run.returncode not in (0, 1) or " missing\n" not in run.stdout:
            problem(f"the installed kestrova-build --check failed: {run.returncode} {run.stderr}")


def validator(name):
    if shutil.which(name):
        return True
    print(f"note: {name} is not installed; its check is skipped")
    return False


def run_validator(command, what, env=None):
    run = subprocess.run(command, capture_output=True, text=True, env=env)
    output = (run.stdout + run.stderr).strip()
    if run.returncode != 0:
        problem(f"{what}: {' '.join(map(str, command))} failed:\n{output}")
    elif output:
        print(f"{what}: {output}")


def check_desktop_entry(root, gui):
    path = root / f"usr/share/applications/{APP_ID}.desktop"
    if not path.exists():
        return
    if validator("desktop-file-validate"):
        run_validator(["desktop-file-validate", path], "desktop entry")
    entry = configparser.ConfigParser(interpolation=None, delimiters=("=",))
    entry.optionxform = str
    entry.read(path, encoding="utf-8")
    section = entry["Desktop Entry"]
    for key in ("Name", "Comment", "GenericName"):
        if not section.get(f"{key}[ru]"):
            problem(f"the desktop entry has no Russian {key}")
    if "Graphics" not in section.get("Categories", "").split(";"):
        problem("the desktop entry is not in the Graphics category")
    exec_line = section.get("Exec", "").split()
    if exec_line[1:] != ["%f"]:
        problem(f"the desktop entry should start the editor with one file: {exec_line}")
    if gui and not (root / "usr/bin" / exec_line[0]).exists():
        problem(f"the desktop entry starts {exec_line[0]}, which is not installed")
    if section.get("MimeType", "").strip(";").split(";") != [MIME_TYPE]:
        problem(f"the desktop entry does not handle {MIME_TYPE}")
    icon = section.get("Icon", "")
    for size in ICON_SIZES:
        if not (root / f"usr/share/icons/hicolor/{size}x{size}/apps/{icon}.png").exists():
            problem(f"no {size}-pixel icon named {icon}")


def check_metainfo(root):
    path = root / f"usr/share/metainfo/{APP_ID}.metainfo.xml"
    if not path.exists():
        return
    if validator("appstreamcli"):
        run_validator(["appstreamcli", "validate", "--no-net", path], "metainfo")
    component = ET.parse(path).getroot()
    if component.findtext("id") != APP_ID:
        problem(f"the metainfo's id is {component.findtext('id')}")
    if component.findtext("launchable") != f"{APP_ID}.desktop":
        problem("the metainfo does not launch the installed desktop entry")
    if component.findtext("provides/mediatype") != MIME_TYPE:
        problem(f"the metainfo does not provide {MIME_TYPE}")


def check_mime(root):
    path = root / f"usr/share/mime/packages/{APP_ID}.xml"
    if not path.exists():
        return
    if validator("xmllint"):
        run_validator(["xmllint", "--noout", path], "MIME file")
    if not validator("update-mime-database"):
        return
    # The database a desktop would build from the file, with the standard types beside it.
    with tempfile.TemporaryDirectory() as folder:
        mime = pathlib.Path(folder) / "mime"
        (mime / "packages").mkdir(parents=True)
        shutil.copy(path, mime / "packages")
        standard = pathlib.Path("/usr/share/mime/packages/freedesktop.org.xml")
        if standard.exists():
            shutil.copy(standard, mime / "packages")
        run_validator(["update-mime-database", mime], "MIME database",
                      env=dict(os.environ, XDG_DATA_DIRS=folder))
        globs = (mime / "globs2").read_text() if (mime / "globs2").exists() else ""
        if not re.search(rf"^\d+:{re.escape(MIME_TYPE)}:\*\.sdt$", globs, re.M):
            problem(f"*.sdt does not name {MIME_TYPE} in the MIME database")
        subclasses = (mime / "subclasses").read_text() if (mime / "subclasses").exists() else ""
        if f"{MIME_TYPE} application/zip" not in subclasses:
            problem(f"{MIME_TYPE} is not a kind of application/zip")
        magic = (mime / "magic").read_bytes() if (mime / "magic").exists() else b""
        ours = re.search(
            rb"\[(\d+):" + re.escape(MIME_TYPE.encode()) + rb"\]\n>0=\x00\x04PK\x03\x04", magic)
        zips = re.search(rb"\[(\d+):application/zip\]\n", magic)
        if not ours:
            problem(f"the MIME database has no PK\\x03\\x04 magic for {MIME_TYPE}")
        elif zips and int(ours.group(1)) >= int(zips.group(1)):
            # Equal or higher, and every ZIP archive seen without its name would be a theme.
            problem("the theme's magic does not rank below application/zip's")


def png_size(path):
    header = path.read_bytes()[:24]
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", header[16:24])


def check_icons(root):
    for size in ICON_SIZES:
        path = root / f"usr/share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png"
        if path.exists() and png_size(path) != (size, size):
            problem(f"{path.name} in {size}x{size} is {png_size(path)}")
    svg = root / f"usr/share/icons/hicolor/scalable/apps/{APP_ID}.svg"
    png = root / f"usr/share/icons/hicolor/256x256/apps/{APP_ID}.png"
    if not svg.exists():
        return
    if validator("xmllint"):
        run_validator(["xmllint", "--noout", svg], "SVG icon")
    if not validator("rsvg-convert") or not png.exists():
        return
    try:
        from PIL import Image, ImageChops, ImageStat
    except ImportError:
        print("note: Pillow is missing; the SVG icon is not compared with the bitmaps")
        return
    # Both are drawn from the same shapes; a drawing edited in one only would drift apart.
    with tempfile.TemporaryDirectory() as folder:
        rendered = pathlib.Path(folder) / "svg.png"
        subprocess.run(["rsvg-convert", "-w", "256", "-h", "256", svg, "-o", rendered],
                       check=True)
        a = Image.open(rendered).convert("RGBA")
        b = Image.open(png).convert("RGBA")
        difference = max(ImageStat.Stat(ImageChops.difference(a, b)).mean)
        if difference > 8:
            problem(f"the SVG icon differs from the 256-pixel one by {difference:.1f} on average")


def check_compressed(root, version):
    for name in ("usr/share/man/man1/kestrova.1.gz", "usr/share/man/man1/kestrova-build.1.gz",
                 "usr/share/doc/kestrova/changelog.gz"):
        path = root / name
        if not path.exists():
            continue
        head = path.read_bytes()[:10]
        flags, mtime, extra = head[3], struct.unpack("<I", head[4:8])[0], head[8]
        # Debian asks for gzip -9 without a stored name or time, so rebuilds give equal bytes.
        if flags & 0x08 or mtime != 0 or extra != 2:
            problem(f"{name} is not compressed with gzip -9n")
        text = gzip.decompress(path.read_bytes()).decode("utf-8")
        if name.endswith("changelog.gz") and not text.startswith(f"kestrova ({version}) "):
            problem(f"the changelog does not start with version {version}: {text[:40]!r}")
    if validator("man"):
        for page in ("kestrova", "kestrova-build"):
            path = root / f"usr/share/man/man1/{page}.1.gz"
            if path.exists():
                run = subprocess.run(["man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", path],
                                     capture_output=True, text=True,
                                     env=dict(os.environ, MANWIDTH="80"))
                if run.returncode != 0 or run.stderr.strip():
                    problem(f"man {page}: {run.stderr.strip()}")


def main():
    build, cmake = pathlib.Path(sys.argv[1]), sys.argv[2]
    gui = cache_value(build, "KESTROVA_GUI").upper() in ("ON", "1", "TRUE", "YES")
    version = cache_value(build, "CMAKE_PROJECT_VERSION")
    with tempfile.TemporaryDirectory() as staging:
        root = pathlib.Path(staging)
        run = subprocess.run([cmake, "--install", build, "--prefix", "/usr"],
                             env=dict(os.environ, DESTDIR=staging), capture_output=True,
                             text=True)
        if run.returncode != 0:
            print(run.stdout + run.stderr)
            return 1
        check_file_list(root, gui)
        check_programs(root)
        check_desktop_entry(root, gui)
        check_metainfo(root)
        check_mime(root)
        check_icons(root)
        check_compressed(root, version)
    for text in problems:
        print("FAIL:", text)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
