#!/usr/bin/env python3
"""Writes the benchmark payload: 383 files from 1 KiB to 64 MiB (about
300 MiB) in a few folders, the same bytes on every run."""
import os
import random
import sys

KIB, MIB = 1024, 1024 * 1024
# (count, size, folder)
PLAN = [
    (1, 64 * MIB, "data"),
    (2, 32 * MIB, "data"),
    (4, 16 * MIB, "data/media"),
    (8, 8 * MIB, "data/media"),
    (16, 2 * MIB, "bin"),
    (32, 256 * KIB, "bin/plugins"),
    (64, 64 * KIB, "docs"),
    (128, 4 * KIB, "docs/pages"),
    (128, 1 * KIB, "docs/pages/small"),
]


def main(root):
    rng = random.Random(20261211)
    block = rng.randbytes(MIB)
    n = 0
    for count, size, folder in PLAN:
        os.makedirs(os.path.join(root, folder), exist_ok=True)
        for i in range(count):
            n += 1
            path = os.path.join(root, folder, "f%03d_%d.bin" % (n, size))
            with open(path, "wb") as f:
                # A different start per file so no two files are equal.
                first = rng.randbytes(min(size, 4096))
                f.write(first)
                left = size - len(first)
                while left > 0:
                    k = min(left, MIB)
                    f.write(block[:k])
                    left -= k
    total = sum(c * s for c, s, _ in PLAN)
    print("%d files, %d bytes" % (n, total))


if __name__ == "__main__":
    main(sys.argv[1])
