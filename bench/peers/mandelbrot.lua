-- SPDX-License-Identifier: GPL-3.0-or-later
-- mandelbrot.cg in Lua: fixed point, 4096 = 1.0, at most 24 iterations per pixel.
-- Ours divides towards zero, as C does; Lua's // floors, so the quotients
-- of operands that can be negative are taken on their magnitudes.
local W = 400
local canvas = {}
for k = 1, W * W do canvas[k] = 0 end

local function tdiv(p, d)
  if p >= 0 then return p // d end
  return -(-p // d)
end

local total = 0
for y = 0, 399 do
  local ci = tdiv((y - 200) * 4096, 100)
  for x = 0, 399 do
    local cr = tdiv((x - 250) * 4096, 100)
    local zr, zi, n = 0, 0, 0
    while n < 24 do
      local zr2 = zr * zr // 4096
      local zi2 = zi * zi // 4096
      if zr2 + zi2 > 16384 then break end
      local p = zr * zi
      if p >= 0 then zi = p // 2048 + ci else zi = -(-p // 2048) + ci end
      zr = zr2 - zi2 + cr
      n = n + 1
    end
    total = total + n
    if n == 24 then canvas[y * W + x + 1] = 0 else canvas[y * W + x + 1] = n * 10 + 15 end
  end
end
print(total)
