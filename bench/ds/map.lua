local m = {}
local size = 0
local n = 200000
for i = 0, n - 1 do
  local k = "key" .. tostring((i * 7919) % n)
  if m[k] == nil then size = size + 1 end
  m[k] = i
end
local total = 0
for i = 0, n - 1 do
  local k = "key" .. tostring((i * 104729) % n)
  local v = m[k]
  if v ~= nil then total = total + v end
end
for i = 0, n - 1, 2 do
  local k = "key" .. tostring(i)
  if m[k] ~= nil then m[k] = nil; size = size - 1 end
end
for i = 0, n - 1 do
  if m["key" .. tostring(i)] ~= nil then total = total + 1 end
end
print(total + size)
