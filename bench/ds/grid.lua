local g = {}
for x = 0, 999 do
  for y = 0, 999 do g[x * 1000 + y] = (x * 31 + y * 17) % 100 end
end
local total = 0
for k = 0, 1999 do
  local x0 = (k * 137) % 800
  local y0 = (k * 251) % 800
  local sum = 0
  for x = x0, x0 + 199 do
    local base = x * 1000
    for y = y0, y0 + 199 do sum = sum + g[base + y] end
  end
  total = total + sum
end
print(total)
