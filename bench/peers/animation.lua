-- SPDX-License-Identifier: GPL-3.0-or-later
-- animation.cg in Lua: 200 frames of clear, a disk and a show that copies the
-- canvas into a second buffer.
local W, H = 400, 400
local N = W * H
local canvas, screen = {}, {}
for k = 1, N do canvas[k] = 0; screen[k] = 0 end

local function span(y, xa, xb, c)
  if y < 0 or y >= H then return end
  if xa < 0 then xa = 0 end
  if xb > W - 1 then xb = W - 1 end
  local base = y * W + 1
  for k = base + xa, base + xb do canvas[k] = c end
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

local function clear(c)
  for k = 1, N do canvas[k] = c end
end

local function show() table.move(canvas, 1, N, 1, screen) end

local x, y, dx, dy = 50, 80, 7, 5
for _ = 0, 199 do
  clear(0)
  disk(x, y, 30, 4)
  show()
  x = x + dx; y = y + dy
  if x < 31 or x > 368 then dx = 0 - dx end
  if y < 31 or y > 368 then dy = 0 - dy end
end
local sum = 0
for k = 1, N do sum = sum + screen[k] end
print(sum)
