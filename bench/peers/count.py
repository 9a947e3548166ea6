# SPDX-License-Identifier: GPL-3.0-or-later
# count.cg in Python: a counting loop of 10 million passes.
def main():
    i = 0
    while i < 10000000:
        i += 1
    print(i)

main()
