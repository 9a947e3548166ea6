-- SPDX-License-Identifier: GPL-3.0-or-later
-- pixels.cg in Lua: all 160,000 pixels, one setcolor and one point call each.
local W, H = 400, 400
local canvas = {}
for k = 1, W * H do canvas[k] = 0 end
local colour = 0

local function setcolor(c) colour = c end

local function point(x, y)
  if x >= 0 and x < W and y >= 0 and y < H then canvas[y * W + x + 1] = colour & 255 end
end

for y = 0, 399 do
  for x = 0, 399 do
    setcolor((x + y) & 255)
    point(x, y)
  end
end
local sum = 0
for k = 1, W * H do sum = sum + canvas[k] end
print(sum)
