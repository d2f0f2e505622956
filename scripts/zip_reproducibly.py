#!/usr/bin/python3
"""Packs the files of a folder into a zip that holds nothing but their names and contents: the same
files give the same bytes, whenever and wherever they are packed.

    zip_reproducibly.py ARCHIVE FOLDER EPOCH

Entries go under FOLDER's own name, sorted by name, each dated EPOCH (seconds since 1970, UTC),
with fixed permissions: 755 for .exe files, 644 for the others.
"""

import os
import sys
import time
import zipfile


def pack(archive, folder, epoch):
    top = os.path.basename(os.path.normpath(folder))
    date_time = time.gmtime(max(epoch, 315532800))[:6]  # zip dates start in 1980
    names = sorted(name for name in os.listdir(folder) if os.path.isfile(os.path.join(folder, name)))
    with zipfile.ZipFile(archive, "w") as zip_file:
        for name in names:
            entry = zipfile.ZipInfo(f"{top}/{name}", date_time)
            entry.create_system = 3  # Unix, so that the permissions below are what unzip sets
            entry.external_attr = (0o100755 if name.lower().endswith(".exe") else 0o100644) << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(folder, name), "rb") as f:
                zip_file.writestr(entry, f.read(), compresslevel=9)


def main(args):
    if len(args) != 3:
        print(__doc__, file=sys.stderr)
        return 1
    pack(args[0], args[1], int(args[2]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
