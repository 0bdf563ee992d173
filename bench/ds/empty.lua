local i
