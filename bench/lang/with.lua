local instances = {}
for i = 1, 100 do instances[i] = {} end
for _, inst in ipairs(instances) do inst.hp = 0; inst.speed_x = 1 end
for k = 0, 49999 do
  for _, inst in ipairs(instances) do inst.hp = inst.hp + inst.speed_x end
end
local total_sum = 0
for _, inst in ipairs(instances) do total_sum = total_sum + inst.hp end
print(total_sum)
