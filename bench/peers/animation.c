// SPDX-License-Identifier: GPL-3.0-or-later
/* animation.cg in C: 200 frames of clear, a disk and a show that copies the
   canvas into a second buffer. */
#include <stdio.h>
#include <string.h>

#define W 400
#define H 400

static unsigned char canvas[W * H];
static unsigned char screen[W * H];

static void span(int y, int xa, int xb, int c) {
    if (y < 0 || y >= H) return;
    if (xa < 0) xa = 0;
    if (xb > W - 1) xb = W - 1;
    if (xa <= xb) memset(canvas + y * W + xa, c, (size_t)(xb - xa + 1));
}

/* Midpoint circle walk, one span per octant pair. */
static void disk(int xc, int yc, int r, int c) {
    int x = 0, y = r, d = 1 - r;
    while (x <= y) {
        span(yc + y, xc - x, xc + x, c);
        span(yc - y, xc - x, xc + x, c);
        span(yc + x, xc - y, xc + y, c);
        span(yc - x, xc - y, xc + y, c);
        if (d < 0) d += 2 * x + 3;
        else { d += 2 * (x - y) + 5; y--; }
        x++;
    }
}

static void show(void) { memcpy(screen, canvas, sizeof canvas); }

int main(void) {
    int x = 50, y = 80, dx = 7, dy = 5;
    for (int f = 0; f < 200; f++) {
        memset(canvas, 0, sizeof canvas);
        disk(x, y, 30, 4);
        show();
        x = x + dx; y = y + dy;
        if ((x < 31) || (x > 368)) dx = 0 - dx;
        if ((y < 31) || (y > 368)) dy = 0 - dy;
    }
    long sum = 0;
    for (int i = 0; i < W * H; i++) sum += screen[i];
    printf("%ld\n", sum);
    return 0;
}
