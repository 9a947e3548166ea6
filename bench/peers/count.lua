-- SPDX-License-Identifier: GPL-3.0-or-later
-- count.cg in Lua: a counting loop of 10 million passes.
local i = 0
while i < 10000000 do i = i + 1 end
print(i)
