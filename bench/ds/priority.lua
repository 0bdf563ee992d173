-- A binary heap of (priority, insertion number, value). The priorities come
-- from a Park-Miller sequence, so they never repeat and no tie arises.
local heap = {}
local count = 0
local function less(a, b)
  if a[1] ~= b[1] then return a[1] < b[1] end
  return a[2] < b[2]
end
local function push(item)
  count = count + 1
  local i = count
  heap[i] = item
  while i > 1 do
    local parent = i // 2
    if less(heap[i], heap[parent]) then
      heap[i], heap[parent] = heap[parent], heap[i]
      i = parent
    else
      break
    end
  end
end
local function pop()
  local top = heap[1]
  heap[1] = heap[count]
  heap[count] = nil
  count = count - 1
  local i = 1
  while true do
    local l, r, smallest = 2 * i, 2 * i + 1, i
    if l <= count and less(heap[l], heap[smallest]) then smallest = l end
    if r <= count and less(heap[r], heap[smallest]) then smallest = r end
    if smallest == i then break end
    heap[i], heap[smallest] = heap[smallest], heap[i]
    i = smallest
  end
  return top[3]
end
local n = 200000
local s = 12345
for i = 0, n - 1 do
  s = (s * 16807) % 2147483647
  push({s, i, i})
end
local total = 0
for i = 0, n - 1 do
  total = (total * 31 + pop()) % 1000000007
end
print(total)
