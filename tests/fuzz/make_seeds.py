"""Seed corpora for the fuzz targets: small valid and nearly valid inputs of
each kind, written into the folder given on the command line."""
import os
import struct
import sys

KIND = b"BGM\x8b\xe6\x95\xaa"
TRACK = b"BGM\xd8\xcb\xdf\xb0\xc4"
FILE = b"BGM\xcc\xa7\xb2\xd9"


def ini(kind, track, path):
    return b"[Section]\r\n" + KIND + b"=" + kind + b"\r\n" + TRACK + b"=" + track + b"\r\n" + FILE + b"=" + path + b"\r\n"


def settings():
    yield ini(b" 1", b" 3", b"")
    yield ini(b" 2", b" 0", b"C:\\Music\\a.mp3")
    yield ini(b"1.9", b"&H1E", b'"C:\\My Music\\b.wav"')
    yield ini(b"-32768", b"40000", b"C:\\" + b"x" * 300)
    yield b"[Section]\nBGM=\n[Other]\n=\n"
    yield b"\xff\xfe[\x00S\x00]\x00"


def command_lines():
    yield from [b"/s", b"-S", b"", b"s", b"/c:1234", b"/p 1234", b"/p1234", b"/p 12 34", b"/p &H1F",
                b"\"C:\\Program Files\\Hazumaki.scr\" /p 99999999999", b"C:\\a.scr \t/c", b"/p -1e3"]


def bmp(width, height, bits=24, header=40, data=None, palette=b""):
    stride = ((width * bits + 31) // 32) * 4
    pixels = data if data is not None else bytes((i * 37) & 0xFF for i in range(stride * abs(height)))
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 0, 0, len(palette) // 4, 0)
    offset = 14 + len(info) + len(palette)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + palette + pixels


def bitmaps():
    yield from (bmp(1, 1), bmp(4, 4), bmp(3, 3), bmp(4, 4, header=12), bmp(4, 4)[14:], bmp(256, 256)[:1000])
    yield bmp(8, 8, bits=8, palette=bytes(range(256)) * 4)
    yield bmp(8, 8, bits=4, palette=bytes(64))
    yield bmp(32, 2, bits=1, palette=b"\0\0\0\0\xff\xff\xff\0")


def scrolling():
    # The reserved fields of the file header carry the fuzzer's step; a padded and an 8-bit one are refused.
    for width, height, dx, dy in [(4, 4, 1, 0), (8, 2, -3, 5), (16, 1, 7, -1), (2, 1, 32767, -32768)]:
        data = bytearray(bmp(width, height))
        struct.pack_into("<hh", data, 6, dx, dy)
        yield bytes(data)
    yield from (bmp(2, 2), bmp(8, 8, bits=8, palette=bytes(1024)))


TARGETS = {"settings": settings, "command_line": command_lines, "bitmap": bitmaps, "scrolling": scrolling}


def main():
    out = sys.argv[1]
    for name, make in TARGETS.items():
        folder = os.path.join(out, name)
        os.makedirs(folder, exist_ok=True)
        for i, data in enumerate(make()):
            with open(os.path.join(folder, "seed-%02d" % i), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
