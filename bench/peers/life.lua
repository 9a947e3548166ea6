-- SPDX-License-Identifier: GPL-3.0-or-later
-- life.cg in Lua: Conway's Life, 20 generations of a 100 x 100 grid, the two
-- grids as tables with a dead border, the same reads and writes per cell.
local N = 100
local S = N + 2 -- a row with its border cells
local grid, other = {}, {}
for k = 0, S * S - 1 do
  grid[k] = 0
  other[k] = 0
end

for y = 1, N do
  for x = 1, N do
    if (x * y * (x + y) + 7 * x) % 13 < 5 then grid[y * S + x] = 1 end
  end
end
for _ = 1, 20 do
  for y = 1, N do
    for x = 1, N do
      local i = y * S + x
      local n = grid[i - S - 1] + grid[i - S] + grid[i - S + 1] + grid[i - 1] +
        grid[i + 1] + grid[i + S - 1] + grid[i + S] + grid[i + S + 1]
      if n == 3 then
        other[i] = 1
      elseif n == 2 then
        other[i] = grid[i]
      else
        other[i] = 0
      end
    end
  end
  grid, other = other, grid
end
local live = 0
for y = 1, N do
  for x = 1, N do live = live + grid[y * S + x] end
end
print(live)
