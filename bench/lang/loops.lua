local s = 0
for i = 0, 19999 do
  for j = 0, 999 do
    s = (s + i * j) % 1000007
  end
end
print(s)
