// SPDX-License-Identifier: GPL-3.0-or-later
/* fills.cg in C: per frame clear, fillrect, disk, elldisk, trifill and a
   seed flood fill, with plain span code (equivalent simple algorithms, not
   the raster engine's own). */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define W 400
#define H 400

static unsigned char canvas[W * H];
static int colour;  /* never set by the program, so 0 as in a fresh runner */

static void span(int y, int xa, int xb, int c) {
    if (y < 0 || y >= H) return;
    if (xa < 0) xa = 0;
    if (xb > W - 1) xb = W - 1;
    if (xa <= xb) memset(canvas + y * W + xa, c, (size_t)(xb - xa + 1));
}

static void plot(int x, int y, int c) {
    if (x >= 0 && x < W && y >= 0 && y < H) canvas[y * W + x] = (unsigned char)c;
}

static void clear(int c) { memset(canvas, c, sizeof canvas); }

static void fillrect(int x1, int y1, int x2, int y2) {
    int ya = y1 < y2 ? y1 : y2, yb = y1 < y2 ? y2 : y1;
    int xa = x1 < x2 ? x1 : x2, xb = x1 < x2 ? x2 : x1;
    for (int y = ya; y <= yb; y++) span(y, xa, xb, colour);
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

/* Midpoint ellipse walk (decision values times 4), a span pair per row. */
static void elldisk(int xc, int yc, int a, int b, int c) {
    long a2 = (long)a * a, b2 = (long)b * b;
    long x = 0, y = b;
    long d = 4 * b2 - 4 * a2 * b + a2;
    while (b2 * x < a2 * y) {
        if (d < 0) {
            d += 4 * b2 * (2 * x + 3);
        } else {
            span(yc + y, xc - x, xc + x, c);
            span(yc - y, xc - x, xc + x, c);
            d += 4 * b2 * (2 * x + 3) - 8 * a2 * (y - 1);
            y--;
        }
        x++;
    }
    d = b2 * (2 * x + 1) * (2 * x + 1) + 4 * a2 * (y - 1) * (y - 1) - 4 * a2 * b2;
    while (y >= 0) {
        span(yc + y, xc - x, xc + x, c);
        span(yc - y, xc - x, xc + x, c);
        if (d > 0) {
            d += 4 * a2 * (3 - 2 * y);
        } else {
            d += 8 * b2 * (x + 1) + 4 * a2 * (3 - 2 * y);
            x++;
        }
        y--;
    }
}

/* The 16-bit fixed-point DDA line, both ends drawn. */
static void line(int x1, int y1, int x2, int y2, int c) {
    int dx = abs(x2 - x1), dy = abs(y2 - y1);
    int sx = x2 < x1 ? -1 : 1, sy = y2 < y1 ? -1 : 1;
    int x = x1, y = y1, acc = 0x8000;
    if (dx >= dy) {
        int slope = dx ? (int)((long)dy * 65536 / dx) : 0;
        for (int k = 0; k <= dx; k++) {
            plot(x, y, c);
            x += sx;
            acc += slope;
            if (acc >= 0x10000) { acc -= 0x10000; y += sy; }
        }
    } else {
        int slope = (int)((long)dx * 65536 / dy);
        for (int k = 0; k <= dy; k++) {
            plot(x, y, c);
            y += sy;
            acc += slope;
            if (acc >= 0x10000) { acc -= 0x10000; x += sx; }
        }
    }
}

/* x on edge (xa, ya)-(xb, yb) at row y, 16-bit fixed point, rounded. */
static int edge_x(int xa, int ya, int xb, int yb, int y) {
    if (yb == ya) return xa;
    long step = ((long)(xb - xa) * 65536) / (yb - ya);
    return (int)(((long)xa * 65536 + 0x8000 + step * (y - ya)) >> 16);
}

/* Edge interpolation: sort by y, one span per row between the long edge and
   the current short edge, then the three edges as lines. */
static void trifill(int x1, int y1, int x2, int y2, int x3, int y3, int fill, int edge) {
    int px[3] = {x1, x2, x3}, py[3] = {y1, y2, y3};
    for (int i = 0; i < 2; i++)
        for (int j = 0; j < 2 - i; j++)
            if (py[j] > py[j + 1]) {
                int t = py[j]; py[j] = py[j + 1]; py[j + 1] = t;
                t = px[j]; px[j] = px[j + 1]; px[j + 1] = t;
            }
    for (int y = py[0]; y <= py[2]; y++) {
        int xl = edge_x(px[0], py[0], px[2], py[2], y);
        int xs = y < py[1] ? edge_x(px[0], py[0], px[1], py[1], y) : edge_x(px[1], py[1], px[2], py[2], y);
        if (xl < xs) span(y, xl, xs, fill);
        else span(y, xs, xl, fill);
    }
    line(x1, y1, x2, y2, edge);
    line(x2, y2, x3, y3, edge);
    line(x3, y3, x1, y1, edge);
}

/* Seed fill (mode 0): the region of colour old around the seed becomes c,
   one span at a time, with an explicit stack of seeds. */
static int stack_x[W * H], stack_y[W * H];

static void floodfill(int sx, int sy, int c, int old) {
    if (sx < 0 || sx >= W || sy < 0 || sy >= H) return;
    if (canvas[sy * W + sx] != old || old == c) return;
    int top = 0;
    stack_x[top] = sx; stack_y[top] = sy; top++;
    while (top > 0) {
        top--;
        int x = stack_x[top], y = stack_y[top];
        unsigned char* row = canvas + y * W;
        if (row[x] != old) continue;
        int xl = x, xr = x;
        while (xl > 0 && row[xl - 1] == old) xl--;
        while (xr < W - 1 && row[xr + 1] == old) xr++;
        memset(row + xl, c, (size_t)(xr - xl + 1));
        for (int ny = y - 1; ny <= y + 1; ny += 2) {
            if (ny < 0 || ny >= H) continue;
            unsigned char* nrow = canvas + ny * W;
            int inside = 0;
            for (int nx = xl; nx <= xr; nx++) {
                if (nrow[nx] == old) {
                    if (!inside && top < W * H) { stack_x[top] = nx; stack_y[top] = ny; top++; }
                    inside = 1;
                } else {
                    inside = 0;
                }
            }
        }
    }
}

int main(void) {
    for (int i = 0; i < 200; i++) {
        clear(0);
        fillrect(10, 10, 389, 389);
        disk(200, 200, 150, i & 255);
        elldisk(200, 200, 180, 60, 3);
        trifill(20, 20, 380, 40, 200, 380, 5, 6);
        floodfill(2, 2, 9, 0);
    }
    long sum = 0;
    for (int i = 0; i < W * H; i++) sum += canvas[i];
    printf("%ld\n", sum);
    return 0;
}
