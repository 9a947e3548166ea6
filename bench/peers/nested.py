# SPDX-License-Identifier: GPL-3.0-or-later
# nested.cg in Python: nested loops with arithmetic and comparisons.
def main():
    s = 0
    for i in range(1000):
        for j in range(1000):
            if (i + j) % 3 == 0:
                s = s + i * j - (j // 7)
            else:
                s = s - 1
    # Ours wraps at 32 bits on every step; wrapping once at the end gives the same value.
    s &= 0xFFFFFFFF
    print(s - (1 << 32) if s >= 1 << 31 else s)

main()
