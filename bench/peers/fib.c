// SPDX-License-Identifier: GPL-3.0-or-later
/* fib.cg in C: recursive Fibonacci of 25. */
#include <stdio.h>

__attribute__((noinline)) static int fib(int n) {
    if (n < 2) return n;
    return fib(n - 1) + fib(n - 2);
}

int main(void) {
    volatile int n = 25;
    printf("%d\n", fib(n));
    return 0;
}
