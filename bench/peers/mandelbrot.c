// SPDX-License-Identifier: GPL-3.0-or-later
/* mandelbrot.cg in C: fixed point, 4096 = 1.0, at most 24 iterations per pixel. */
#include <stdio.h>

#define W 400
#define H 400

/* Not static: the stores stay, as nothing tells cc that no one reads them. */
unsigned char canvas[W * H];

int main(void) {
    long total = 0;
    for (int y = 0; y < 400; y++) {
        int ci = (y - 200) * 4096 / 100;
        for (int x = 0; x < 400; x++) {
            int cr = (x - 250) * 4096 / 100;
            int zr = 0, zi = 0, n = 0;
            while (n < 24) {
                int zr2 = zr * zr / 4096;
                int zi2 = zi * zi / 4096;
                if (zr2 + zi2 > 16384) break;
                zi = zr * zi / 2048 + ci;
                zr = zr2 - zi2 + cr;
                n++;
            }
            total += n;
            canvas[y * W + x] = (unsigned char)(n == 24 ? 0 : n * 10 + 15);
        }
    }
    printf("%ld\n", total);
    return 0;
}
