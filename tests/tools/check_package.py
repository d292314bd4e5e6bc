#!/usr/bin/env python3
"""Builds the Debian package from a build with CPack and judges it: the files it holds, the
dependencies dpkg-shlibdeps computed, and lintian, which must report no error. Skipped with a
note when dpkg-deb, dpkg-shlibdeps or lintian is missing.

usage: check_package.py BUILD_DIR CPACK
"""
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from check_install import cache_value, expected_files  # noqa: E402


def main():
    build, cpack = pathlib.Path(sys.argv[1]).resolve(), sys.argv[2]
    missing = [tool for tool in ("dpkg-deb", "dpkg-shlibdeps", "lintian") if not shutil.which(tool)]
    if missing:
        print(f"note: {', '.join(missing)} not installed; the package is not checked")
        return 0
    gui = cache_value(build, "KESTROVA_GUI").upper() in ("ON", "1", "TRUE", "YES")
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        run = subprocess.run([cpack, "--config", build / "CPackConfig.cmake", "-G", "DEB",
                              "-B", folder], cwd=folder, capture_output=True, text=True)
        debs = list(pathlib.Path(folder).glob("kestrova_*.deb"))
        if run.returncode != 0 or len(debs) != 1:
            print(run.stdout + run.stderr)
            return 1
        deb = debs[0]

        listing = subprocess.run(["dpkg-deb", "--contents", deb], capture_output=True,
                                 text=True, check=True).stdout
        held = set()
        for line in listing.splitlines():
            mode, owner, *_, name = line.split()
            if owner != "root/root":
                problems.append(f"{name} belongs to {owner}")
            if not mode.startswith("d"):
                held.add(name.removeprefix("./"))
        expected = set(expected_files(gui))
        for name in sorted(expected - held):
            problems.append(f"the package lacks {name}")
        for name in sorted(held - expected):
            problems.append(f"the package holds {name}, which was not expected")

        depends = subprocess.run(["dpkg-deb", "--field", deb, "Depends"], capture_output=True,
                                 text=True, check=True).stdout
        # Computed from the programs' libraries, so the window's toolkit must be among them.
        wanted = ["libc6", "zlib1g"] + (["libqt6widgets6"] if gui else [])
        for package in wanted:
            if not re.search(rf"(^|, ){re.escape(package)}( |,|$)", depends.strip()):
                problems.append(f"Depends lacks {package}: {depends.strip()}")

        lintian = subprocess.run(["lintian", "--fail-on", "error", deb], capture_output=True,
                                 text=True)
        report = "\n".join(line for line in (lintian.stdout + lintian.stderr).splitlines()
                           if "root privileges" not in line)
        if report:
            print(report)
        if lintian.returncode != 0:
            problems.append("lintian reports errors")
    for text in problems:
        print("FAIL:", text)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
