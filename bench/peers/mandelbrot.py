# SPDX-License-Identifier: GPL-3.0-or-later
# mandelbrot.cg in Python: fixed point, 4096 = 1.0, at most 24 iterations per pixel.
# Ours divides towards zero, as C does; Python's // floors, so the quotients
# of operands that can be negative are taken on their magnitudes.
W = H = 400

def main():
    canvas = bytearray(W * H)
    total = 0
    for y in range(400):
        p = (y - 200) * 4096
        ci = p // 100 if p >= 0 else -(-p // 100)
        for x in range(400):
            p = (x - 250) * 4096
            cr = p // 100 if p >= 0 else -(-p // 100)
            zr = zi = n = 0
            while n < 24:
                zr2 = zr * zr // 4096
                zi2 = zi * zi // 4096
                if zr2 + zi2 > 16384:
                    break
                p = zr * zi
                zi = (p // 2048 if p >= 0 else -(-p // 2048)) + ci
                zr = zr2 - zi2 + cr
                n += 1
            total += n
            canvas[y * W + x] = 0 if n == 24 else n * 10 + 15
    print(total)

main()
