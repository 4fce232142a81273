"""The three pictures the screensaver hands to the renderer.

Tovira01.bmp  1 x 1 black: the fade quad's texture, a fade from black.
Tovira02.bmp  256 x 256: white clouds scattered over a deep blue sky.
Tovira03.bmp  256 x 256: a bright sun in a blue sky above a sea of white
              clouds, the horizon across the middle.

The renderer wraps both skies around a tube and scrolls them in both
directions, so every ingredient is periodic over the 256 x 256 tile: the
noise lives on a torus, the sky's gradient is a cosine of the row, the sun's
glow measures distance around the tile, and the cloud sea thins out towards
the bottom edge into the wisps at the top. Seeds are fixed, so the pictures
come out the same on every run.

The tunnel shows the two skies added together (one texture unit replaces,
the other adds), so neither is as bright as it would be alone: the skies are
dark in red, which keeps sky over sky blue, and the clouds leave room below
white, so mostly cloud over cloud saturates. tools/still/sky_figures.sh
measures the sum in flight.

    python3 tools/assets/gen_sky.py [OUTPUT_FOLDER]   (default host/res)
"""
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(__file__))
from bmpio import write_bmp24  # noqa: E402

SIZE = 256
OUT = os.path.join(os.path.dirname(__file__), "..", "..", "host", "res")


def smoothstep(e0, e1, x):
    t = min(1.0, max(0.0, (x - e0) / (e1 - e0)))
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def value_noise(rng, cells_x, cells_y):
    """Value noise on a torus: a cells_x x cells_y lattice, quintic blending."""
    lattice = [[rng.random() for _ in range(cells_x)] for _ in range(cells_y)]

    def axis(cells):
        out = []
        for p in range(SIZE):
            f = p * cells / SIZE
            i = int(f)
            t = f - i
            out.append((i % cells, (i + 1) % cells, t * t * t * (t * (t * 6 - 15) + 10)))
        return out

    xs, ys = axis(cells_x), axis(cells_y)
    grid = []
    for j0, j1, ty in ys:
        r0, r1 = lattice[j0], lattice[j1]
        row = []
        for i0, i1, tx in xs:
            a = r0[i0] + (r0[i1] - r0[i0]) * tx
            b = r1[i0] + (r1[i1] - r1[i0]) * tx
            row.append(a + (b - a) * ty)
        grid.append(row)
    return grid


def fbm(seed, base_x, base_y, octaves, persistence=0.5):
    """Fractal sum of periodic octaves, normalised to 0..1."""
    rng = random.Random(seed)
    total = [[0.0] * SIZE for _ in range(SIZE)]
    amplitude = 1.0
    for o in range(octaves):
        cx, cy = min(SIZE, base_x << o), min(SIZE, base_y << o)
        layer = value_noise(rng, cx, cy)
        for y in range(SIZE):
            t, l = total[y], layer[y]
            for x in range(SIZE):
                t[x] += l[x] * amplitude
        amplitude *= persistence
    lo = min(min(r) for r in total)
    hi = max(max(r) for r in total)
    return [[(v - lo) / (hi - lo) for v in r] for r in total]


def wrapped(grid, x, y):
    return grid[y % SIZE][x % SIZE]


def clamp8(c):
    return tuple(max(0, min(255, int(round(v)))) for v in c)


def quantile(grid, q):
    values = sorted(v for row in grid for v in row)
    return values[int(q * (len(values) - 1))]


def clouds_over_deep_blue():
    shape = fbm(7, 8, 8, 4, 0.5)
    tint = fbm(3, 2, 2, 3)
    deep_hi, deep_lo = (20, 60, 150), (8, 32, 108)
    shadow, light = (76, 94, 144), (216, 222, 234)
    # Small clouds over about a fifth of the sky, whatever the seed gives: a
    # big bank over the other picture's cloud sea would fill the view white.
    edge = quantile(shape, 0.78)
    pixels = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            n = shape[y][x]
            sky = mix(deep_lo, deep_hi, tint[y][x])
            cover = smoothstep(edge - 0.08, edge + 0.08, n)
            # Light from above-left: brighter where the cloud rises towards it.
            relief = n - wrapped(shape, x + 3, y + 3)
            shade = min(1.0, max(0.0, 0.6 + 5.0 * relief + 0.4 * (n - edge)))
            row.append(clamp8(mix(sky, mix(shadow, light, shade), cover)))
        pixels.append(row)
    return pixels


def sun_over_cloud_sea():
    far = fbm(5, 8, 32, 4, 0.5)     # flattened clouds near the horizon
    near = fbm(6, 4, 8, 5, 0.5)     # rounder, larger clouds below and overhead
    zenith, horizon = (46, 112, 188), (88, 148, 208)
    shadow, light = (66, 86, 136), (192, 200, 214)
    sun_x, sun_y = SIZE // 2, 76
    top_wisps = 0.3  # cloud envelope at the bottom edge, continued at the top

    envelope, depth = [], []
    for y in range(SIZE):
        v = y / SIZE
        if v >= 0.5:
            envelope.append(smoothstep(0.5, 0.512, v) * (1.0 - (1.0 - top_wisps) * smoothstep(0.84, 1.0, v)))
            depth.append(smoothstep(0.5, 0.85, v))
        else:
            envelope.append(top_wisps * (1.0 - smoothstep(0.0, 0.14, v)))
            depth.append(1.0)
    shape = [[far[y][x] * (1.0 - depth[y]) + near[y][x] * depth[y] for x in range(SIZE)] for y in range(SIZE)]

    pixels = []
    for y in range(SIZE):
        v = y / SIZE
        # 0 at the top and bottom edges, 1 at the horizon: periodic in v.
        towards_horizon = (0.5 - 0.5 * math.cos(2.0 * math.pi * v)) ** 1.6
        row = []
        for x in range(SIZE):
            sky = mix(zenith, horizon, towards_horizon)
            dx = min(abs(x - sun_x), SIZE - abs(x - sun_x))
            dy = min(abs(y - sun_y), SIZE - abs(y - sun_y))
            d = math.hypot(dx, dy)
            glow = math.exp(-d / 18.0) * 0.55 + math.exp(-d / 6.0) * 0.5
            sky = mix(sky, (255, 250, 226), min(1.0, glow))
            sky = mix(sky, (255, 255, 248), smoothstep(11.0, 9.0, d))
            n = shape[y][x]
            e = envelope[y]
            threshold = 0.72 - 0.50 * e
            cover = smoothstep(threshold, threshold + 0.16, n) * min(1.0, e / 0.2)
            relief = n - wrapped(shape, x, y + 2)
            shade = min(1.0, max(0.0, 0.62 + 4.0 * relief + 0.3 * (n - 0.5)))
            cloud = mix(shadow, light, shade)
            # The sun's light on the cloud tops below it.
            cloud = mix(cloud, (255, 244, 210), 0.55 * math.exp(-dx / 28.0) * math.exp(-abs(v - 0.5) / 0.1))
            row.append(clamp8(mix(sky, cloud, cover)))
        pixels.append(row)
    return pixels


def main():
    out = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else OUT)
    os.makedirs(out, exist_ok=True)
    write_bmp24(os.path.join(out, "Tovira01.bmp"), [[(0, 0, 0)]])
    write_bmp24(os.path.join(out, "Tovira02.bmp"), clouds_over_deep_blue())
    write_bmp24(os.path.join(out, "Tovira03.bmp"), sun_over_cloud_sea())


if __name__ == "__main__":
    main()
