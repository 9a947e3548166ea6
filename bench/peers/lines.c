// SPDX-License-Identifier: GPL-3.0-or-later
/* lines.cg in C: a fan of 4,000 lines with the 16-bit fixed-point DDA. */
#include <stdio.h>
#include <stdlib.h>

#define W 400
#define H 400

static unsigned char canvas[W * H];
static int colour;

static void plot(int x, int y) {
    if (x >= 0 && x < W && y >= 0 && y < H) canvas[y * W + x] = (unsigned char)colour;
}

/* slope = minor * 65536 / major, accumulator from 0x8000, a carry steps the
   minor axis; major + 1 pixels, both ends drawn. */
__attribute__((noinline)) static void line(int x1, int y1, int x2, int y2) {
    int dx = abs(x2 - x1), dy = abs(y2 - y1);
    int sx = x2 < x1 ? -1 : 1, sy = y2 < y1 ? -1 : 1;
    int x = x1, y = y1;
    if (dx >= dy) {
        int slope = dx ? (int)((long)dy * 65536 / dx) : 0;
        int acc = 0x8000;
        for (int k = 0; k <= dx; k++) {
            plot(x, y);
            x += sx;
            acc += slope;
            if (acc >= 0x10000) { acc -= 0x10000; y += sy; }
        }
    } else {
        int slope = (int)((long)dx * 65536 / dy);
        int acc = 0x8000;
        for (int k = 0; k <= dy; k++) {
            plot(x, y);
            y += sy;
            acc += slope;
            if (acc >= 0x10000) { acc -= 0x10000; x += sx; }
        }
    }
}

int main(void) {
    for (int i = 0; i < 4000; i++) {
        colour = i & 255;
        line(200, 200, (i * 7) % 400, (i * 13) % 400);
    }
    long sum = 0;
    for (int i = 0; i < W * H; i++) sum += canvas[i];
    printf("%ld\n", sum);
    return 0;
}
