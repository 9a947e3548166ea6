# SPDX-License-Identifier: GPL-3.0-or-later
# fills.cg in Python: per frame clear, fillrect, disk, elldisk, trifill and a
# seed flood fill, with plain span code (equivalent simple algorithms, not
# the raster engine's own).
W = H = 400
canvas = bytearray(W * H)
colour = 0  # never set by the program, so 0 as in a fresh runner


def span(y, xa, xb, c):
    if 0 <= y < H:
        xa = max(xa, 0)
        xb = min(xb, W - 1)
        if xa <= xb:
            canvas[y * W + xa:y * W + xb + 1] = bytes((c,)) * (xb - xa + 1)


def plot(x, y, c):
    if 0 <= x < W and 0 <= y < H:
        canvas[y * W + x] = c


def clear(c):
    canvas[:] = bytes((c,)) * (W * H)


def fillrect(x1, y1, x2, y2):
    for y in range(min(y1, y2), max(y1, y2) + 1):
        span(y, min(x1, x2), max(x1, x2), colour & 255)


def disk(xc, yc, r, c):
    # Midpoint circle walk, one span per octant pair.
    x, y, d = 0, r, 1 - r
    while x <= y:
        span(yc + y, xc - x, xc + x, c)
        span(yc - y, xc - x, xc + x, c)
        span(yc + x, xc - y, xc + y, c)
        span(yc - x, xc - y, xc + y, c)
        if d < 0:
            d += 2 * x + 3
        else:
            d += 2 * (x - y) + 5
            y -= 1
        x += 1


def elldisk(xc, yc, a, b, c):
    # Midpoint ellipse walk (decision values times 4), a span pair per row.
    a2, b2 = a * a, b * b
    x, y = 0, b
    d = 4 * b2 - 4 * a2 * b + a2
    while b2 * x < a2 * y:
        if d < 0:
            d += 4 * b2 * (2 * x + 3)
        else:
            span(yc + y, xc - x, xc + x, c)
            span(yc - y, xc - x, xc + x, c)
            d += 4 * b2 * (2 * x + 3) - 8 * a2 * (y - 1)
            y -= 1
        x += 1
    d = b2 * (2 * x + 1) * (2 * x + 1) + 4 * a2 * (y - 1) * (y - 1) - 4 * a2 * b2
    while y >= 0:
        span(yc + y, xc - x, xc + x, c)
        span(yc - y, xc - x, xc + x, c)
        if d > 0:
            d += 4 * a2 * (3 - 2 * y)
        else:
            d += 8 * b2 * (x + 1) + 4 * a2 * (3 - 2 * y)
            x += 1
        y -= 1


def line(x1, y1, x2, y2, c):
    # The 16-bit fixed-point DDA, both ends drawn.
    dx, dy = abs(x2 - x1), abs(y2 - y1)
    sx = -1 if x2 < x1 else 1
    sy = -1 if y2 < y1 else 1
    x, y, acc = x1, y1, 0x8000
    if dx >= dy:
        slope = dy * 65536 // dx if dx else 0
        for _ in range(dx + 1):
            plot(x, y, c)
            x += sx
            acc += slope
            if acc >= 0x10000:
                acc -= 0x10000
                y += sy
    else:
        slope = dx * 65536 // dy
        for _ in range(dy + 1):
            plot(x, y, c)
            y += sy
            acc += slope
            if acc >= 0x10000:
                acc -= 0x10000
                x += sx


def tdiv(a, b):
    # Division towards zero, as in C and ours.
    q = abs(a) // abs(b)
    return q if (a < 0) == (b < 0) else -q


def edge_x(xa, ya, xb, yb, y):
    # x on the edge at row y, 16-bit fixed point, rounded.
    if yb == ya:
        return xa
    step = tdiv((xb - xa) * 65536, yb - ya)
    return (xa * 65536 + 0x8000 + step * (y - ya)) >> 16


def trifill(x1, y1, x2, y2, x3, y3, fill, edge):
    # Edge interpolation: sort by y, one span per row between the long edge
    # and the current short edge, then the three edges as lines.
    (px0, py0), (px1, py1), (px2, py2) = sorted(((x1, y1), (x2, y2), (x3, y3)), key=lambda p: p[1])
    for y in range(py0, py2 + 1):
        xl = edge_x(px0, py0, px2, py2, y)
        if y < py1:
            xs = edge_x(px0, py0, px1, py1, y)
        else:
            xs = edge_x(px1, py1, px2, py2, y)
        span(y, min(xl, xs), max(xl, xs), fill)
    line(x1, y1, x2, y2, edge)
    line(x2, y2, x3, y3, edge)
    line(x3, y3, x1, y1, edge)


def floodfill(sx, sy, c, old):
    # Seed fill (mode 0): the region of colour old around the seed becomes c,
    # one span at a time, with an explicit stack of seeds.
    if not (0 <= sx < W and 0 <= sy < H) or canvas[sy * W + sx] != old or old == c:
        return
    stack = [(sx, sy)]
    while stack:
        x, y = stack.pop()
        base = y * W
        if canvas[base + x] != old:
            continue
        xl = xr = x
        while xl > 0 and canvas[base + xl - 1] == old:
            xl -= 1
        while xr < W - 1 and canvas[base + xr + 1] == old:
            xr += 1
        canvas[base + xl:base + xr + 1] = bytes((c,)) * (xr - xl + 1)
        for ny in (y - 1, y + 1):
            if 0 <= ny < H:
                nbase = ny * W
                inside = False
                for nx in range(xl, xr + 1):
                    if canvas[nbase + nx] == old:
                        if not inside:
                            stack.append((nx, ny))
                        inside = True
                    else:
                        inside = False


def main():
    for i in range(200):
        clear(0)
        fillrect(10, 10, 389, 389)
        disk(200, 200, 150, i & 255)
        elldisk(200, 200, 180, 60, 3)
        trifill(20, 20, 380, 40, 200, 380, 5, 6)
        floodfill(2, 2, 9, 0)
    print(sum(canvas))


main()
