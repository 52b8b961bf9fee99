/** doc */ x /* open
still */ String Int NULL null instanceof $x1 _y
0x1FL 1..2 1e+5 'a' '\'' "a\"b" "open
@Override # a >>>= b; c->d \ `
/**/ after
