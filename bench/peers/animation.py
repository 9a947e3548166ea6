# SPDX-License-Identifier: GPL-3.0-or-later
# animation.cg in Python: 200 frames of clear, a disk and a show that copies
# the canvas into a second buffer.
W = H = 400
canvas = bytearray(W * H)
screen = bytearray(W * H)

def span(y, xa, xb, c):
    if 0 <= y < H:
        xa = max(xa, 0)
        xb = min(xb, W - 1)
        if xa <= xb:
            canvas[y * W + xa:y * W + xb + 1] = bytes((c,)) * (xb - xa + 1)

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

def clear(c):
    canvas[:] = bytes((c,)) * (W * H)

def show():
    screen[:] = canvas

def main():
    x, y, dx, dy = 50, 80, 7, 5
    for f in range(200):
        clear(0)
        disk(x, y, 30, 4)
        show()
        x = x + dx
        y = y + dy
        if x < 31 or x > 368:
            dx = 0 - dx
        if y < 31 or y > 368:
            dy = 0 - dy
    print(sum(screen))

main()
