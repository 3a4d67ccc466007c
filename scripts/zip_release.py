"""Writes a zip whose bytes depend only on what goes in: the entries in the
order given, one fixed time for all, fixed permissions, and text files with
CR LF line ends.

Usage: zip_release.py ZIP EPOCH KIND:NAME=PATH...
KIND is text, binary or stored (binary, not compressed again: tarballs); NAME is the path inside the zip, with "/" between
folders (each folder gets an entry of its own before its first file).
"""
import os
import sys
import time
import zipfile

UNIX = 3
FILE_MODE = 0o100644 << 16
FOLDER_MODE = (0o040755 << 16) | 0x10  # 0x10: the MS-DOS folder attribute


def entry(name, stamp, mode, compression):
    info = zipfile.ZipInfo(name, date_time=stamp)
    info.create_system = UNIX
    info.external_attr = mode
    info.compress_type = compression
    return info


def with_crlf(data):
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def main(args):
    if len(args) < 3:
        sys.exit(__doc__)
    target, epoch, items = args[0], int(args[1]), args[2:]
    # Zip times run from 1980 and have no time zone: UTC, two-second steps.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    partial = target + ".part"
    folders = set()
    with zipfile.ZipFile(partial, "w") as archive:
        for item in items:
            kind, rest = item.split(":", 1)
            name, path = rest.split("=", 1)
            folder = name.rpartition("/")[0]
            if folder and folder not in folders:
                folders.add(folder)
                archive.writestr(entry(folder + "/", stamp, FOLDER_MODE, zipfile.ZIP_STORED), b"")
            with open(path, "rb") as source:
                data = source.read()
            compression = zipfile.ZIP_STORED if kind == "stored" else zipfile.ZIP_DEFLATED
            if kind == "text":
                data = with_crlf(data)
            elif kind not in ("binary", "stored"):
                sys.exit("unknown kind " + kind)
            archive.writestr(entry(name, stamp, FILE_MODE, compression), data, compresslevel=9)
    os.replace(partial, target)


if __name__ == "__main__":
    main(sys.argv[1:])
