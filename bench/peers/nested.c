// SPDX-License-Identifier: GPL-3.0-or-later
/* nested.cg in C: nested loops with arithmetic and comparisons. */
#include <stdio.h>

int main(void) {
    /* Unsigned: ours wraps at 32 bits, and signed overflow is undefined in C.
       Volatile, as a global in ours, so the loops stay loops. */
    volatile unsigned s = 0;
    for (int i = 0; i < 1000; i++) {
        for (int j = 0; j < 1000; j++) {
            if ((i + j) % 3 == 0) s = s + (unsigned)(i * j) - (unsigned)(j / 7);
            else s = s - 1;
        }
    }
    printf("%d\n", (int)s);
    return 0;
}
