"""Tiny writers for the bitmap and icon files our asset generators produce.

Pixels are rows of (r, g, b) tuples, top row first.
"""
import struct


def bmp24_bytes(pixels):
    """A 24-bit bottom-up Windows bitmap with the classic 54-byte header."""
    height = len(pixels)
    width = len(pixels[0])
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        body += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return header + info + bytes(body)


def write_bmp24(path, pixels):
    with open(path, "wb") as f:
        f.write(bmp24_bytes(pixels))


def _palette_index(r, g, b):
    # 6x6x6 colour cube in the first 216 entries, 40 greys after it.
    if abs(r - g) < 8 and abs(g - b) < 8:
        return 216 + min(39, (r + g + b) // 3 * 40 // 256)
    return 36 * (r * 6 // 256) + 6 * (g * 6 // 256) + (b * 6 // 256)


def _palette():
    entries = []
    for i in range(216):
        r, g, b = i // 36, (i // 6) % 6, i % 6
        entries.append((r * 51, g * 51, b * 51))
    for i in range(40):
        v = i * 255 // 39
        entries.append((v, v, v))
    return entries


def write_ico8(path, pixels, mask=None):
    """A one-image 256-colour icon; mask rows of booleans mark transparent pixels."""
    size = len(pixels)
    palette = _palette()
    xor = bytearray()
    for row in reversed(pixels):
        xor += bytes(_palette_index(*p) for p in row)
    and_stride = ((size + 31) // 32) * 4
    andmask = bytearray()
    for y in reversed(range(size)):
        bits = bytearray(and_stride)
        for x in range(size):
            if mask and mask[y][x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        andmask += bits
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, len(xor) + len(andmask), 0, 0, 256, 0)
    image = info + pal + bytes(xor) + bytes(andmask)
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(header + entry + image)
