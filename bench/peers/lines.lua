-- SPDX-License-Identifier: GPL-3.0-or-later
-- lines.cg in Lua: a fan of 4,000 lines with the 16-bit fixed-point DDA.
local W, H = 400, 400
local canvas = {}
for k = 1, W * H do canvas[k] = 0 end
local colour = 0

-- slope = minor * 65536 / major, accumulator from 0x8000, a carry steps the
-- minor axis; major + 1 pixels, both ends drawn.
local function line(x1, y1, x2, y2)
  local c = colour & 255
  local dx, dy = math.abs(x2 - x1), math.abs(y2 - y1)
  local sx = x2 < x1 and -1 or 1
  local sy = y2 < y1 and -1 or 1
  local x, y, acc = x1, y1, 0x8000
  if dx >= dy then
    local slope = dx > 0 and dy * 65536 // dx or 0
    for _ = 0, dx do
      if x >= 0 and x < W and y >= 0 and y < H then canvas[y * W + x + 1] = c end
      x = x + sx
      acc = acc + slope
      if acc >= 0x10000 then acc = acc - 0x10000; y = y + sy end
    end
  else
    local slope = dx * 65536 // dy
    for _ = 0, dy do
      if x >= 0 and x < W and y >= 0 and y < H then canvas[y * W + x + 1] = c end
      y = y + sy
      acc = acc + slope
      if acc >= 0x10000 then acc = acc - 0x10000; x = x + sx end
    end
  end
end

for i = 0, 3999 do
  colour = i & 255
  line(200, 200, (i * 7) % 400, (i * 13) % 400)
end
local sum = 0
for k = 1, W * H do sum = sum + canvas[k] end
print(sum)
