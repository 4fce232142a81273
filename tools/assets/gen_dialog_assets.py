"""Pictures of the settings dialog: the six push-button faces, the two option
marks and the link cursor, each drawn at 100, 150 and 200 percent for denser
screens. Writes them into host/res/.

Faces are 64 x 25 pixels at 100 percent. Only their outer four-pixel bands
reach the screen (the button paints its own gradient in the middle), so the
face colours inside matter only for the corners and edges.
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(__file__))
from bmpio import write_bmp24  # noqa: E402

RES = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", "host", "res"))

W, H = 64, 25
# File-name suffix of each scale; 100 percent keeps the plain names.
SCALES = {1.0: "", 1.5: "_150", 2.0: "_200"}


def snap(v):
    return int(math.floor(v + 0.5))


def boundaries(n, s):
    """Where the edges of n cells land at scale s. Edges in the near half are
    measured from the near side, the rest from the far side, so a frame keeps
    the same width on both sides."""
    total = snap(n * s)
    return [snap(i * s) if 2 * i <= n else total - snap((n - i) * s) for i in range(n + 1)]


def render(cells, s):
    """Draws a design made of 100-percent cells at scale s. A cell holding a
    colour fills its scaled span with it; a cell holding a function of (x, y)
    is evaluated at every pixel's place in 100-percent units, so shadings are
    drawn at the full resolution rather than stretched."""
    bx, by = boundaries(len(cells[0]), s), boundaries(len(cells), s)

    def places(b):
        for c in range(len(b) - 1):
            for p in range(b[c], b[c + 1]):
                yield c, c + (p + 0.5 - b[c]) / (b[c + 1] - b[c]) - 0.5

    rows = []
    for cy, y in places(by):
        row = []
        for cx, x in places(bx):
            cell = cells[cy][cx]
            row.append(cell(x, y) if callable(cell) else cell)
        rows.append(row)
    return rows


def colour_at(px, x, y):
    cell = px[y][x]
    return cell(x, y) if callable(cell) else cell
OUTSIDE = (236, 233, 216)
NAVY = (0, 60, 116)


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def ramp(stops, t):
    """Colour at t (0..1) along (position, colour) stops."""
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, 0.0 if p1 == p0 else (t - p0) / (p1 - p0))
    return stops[-1][1]


def blank():
    return [[OUTSIDE] * W for _ in range(H)]


def rounded_frame(px, inset, colour, face_at):
    """A one-pixel border `inset` pixels in from the edge with soft corners,
    the face inside it painted by face_at(x, y)."""
    left, top, right, bottom = inset, inset, W - 1 - inset, H - 1 - inset
    for y in range(top + 1, bottom):
        for x in range(left + 1, right):
            px[y][x] = face_at
    for x in range(left + 2, right - 1):
        px[top][x] = colour
        px[bottom][x] = colour
    for y in range(top + 2, bottom - 1):
        px[y][left] = colour
        px[y][right] = colour
    # Rounded corners: the corner pixel fades into the outside, its two
    # neighbours are part blended, the pixel inside it joins the border.
    for cx, cy, dx, dy in ((left, top, 1, 1), (right, top, -1, 1), (left, bottom, 1, -1), (right, bottom, -1, -1)):
        px[cy][cx] = mix(OUTSIDE, colour, 0.25)
        px[cy][cx + dx] = mix(OUTSIDE, colour, 0.8)
        px[cy + dy][cx] = mix(OUTSIDE, colour, 0.8)
        px[cy + dy][cx + dx] = mix(face_at(cx + dx, cy + dy), colour, 0.45)


def normal_face(x, y):
    t = (y - 2) / 20.0
    return ramp([(0.0, (252, 252, 250)), (0.12, (243, 243, 238)), (0.55, (240, 239, 233)),
                 (0.8, (231, 228, 219)), (1.0, (214, 208, 197))], t)


def normal():
    px = blank()
    rounded_frame(px, 1, NAVY, normal_face)
    return px


def inner_frame(px, top_rows, bottom_rows, side_top, side_bottom):
    """A two-pixel frame just inside the border of rows 1/23, columns 1/62."""
    for x in range(3, W - 3):
        px[2][x], px[3][x] = top_rows
        px[21][x], px[22][x] = bottom_rows
    def side(x, y):
        return mix(side_top, side_bottom, (y - 3) / 18.0)

    for y in range(3, 22):
        for x in (2, 3, W - 4, W - 3):
            px[y][x] = side
    # Let the frame's own corners round off against the border.
    for x, y in ((2, 2), (W - 3, 2), (2, 22), (W - 3, 22)):
        px[y][x] = mix(colour_at(px, x, y), NAVY, 0.35)


def highlight():
    px = normal()
    inner_frame(px, ((255, 240, 207), (253, 216, 137)), ((248, 179, 48), (229, 151, 0)),
                (252, 210, 121), (248, 181, 53))
    return px


def selected():
    px = normal()
    inner_frame(px, ((206, 231, 255), (206, 231, 255)), ((105, 130, 238), (105, 130, 238)),
                (183, 208, 244), (139, 173, 228))
    return px


def pressed():
    px = blank()
    rounded_frame(px, 2, NAVY, lambda x, y: mix((209, 204, 193), (242, 241, 238), (y - 3) / 18.0))
    return px


def disable():
    px = blank()
    rounded_frame(px, 1, (201, 199, 186), lambda x, y: (245, 244, 234))
    return px


FACES = {
    "command_normal.bmp": normal,
    "command_highlight.bmp": highlight,
    "command_highlightselect.bmp": highlight,  # the same pixels as HighLight
    "command_selected.bmp": selected,
    "command_pressed.bmp": pressed,
    "command_disable.bmp": disable,
}

# Option marks: 12 x 12, magenta where the panel shows through.
KEY = (255, 0, 255)
MARK_BACK = (238, 238, 238)


def mark(filled, s):
    n = snap(12 * s)
    sub = 4
    c = (n - 1) / 2.0
    rows = []
    for y in range(n):
        row = []
        for x in range(n):
            ring = dot = inside = 0
            for sy in range(sub):
                for sx in range(sub):
                    d = math.hypot(x + (sx + 0.5) / sub - 0.5 - c, y + (sy + 0.5) / sub - 0.5 - c)
                    if d <= 5.6 * s:
                        if d >= 4.6 * s:
                            ring += 1
                        else:
                            inside += 1
                            if filled and d <= 2.6 * s:
                                dot += 1
            total = sub * sub
            cover = (ring + inside) / total
            if cover == 0:
                row.append(KEY)
                continue
            interior = mix((255, 255, 255), (222, 226, 232), y / (n - 1))
            colour = mix(interior, (52, 68, 96), ring / max(1, ring + inside))
            if dot:
                colour = mix(colour, (20, 90, 180), dot / max(1, inside))
            row.append(mix(MARK_BACK, colour, cover))
        rows.append(row)
    return rows


# The link cursor: a pointing hand, fingertip at the hot spot (12, 10).
# '#' black, '.' white, anything else transparent.
HAND = [
    "           ###                  ",
    "          #...#                 ",
    "          #...#                 ",
    "          #...#                 ",
    "          #...#                 ",
    "          #...####              ",
    "          #...#...###           ",
    "          #...#...#..##         ",
    "      ### #...#...#..#.#        ",
    "     #...##...#...#..#..#       ",
    "     #....#.............#       ",
    "      #...#.............#       ",
    "       #................#       ",
    "       #................#       ",
    "        #...............#       ",
    "        #..............#        ",
    "         #.............#        ",
    "         #............#         ",
    "          #...........#         ",
    "          ############          ",
    "          #.........#           ",
    "          ###########           ",
]
HAND_TOP = 10
HOT_SPOT = (12, 10)


def glyph(s):
    """The hand at scale s as rows of '#', '.' and ' '. Larger hands are drawn
    anew from the small one's shape: its cells give the outline, which is
    traced with strokes as thick as the scale, and the lines between the
    fingers are redrawn at that thickness."""
    small = [[" "] * 32 for _ in range(32)]
    for i, line in enumerate(HAND):
        for x, ch in enumerate(line):
            small[HAND_TOP + i][x] = ch
    if s == 1.0:
        return small

    def filled(x, y):
        return 0 <= x < 32 and 0 <= y < 32 and small[y][x] != " "

    b = boundaries(32, s)
    size, t = b[-1], int(s)
    cell_of = [c for c in range(32) for _ in range(b[c], b[c + 1])]
    inside = [[filled(cell_of[x], cell_of[y]) for x in range(size)] for y in range(size)]

    def near_outside(x, y):
        for dy in range(-t, t + 1):
            for dx in range(-t + abs(dy), t - abs(dy) + 1):
                u, v = x + dx, y + dy
                if not (0 <= u < size and 0 <= v < size and inside[v][u]):
                    return True
        return False

    grid = [["." if inside[y][x] else " " for x in range(size)] for y in range(size)]
    for y in range(size):
        for x in range(size):
            if inside[y][x] and near_outside(x, y):
                grid[y][x] = "#"
    # Lines inside the hand: '#' cells with no blank beside them.
    for cy in range(32):
        for cx in range(32):
            if small[cy][cx] != "#" or not all(filled(cx + dx, cy + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                continue
            left, right = small[cy][cx - 1] == "#", small[cy][cx + 1] == "#"
            up, down = small[cy - 1][cx] == "#", small[cy + 1][cx] == "#"
            # A line runs on into the neighbouring '#' cells, so it meets the outline.
            xs = range(b[cx - left], b[cx + 1 + right]) if left or right else range(b[cx], b[cx] + t)
            ys = range(b[cy - up], b[cy + 1 + down]) if up or down else range(b[cy], b[cy] + t)
            for y in ys:
                for x in xs:
                    grid[y][x] = "#"
    return grid


def write_cursor(path, s):
    grid = glyph(s)
    size = len(grid)
    hot = (snap(HOT_SPOT[0] * s), snap(HOT_SPOT[1] * s))
    stride = (size + 31) // 32 * 4
    xor = bytearray()
    andmask = bytearray()
    for y in reversed(range(size)):
        xrow = bytearray(stride)
        arow = bytearray(stride)
        for x in range(size):
            bit = 0x80 >> (x % 8)
            ch = grid[y][x]
            if ch == ".":
                xrow[x // 8] |= bit
            elif ch != "#":
                arow[x // 8] |= bit
        xor += xrow
        andmask += arow
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(andmask), 0, 0, 2, 0)
    image = info + palette + bytes(xor) + bytes(andmask)
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, hot[0], hot[1], len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(header + entry + image)


def main():
    for s, suffix in SCALES.items():
        for name, make in FACES.items():
            write_bmp24(os.path.join(RES, name.replace(".bmp", suffix + ".bmp")), render(make(), s))
        write_bmp24(os.path.join(RES, "mark_empty%s.bmp" % suffix), mark(False, s))
        write_bmp24(os.path.join(RES, "mark_filled%s.bmp" % suffix), mark(True, s))
        write_cursor(os.path.join(RES, "link%s.cur" % suffix), s)


if __name__ == "__main__":
    main()
