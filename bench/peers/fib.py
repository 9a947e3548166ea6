# SPDX-License-Identifier: GPL-3.0-or-later
# fib.cg in Python: recursive Fibonacci of 25.
def fib(n):
    if n < 2:
        return n
    return fib(n - 1) + fib(n - 2)

print(fib(25))
