-- SPDX-License-Identifier: GPL-3.0-or-later
-- nested.cg in Lua: nested loops with arithmetic and comparisons.
local s = 0
for i = 0, 999 do
  for j = 0, 999 do
    if (i + j) % 3 == 0 then s = s + i * j - (j // 7)
    else s = s - 1 end
  end
end
-- Ours wraps at 32 bits on every step; wrapping once at the end gives the same value.
s = s & 0xFFFFFFFF
if s >= 0x80000000 then s = s - 0x100000000 end
print(s)
