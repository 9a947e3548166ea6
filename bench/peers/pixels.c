// SPDX-License-Identifier: GPL-3.0-or-later
/* pixels.cg in C: all 160,000 pixels, one setcolor and one point call each. */
#include <stdio.h>

#define W 400
#define H 400

static unsigned char canvas[W * H];
static int colour;

/* noinline: the point of the program is one call per built-in. */
__attribute__((noinline)) static void setcolor(int c) { colour = c; }

__attribute__((noinline)) static void point(int x, int y) {
    if (x >= 0 && x < W && y >= 0 && y < H) canvas[y * W + x] = (unsigned char)colour;
}

int main(void) {
    for (int y = 0; y < 400; y++)
        for (int x = 0; x < 400; x++) {
            setcolor((x + y) & 255);
            point(x, y);
        }
    long sum = 0;
    for (int i = 0; i < W * H; i++) sum += canvas[i];
    printf("%ld\n", sum);
    return 0;
}
