#!/usr/bin/python3
"""Writes theme archives made the way other tools make them, and hostile ones, with Python's
zipfile (an independent writer), patching header fields where a case needs a lie.

usage: make_test_archives.py OUTPUT_DIR

Every archive is <case>.sdt in OUTPUT_DIR. The readers' tests open each and say what must come
of it; the fuzzer takes them as seeds.
"""

import io
import os
import struct
import sys
import zipfile
import zlib

LOCAL = 0x04034B50
CENTRAL = 0x02014B50
END = 0x06054B50
TIME = (2024, 5, 1, 12, 30, 10)


def text(size):
    line = b"Siemens Downloadable Theme, 240x320 pixels\n"
    return (line * (size // len(line) + 1))[:size]


def archive(entries, compression=zipfile.ZIP_DEFLATED, level=6, comment=b""):
    """entries: (name, bytes) pairs, written in order."""
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", compression, compresslevel=level) as z:
        z.comment = comment
        for name, data in entries:
            info = zipfile.ZipInfo(name, TIME)
            info.compress_type = compression
            z.writestr(info, data)
    return bytearray(out.getvalue())


class Unseekable(io.RawIOBase):
    """A pipe, as far as zipfile can tell: it writes data descriptors after each entry."""

    def __init__(self):
        self.chunks = []

    def writable(self):
        return True

    def write(self, data):
        self.chunks.append(bytes(data))
        return len(data)

    def seekable(self):
        return False

    def tell(self):
        raise OSError("unseekable")


def streamed(entries):
    sink = Unseekable()
    with zipfile.ZipFile(sink, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            with z.open(info, "w") as entry:
                entry.write(data)
    return bytearray(b"".join(sink.chunks))


def end_record(data):
    return data.rindex(struct.pack("<I", END))


def headers(data, name):
    """Offsets of the local and the central header of the entry called name."""
    end = end_record(data)
    count, size, offset = struct.unpack_from("<HII", data, end + 10)
    at = offset
    for _ in range(count):
        assert struct.unpack_from("<I", data, at)[0] == CENTRAL
        name_length, extra_length, comment_length = struct.unpack_from("<HHH", data, at + 28)
        local = struct.unpack_from("<I", data, at + 42)[0]
        if data[at + 46:at + 46 + name_length] == name.encode("cp437"):
            return local, at
        at += 46 + name_length + extra_length + comment_length
    raise KeyError(name)


# Field offsets in a local and in a central header.
FIELDS = {"flags": (6, 8, "H"), "crc": (14, 16, "I"), "compressed": (18, 20, "I"),
          "size": (22, 24, "I")}


def patch(data, name, **values):
    """Sets fields in both headers of an entry, so the archive still agrees with itself."""
    local, central = headers(data, name)
    for field, value in values.items():
        local_at, central_at, form = FIELDS[field]
        struct.pack_into("<" + form, data, local + local_at, value)
        struct.pack_into("<" + form, data, central + central_at, value)
    return data


def with_zip64_end(data):
    """Puts a ZIP64 end record and its locator before the end record, whose counts stay true."""
    end = end_record(data)
    entries, size, offset = struct.unpack_from("<HII", data, end + 10)
    record = struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, entries, entries, size,
                         offset)
    locator = struct.pack("<IIQI", 0x07064B50, 0, end, 1)
    return data[:end] + record + locator + data[end:]


def descriptor(resources):
    lines = ['<?xml version="1.0"?>', "<package>", "\t<summary>",
             '\t\t<txt name="Title:"\tcontent="Many"/>', "\t</summary>",
             '<format type="theme" version="1.1">']
    lines += [f'\t<res name="{name}"\tsrc="{src}"/>' for name, src in resources]
    lines += ["</format>", "</package>", ""]
    return "\n".join(lines).encode("cp1251")


def cases():
    zeros = bytes(2 << 20)
    wallpaper = text(10000)
    yield "dotdot", archive([("../x", b"outside")])
    yield "absolute", archive([("/tmp/x", b"outside")])
    yield "folder", archive([("a/b.png", b"inside a folder")])
    yield "backslash", archive([("a\\b.png", b"inside a folder")])
    yield "drive", archive([("C:x.png", b"on a drive")])
    yield "duplicate", archive([("idle_wallpaper.jpg", b"one"), ("IDLE_WALLPAPER.JPG", b"two")])
    yield "four-entries", archive([(f"{n}.png", b"x") for n in range(4)])
    yield "thousand-and-one", archive([(f"{n}.png", b"") for n in range(1001)],
                                      zipfile.ZIP_STORED)
    # 2 MiB of zeros from about 2 KiB, past a test's 1 MiB limit for an entry.
    yield "bomb-small", archive([("idle_wallpaper.jpg", zeros)], level=9)
    # 65 MiB from about 65 KiB, past the real 64 MiB limit.
    yield "bomb", archive([("idle_wallpaper.jpg", bytes(65 << 20))], level=9)
    yield "total", archive([(f"{n}.png", bytes(400 << 10)) for n in range(3)], level=9)
    # States 1000 bytes and inflates to 2 MiB.
    yield "liar", patch(archive([("idle_wallpaper.jpg", zeros)], level=9), "idle_wallpaper.jpg",
                        size=1000)
    # States 10 MiB that its 100 odd bytes could never hold.
    yield "implausible", patch(archive([("idle_wallpaper.jpg", wallpaper[:2000])]),
                               "idle_wallpaper.jpg", size=10 << 20)
    bad_crc = archive([("idle_wallpaper.jpg", wallpaper)])
    yield "crc", patch(bad_crc, "idle_wallpaper.jpg",
                       crc=zlib.crc32(wallpaper) ^ 0x00010000)
    # The headers give only the first half of the deflate stream.
    cut = archive([("idle_wallpaper.jpg", wallpaper + bytes(range(256)) * 20)])
    local, central = headers(cut, "idle_wallpaper.jpg")
    compressed = struct.unpack_from("<I", cut, central + 20)[0]
    yield "truncated-entry", patch(cut, "idle_wallpaper.jpg", compressed=compressed // 2)
    yield "encrypted", patch(archive([("idle_wallpaper.jpg", wallpaper)]), "idle_wallpaper.jpg",
                             flags=1)
    yield "bzip2", archive([("idle_wallpaper.jpg", wallpaper)], zipfile.ZIP_BZIP2)
    whole = archive([("idle_wallpaper.jpg", wallpaper), ("progressbar.png", wallpaper)])
    yield "cut-short", whole[:len(whole) // 2]
    yield "not-zip", bytearray(b"This is a text file, not a theme.\n")

    # These open.
    slot = ("idle_wallpaper.jpg", wallpaper)
    yield "descriptor-not-xml", archive([slot, ("config.spc", b"Title: Not XML\n")])
    many = [("idle_wallpaper", "idle_wallpaper.jpg")] * 10000
    yield "descriptor-10000-lines", archive([slot, ("config.spc", descriptor(many))])
    media = [("idle_wallpaper.jpg", wallpaper), ("progressbar.png", text(3000)),
             ("standard_ringtone.mid", b""), ("config.spc", descriptor(
                 [("idle_wallpaper", "idle_wallpaper.jpg"), ("progressbar", "progressbar.png"),
                  ("standard_ringtone", "standard_ringtone.mid")]))]
    yield "python-descriptors", streamed(media)
    yield "python-comment-zip64-end", with_zip64_end(
        archive(media, comment=b"made by Python's zipfile"))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, data in cases():
        with open(os.path.join(out, name + ".sdt"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
