#!/usr/bin/env python3
"""Decodes the program icon's files as an image viewer would and checks what they show.
Usage: check_icon_files.py <program.ico> [<size>.png ...]
Every PNG (inside the .ico and given) must decode whole (chunk CRCs, zlib stream, Adler-32) as 8-bit RGBA and
show the icon: transparent corners, rim #00749E at the top edge, fill #008CB6, a white plus in the middle."""
import os
import struct
import sys
import zlib

SIZES = [16, 24, 32, 48, 64, 128, 256]


def decode_png(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "no PNG signature"
    at, idat, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        (crc,) = struct.unpack(">I", data[at + 8 + length:at + 12 + length])
        assert zlib.crc32(kind + body) == crc, f"bad CRC of {kind}"
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
        if kind == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = header
    assert (depth, colour, interlace) == (8, 6, 0), "not 8-bit RGBA without interlace"
    raw = zlib.decompress(idat)  # checks the Adler-32 too
    stride = width * 4 + 1
    assert len(raw) == stride * height, "wrong amount of pixel data"
    assert all(raw[y * stride] == 0 for y in range(height)), "unexpected row filter"
    return width, height, lambda x, y: tuple(raw[y * stride + 1 + 4 * x:y * stride + 5 + 4 * x])


def check_icon(data, size, where, problems):
    width, height, pixel = decode_png(data)
    if (width, height) != (size, size):
        problems.append(f"{where}: {width}x{height}, expected {size}x{size}")
        return
    expected = {(0, 0): None, (size // 2, size // 2): (255, 255, 255, 255),
                (size // 4, size // 4): (0x00, 0x8C, 0xB6, 255), (size // 2, 0): (0x00, 0x74, 0x9E, 255)}
    for (x, y), colour in expected.items():
        got = pixel(x, y)
        if (colour is None and got[3] != 0) or (colour is not None and got != colour):
            problems.append(f"{where}: pixel ({x},{y}) is {got}, expected {colour or 'transparent'}")


def main():
    problems = []
    ico = open(sys.argv[1], "rb").read()
    reserved, kind, count = struct.unpack("<HHH", ico[:6])
    if (reserved, kind, count) != (0, 1, len(SIZES)):
        problems.append(f"ico header {reserved, kind, count}")
    for i in range(count):
        w, h, colours, _, planes, bits, size, offset = struct.unpack("<BBBBHHII", ico[6 + 16 * i:22 + 16 * i])
        side = w or 256
        if (side, h or 256, colours, planes, bits) != (SIZES[i], SIZES[i], 0, 1, 32):
            problems.append(f"ico entry {i}: {side}x{h or 256}, {bits} bits")
        check_icon(ico[offset:offset + size], SIZES[i], f"ico entry {side}", problems)
    for path in sys.argv[2:]:
        check_icon(open(path, "rb").read(), int(os.path.basename(path).split(".")[0]), path, problems)
    for problem in problems:
        print("check_icon_files:", problem)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
