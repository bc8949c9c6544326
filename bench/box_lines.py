#!/usr/bin/env python3
"""Counts the lines appended to a log box from snapshots of its text.

The box keeps only its newest lines (it drops whole lines from its start
once it grows past its limit), so its last text alone undercounts a long
run. Given snapshots taken often enough that each one's tail is still at
the start of the next, every line ever appended is counted once.

    box_lines.py SNAPSHOT...      prints the number of lines
"""
import sys


def appended(prev: str, cur: str) -> int:
    """Lines in cur that were not in prev."""
    # The part of prev still in the box is a suffix of prev that starts at a
    # line start and is where cur begins; take the longest such.
    if not prev:
        return cur.count("\n")
    k = 0
    while k < len(prev):
        if cur.startswith(prev[k:]):
            return cur[len(prev) - k:].count("\n")
        nl = prev.find("\n", k)
        if nl < 0:
            break
        k = nl + 1
    raise ValueError("snapshots too far apart: nothing of the earlier one is left")


def count(texts) -> int:
    total, prev = 0, ""
    for cur in texts:
        total += appended(prev, cur)
        prev = cur
    return total


def main() -> int:
    texts = []
    for path in sys.argv[1:]:
        with open(path, encoding="utf-8", errors="replace", newline="") as f:
            text = f.read().replace("\r\n", "\n")
        # The UI driver ends what it read with a line end of its own.
        texts.append(text[:-1] if text.endswith("\n") else text)
    print(count(texts))
    return 0


if __name__ == "__main__":
    sys.exit(main())
