#!/usr/bin/env python3
"""Writes a zip whose bytes follow from the members' names and contents and one given time only: members in
byte order of their UTF-8 names, each with that time, mode 0644 or 0755 and no extra fields (which would
carry the disk's access and change times).

    write_zip.py <archive> <seconds since 1970 UTC> <folder> <member>...
"""
import os
import sys
import time
import zipfile

# The earliest time a zip's MS-DOS date can hold.
EARLIEST = 315532800


def main(argv):
    archive, seconds, folder, names = argv[1], int(argv[2]), argv[3], argv[4:]
    stamp = time.gmtime(max(seconds, EARLIEST))[:6]
    part = archive + ".part"
    with zipfile.ZipFile(part, "w") as out:
        for name in sorted(names, key=lambda n: n.encode("utf-8")):
            path = os.path.join(folder, name)
            info = zipfile.ZipInfo(name, stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3
            mode = 0o755 if os.access(path, os.X_OK) else 0o644
            info.external_attr = (0o100000 | mode) << 16
            with open(path, "rb") as member:
                out.writestr(info, member.read(), compresslevel=9)
    os.replace(part, archive)


if __name__ == "__main__":
    main(sys.argv)
