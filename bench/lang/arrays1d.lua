local a = {}
for i = 0, 9999 do a[i] = i end
local total = 0
for k = 0, 999 do
  for i = 0, 9999 do
    total = total + a[i]
  end
end
print(total)
