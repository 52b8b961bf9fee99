<?php
// line comment
# hash comment
/* block
   comment */ $a = 'it\'s';
echo "Hi $name->first, {$b['k']} \$no", 0x1F, 1..2;
if ($i <<= 2 && $x != FALSE) { $s = "open
  still $inside"; }
?>
