# SPDX-License-Identifier: GPL-3.0-or-later
# calls.cg in Python: a call-heavy loop, four parameters and two locals per call.
def mix(a, b, c, d):
    t = a * b + c
    u = t - d
    # Ours takes the remainder towards zero, as C does; Python's % floors.
    return u % 1000 if u >= 0 else -(-u % 1000)

def main():
    total = 0
    for i in range(300000):
        total = total + mix(i, 3, i // 2, 7)
    print(total)

main()
