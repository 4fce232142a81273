"""Seed corpora for the fuzz targets: small valid and nearly valid inputs of
each kind, written into the folder given on the command line."""
import os
import struct
import sys


def ini(kind, track, path):
    keys = (b"BGM\x8b\xe6\x95\xaa", b"BGM\xd8\xcb\xdf\xb0\xc4", b"BGM\xcc\xa7\xb2\xd9")
    return b"[Section]\r\n" + b"".join(k + b"=" + v + b"\r\n" for k, v in zip(keys, (kind, track, path)))


def bmp(width, height, bits=24, header=40, palette=b""):
    stride = ((width * bits + 31) // 32) * 4
    pixels = bytes((i * 37) & 0xFF for i in range(stride * abs(height)))
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 0, 0, len(palette) // 4, 0)
    offset = 14 + len(info) + len(palette)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + palette + pixels


def scrolling(width, height, dx, dy):
    # The reserved fields of the file header carry the fuzzer's step.
    data = bytearray(bmp(width, height))
    struct.pack_into("<hh", data, 6, dx, dy)
    return bytes(data)


SEEDS = {
    "settings": [ini(b" 1", b" 3", b""), ini(b" 2", b" 0", b"C:\\Music\\a.mp3"),
                 ini(b"1.9", b"&H1E", b'"C:\\My Music\\b.wav"'), ini(b"-32768", b"40000", b"C:\\" + b"x" * 300),
                 b"[Section]\nBGM=\n[Other]\n=\n", b"\xff\xfe[\x00S\x00]\x00"],
    "command_line": [b"/s", b"-S", b"", b"s", b"/c:1234", b"/p 1234", b"/p1234", b"/p 12 34", b"/p &H1F",
                     b"\"C:\\Program Files\\Hazumaki.scr\" /p 99999999999", b"C:\\a.scr \t/c", b"/p -1e3"],
    "bitmap": [bmp(1, 1), bmp(4, 4), bmp(3, 3), bmp(4, 4, header=12), bmp(4, 4)[14:], bmp(256, 256)[:1000],
               bmp(8, 8, bits=8, palette=bytes(range(256)) * 4), bmp(8, 8, bits=4, palette=bytes(64)),
               bmp(32, 2, bits=1, palette=b"\0\0\0\0\xff\xff\xff\0")],
    # A padded and an 8-bit one are refused.
    "scrolling": [scrolling(4, 4, 1, 0), scrolling(8, 2, -3, 5), scrolling(16, 1, 7, -1),
                  scrolling(2, 1, 32767, -32768), bmp(2, 2), bmp(8, 8, bits=8, palette=bytes(1024))],
}

for name, seeds in SEEDS.items():
    os.makedirs(os.path.join(sys.argv[1], name), exist_ok=True)
    for i, data in enumerate(seeds):
        with open(os.path.join(sys.argv[1], name, "seed-%02d" % i), "wb") as f:
            f.write(data)
