' Syntax highlighting
  for i = 0 to 10
END FUNCTION EndIf
x = #1/1/2000# & #open
y = 1.5e3 + 1.5e+3 <> a$ >= b <= c
s = "a""b" & """x" & "open
