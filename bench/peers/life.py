# SPDX-License-Identifier: GPL-3.0-or-later
# life.cg in Python: Conway's Life, 20 generations of a 100 x 100 grid, the two
# grids as byte arrays with a dead border, the same reads and writes per cell.
N = 100
S = N + 2  # a row with its border cells

def main():
    grid, other = bytearray(S * S), bytearray(S * S)
    for y in range(1, N + 1):
        for x in range(1, N + 1):
            if (x * y * (x + y) + 7 * x) % 13 < 5:
                grid[y * S + x] = 1
    for g in range(20):
        for y in range(1, N + 1):
            for x in range(1, N + 1):
                i = y * S + x
                n = (grid[i - S - 1] + grid[i - S] + grid[i - S + 1] + grid[i - 1] +
                     grid[i + 1] + grid[i + S - 1] + grid[i + S] + grid[i + S + 1])
                if n == 3:
                    other[i] = 1
                elif n == 2:
                    other[i] = grid[i]
                else:
                    other[i] = 0
        grid, other = other, grid
    live = 0
    for y in range(1, N + 1):
        for x in range(1, N + 1):
            live += grid[y * S + x]
    print(live)

main()
