# SPDX-License-Identifier: GPL-3.0-or-later
# pixels.cg in Python: all 160,000 pixels, one setcolor and one point call each.
W = H = 400
canvas = bytearray(W * H)
colour = 0

def setcolor(c):
    global colour
    colour = c

def point(x, y):
    if 0 <= x < W and 0 <= y < H:
        canvas[y * W + x] = colour & 255

def main():
    for y in range(400):
        for x in range(400):
            setcolor((x + y) & 255)
            point(x, y)
    print(sum(canvas))

main()
