// Syntax highlighting
function printNumber() { var x = 0x1F, y = 1e5; /* open
   still open */ x += 1.0; }
body.onLoad = printNumber; i += @;
document.write("a \"b\" c", 'd\\', '''e''', "C:\\");
if (a >= b && c != d) return ...rest; #$
