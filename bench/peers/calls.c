// SPDX-License-Identifier: GPL-3.0-or-later
/* calls.cg in C: a call-heavy loop, four parameters and two locals per call. */
#include <stdio.h>

__attribute__((noinline)) static int mix(int a, int b, int c, int d) {
    int t = a * b + c;
    int u = t - d;
    return u % 1000;
}

int main(void) {
    volatile int total = 0;
    for (int i = 0; i < 300000; i++) total = total + mix(i, 3, i / 2, 7);
    printf("%d\n", total);
    return 0;
}
