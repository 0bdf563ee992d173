local s = 0
local n = 0
for i = 0, 999999 do
  s = s + math.sqrt(i)
  n = n + #string.sub("hello world", 2, 6)
end
print(math.floor(s) + n)
