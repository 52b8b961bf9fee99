#include <stdio.h> // io
#define SQUARE(x) \
  ((x) * (x))
/* block
   comment */
int main(int argc, char* argv[])
{
    unsigned long m = 0x1FUL + 017 + 019;
    double r = 1.5e-3 + .5 + 2f;
    const char* s = "a \"b\" \
c";
    char c = '\'';
    asm { mov ax, 1 }
    If (argc->x ... a # b) return @x;
}
