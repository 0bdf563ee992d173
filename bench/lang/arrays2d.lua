local g = {}
for i = 0, 99 do g[i] = {} end
local total = 0
for k = 0, 499 do
  for i = 0, 99 do
    local row = g[i]
    for j = 0, 99 do
      row[j] = i + j + k
    end
  end
  for i = 0, 99 do
    local row = g[i]
    for j = 0, 99 do
      total = total + row[j]
    end
  end
end
print(total)
