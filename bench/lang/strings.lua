local s = ""
for i = 0, 19999 do
  s = s .. tostring(i % 10)
end
local n = 0
for i = 0, 1999999 do
  n = n + #("ab" .. tostring(i % 7))
end
print(#s + n)
