// SPDX-License-Identifier: GPL-3.0-or-later
/* count.cg in C: a counting loop of 10 million passes. */
#include <stdio.h>

volatile int sink;  /* keeps -O2 from folding the loop away */

int main(void) {
    int i = 0;
    while (i < 10000000) { i++; sink = i; }
    printf("%d\n", sink);
    return 0;
}
