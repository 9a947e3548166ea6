// SPDX-License-Identifier: GPL-3.0-or-later
/* life.cg in C: Conway's Life, 20 generations of a 100 x 100 grid, the two
   grids as byte arrays with a dead border, the same reads and writes per cell. */
#include <stdio.h>

#define N 100
#define S (N + 2) /* a row with its border cells */

static unsigned char grids[2][S * S];

int main(void) {
    unsigned char *grid = grids[0], *other = grids[1];
    for (int y = 1; y <= N; y++)
        for (int x = 1; x <= N; x++)
            if ((x * y * (x + y) + 7 * x) % 13 < 5) grid[y * S + x] = 1;
    for (int g = 0; g < 20; g++) {
        for (int y = 1; y <= N; y++)
            for (int x = 1; x <= N; x++) {
                int i = y * S + x;
                int n = grid[i - S - 1] + grid[i - S] + grid[i - S + 1] + grid[i - 1] + grid[i + 1] +
                        grid[i + S - 1] + grid[i + S] + grid[i + S + 1];
                if (n == 3)
                    other[i] = 1;
                else if (n == 2)
                    other[i] = grid[i];
                else
                    other[i] = 0;
            }
        unsigned char* t = grid;
        grid = other;
        other = t;
    }
    int live = 0;
    for (int y = 1; y <= N; y++)
        for (int x = 1; x <= N; x++) live += grid[y * S + x];
    printf("%d\n", live);
    return 0;
}
