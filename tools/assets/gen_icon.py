"""The program icon: looking down a glowing blue tube."""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from bmpio import write_ico8  # noqa: E402

OUT = os.path.join(os.path.dirname(__file__), "..", "..", "host", "res", "hazumaki.ico")


def pixel(x, y, size=32):
    cx = cy = (size - 1) / 2
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy) / (size / 2)
    if r > 1.0:
        return None
    rings = 0.5 + 0.5 * math.cos(r * 14.0)
    glow = max(0.0, 1.0 - r * 1.6)
    light = min(1.0, 0.25 + 0.55 * rings * r + glow)
    return (int(40 + 200 * glow), int(90 * light + 140 * glow), int(120 + 135 * light))


def main():
    size = 32
    pixels, mask = [], []
    for y in range(size):
        row, mrow = [], []
        for x in range(size):
            p = pixel(x, y)
            row.append(p or (0, 0, 0))
            mrow.append(p is None)
        pixels.append(row)
        mask.append(mrow)
    write_ico8(os.path.abspath(OUT), pixels, mask)


if __name__ == "__main__":
    main()
