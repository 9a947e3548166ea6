-- SPDX-License-Identifier: GPL-3.0-or-later
-- calls.cg in Lua: a call-heavy loop, four parameters and two locals per call.
local function mix(a, b, c, d)
  local t = a * b + c
  local u = t - d
  -- Ours takes the remainder towards zero, as C does; Lua's % floors.
  if u >= 0 then return u % 1000 else return -((-u) % 1000) end
end
local total = 0
for i = 0, 299999 do total = total + mix(i, 3, i // 2, 7) end
print(total)
