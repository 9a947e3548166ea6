# SPDX-License-Identifier: GPL-3.0-or-later
# lines.cg in Python: a fan of 4,000 lines with the 16-bit fixed-point DDA.
W = H = 400
canvas = bytearray(W * H)
colour = 0

def line(x1, y1, x2, y2):
    # slope = minor * 65536 / major, accumulator from 0x8000, a carry steps
    # the minor axis; major + 1 pixels, both ends drawn.
    c = colour & 255
    dx, dy = abs(x2 - x1), abs(y2 - y1)
    sx = -1 if x2 < x1 else 1
    sy = -1 if y2 < y1 else 1
    x, y, acc = x1, y1, 0x8000
    if dx >= dy:
        slope = dy * 65536 // dx if dx else 0
        for _ in range(dx + 1):
            if 0 <= x < W and 0 <= y < H:
                canvas[y * W + x] = c
            x += sx
            acc += slope
            if acc >= 0x10000:
                acc -= 0x10000
                y += sy
    else:
        slope = dx * 65536 // dy
        for _ in range(dy + 1):
            if 0 <= x < W and 0 <= y < H:
                canvas[y * W + x] = c
            y += sy
            acc += slope
            if acc >= 0x10000:
                acc -= 0x10000
                x += sx

def main():
    global colour
    for i in range(4000):
        colour = i & 255
        line(200, 200, (i * 7) % 400, (i * 13) % 400)
    print(sum(canvas))

main()
