-- SPDX-License-Identifier: GPL-3.0-or-later
-- fills.cg in Lua: per frame clear, fillrect, disk, elldisk, trifill and a
-- seed flood fill, with plain span code (equivalent simple algorithms, not
-- the raster engine's own).
local W, H = 400, 400
local N = W * H
local canvas = {}
for k = 1, N do canvas[k] = 0 end
local colour = 0 -- never set by the program, so 0 as in a fresh runner

local function span(y, xa, xb, c)
  if y < 0 or y >= H then return end
  if xa < 0 then xa = 0 end
  if xb > W - 1 then xb = W - 1 end
  local base = y * W + 1
  for k = base + xa, base + xb do canvas[k] = c end
end

local function plot(x, y, c)
  if x >= 0 and x < W and y >= 0 and y < H then canvas[y * W + x + 1] = c end
end

local function clear(c)
  for k = 1, N do canvas[k] = c end
end

local function fillrect(x1, y1, x2, y2)
  for y = math.min(y1, y2), math.max(y1, y2) do
    span(y, math.min(x1, x2), math.max(x1, x2), colour & 255)
  end
end

-- Midpoint circle walk, one span per octant pair.
local function disk(xc, yc, r, c)
  local x, y, d = 0, r, 1 - r
  while x <= y do
    span(yc + y, xc - x, xc + x, c)
    span(yc - y, xc - x, xc + x, c)
    span(yc + x, xc - y, xc + y, c)
    span(yc - x, xc - y, xc + y, c)
    if d < 0 then d = d + 2 * x + 3
    else d = d + 2 * (x - y) + 5; y = y - 1 end
    x = x + 1
  end
end

-- Midpoint ellipse walk (decision values times 4), a span pair per row.
local function elldisk(xc, yc, a, b, c)
  local a2, b2 = a * a, b * b
  local x, y = 0, b
  local d = 4 * b2 - 4 * a2 * b + a2
  while b2 * x < a2 * y do
    if d < 0 then
      d = d + 4 * b2 * (2 * x + 3)
    else
      span(yc + y, xc - x, xc + x, c)
      span(yc - y, xc - x, xc + x, c)
      d = d + 4 * b2 * (2 * x + 3) - 8 * a2 * (y - 1)
      y = y - 1
    end
    x = x + 1
  end
  d = b2 * (2 * x + 1) * (2 * x + 1) + 4 * a2 * (y - 1) * (y - 1) - 4 * a2 * b2
  while y >= 0 do
    span(yc + y, xc - x, xc + x, c)
    span(yc - y, xc - x, xc + x, c)
    if d > 0 then
      d = d + 4 * a2 * (3 - 2 * y)
    else
      d = d + 8 * b2 * (x + 1) + 4 * a2 * (3 - 2 * y)
      x = x + 1
    end
    y = y - 1
  end
end

-- The 16-bit fixed-point DDA, both ends drawn.
local function line(x1, y1, x2, y2, c)
  local dx, dy = math.abs(x2 - x1), math.abs(y2 - y1)
  local sx = x2 < x1 and -1 or 1
  local sy = y2 < y1 and -1 or 1
  local x, y, acc = x1, y1, 0x8000
  if dx >= dy then
    local slope = dx > 0 and dy * 65536 // dx or 0
    for _ = 0, dx do
      plot(x, y, c)
      x = x + sx
      acc = acc + slope
      if acc >= 0x10000 then acc = acc - 0x10000; y = y + sy end
    end
  else
    local slope = dx * 65536 // dy
    for _ = 0, dy do
      plot(x, y, c)
      y = y + sy
      acc = acc + slope
      if acc >= 0x10000 then acc = acc - 0x10000; x = x + sx end
    end
  end
end

-- Division towards zero, as in C and ours.
local function tdiv(a, b)
  local q = math.abs(a) // math.abs(b)
  if (a < 0) == (b < 0) then return q else return -q end
end

-- x on the edge at row y, 16-bit fixed point, rounded.
local function edge_x(xa, ya, xb, yb, y)
  if yb == ya then return xa end
  local step = tdiv((xb - xa) * 65536, yb - ya)
  return (xa * 65536 + 0x8000 + step * (y - ya)) // 65536
end

-- Edge interpolation: sort by y, one span per row between the long edge and
-- the current short edge, then the three edges as lines.
local function trifill(x1, y1, x2, y2, x3, y3, fill, edge)
  local px, py = {x1, x2, x3}, {y1, y2, y3}
  for i = 1, 2 do
    for j = 1, 3 - i do
      if py[j] > py[j + 1] then
        py[j], py[j + 1] = py[j + 1], py[j]
        px[j], px[j + 1] = px[j + 1], px[j]
      end
    end
  end
  for y = py[1], py[3] do
    local xl = edge_x(px[1], py[1], px[3], py[3], y)
    local xs
    if y < py[2] then xs = edge_x(px[1], py[1], px[2], py[2], y)
    else xs = edge_x(px[2], py[2], px[3], py[3], y) end
    span(y, math.min(xl, xs), math.max(xl, xs), fill)
  end
  line(x1, y1, x2, y2, edge)
  line(x2, y2, x3, y3, edge)
  line(x3, y3, x1, y1, edge)
end

-- Seed fill (mode 0): the region of colour old around the seed becomes c,
-- one span at a time, with an explicit stack of seeds.
local function floodfill(sx, sy, c, old)
  if sx < 0 or sx >= W or sy < 0 or sy >= H then return end
  if canvas[sy * W + sx + 1] ~= old or old == c then return end
  local stx, sty, top = {sx}, {sy}, 1
  while top > 0 do
    local x, y = stx[top], sty[top]
    top = top - 1
    local base = y * W + 1
    if canvas[base + x] == old then
      local xl, xr = x, x
      while xl > 0 and canvas[base + xl - 1] == old do xl = xl - 1 end
      while xr < W - 1 and canvas[base + xr + 1] == old do xr = xr + 1 end
      for k = base + xl, base + xr do canvas[k] = c end
      for ny = y - 1, y + 1, 2 do
        if ny >= 0 and ny < H then
          local nbase = ny * W + 1
          local inside = false
          for nx = xl, xr do
            if canvas[nbase + nx] == old then
              if not inside then
                top = top + 1
                stx[top], sty[top] = nx, ny
              end
              inside = true
            else
              inside = false
            end
          end
        end
      end
    end
  end
end

for i = 0, 199 do
  clear(0)
  fillrect(10, 10, 389, 389)
  disk(200, 200, 150, i & 255)
  elldisk(200, 200, 180, 60, 3)
  trifill(20, 20, 380, 40, 200, 380, 5, 6)
  floodfill(2, 2, 9, 0)
end
local sum = 0
for k = 1, N do sum = sum + canvas[k] end
print(sum)
