local l = {}
local n = 20000
for i = 0, n - 1 do l[#l + 1] = i end
for i = 0, 4999 do table.insert(l, (i * 37) % #l + 1, -i) end
for i = 0, 4999 do table.remove(l, (i * 53) % #l + 1) end
local total = 0
for i = 0, 1999 do
  local v = (i * 97) % n
  local p = -1
  for j = 1, #l do
    if l[j] == v then p = j - 1; break end
  end
  total = total + p
end
for i = 1, #l do total = total + l[i] end
print(total)
