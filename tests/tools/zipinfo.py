#!/usr/bin/python3
"""Reads a ZIP archive with Python's zipfile and prints what it finds, one line per entry, for the
core tests to compare. Exits 1 with a message when the archive does not read back cleanly."""

import struct
import sys
import zipfile
import zlib


def main(path):
    with zipfile.ZipFile(path, metadata_encoding="cp866") as archive:
        bad = archive.testzip()
        if bad is not None:
            sys.exit(f"bad CRC in {bad}")
        with open(path, "rb") as raw:
            data = raw.read()
        print("comment\t" + archive.comment.hex())
        for info in archive.infolist():
            local = data[info.header_offset:info.header_offset + 30]
            (signature, needed, flags, method, time, date, crc, packed, size, name_length,
             extra_length) = struct.unpack("<IHHHHHIIIHH", local)
            name = data[info.header_offset + 30:info.header_offset + 30 + name_length]
            local_agrees = (signature == 0x04034B50 and needed == info.extract_version
                            and flags == info.flag_bits and method == info.compress_type
                            and crc == info.CRC and packed == info.compress_size
                            and size == info.file_size and name == info.orig_filename.encode("cp866")
                            and (date << 16 | time) == dos_time(info.date_time))
            content = archive.read(info)
            print("\t".join(str(field) for field in [
                "entry", info.filename, info.compress_type, info.CRC, info.compress_size,
                info.file_size, "%04d-%02d-%02d %02d:%02d:%02d" % info.date_time,
                info.internal_attr, info.external_attr, info.create_version, info.create_system,
                info.extract_version, info.flag_bits, info.header_offset, len(info.extra),
                extra_length, int(local_agrees), zlib.crc32(content), len(content)]))


def dos_time(date_time):
    year, month, day, hour, minute, second = date_time
    return ((year - 1980) << 25 | month << 21 | day << 16 | hour << 11 | minute << 5
            | second // 2)


if __name__ == "__main__":
    main(sys.argv[1])
