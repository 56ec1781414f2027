#!/usr/bin/env python3
"""Tunes the item placement of levels until the search bot's time to finish
a level lies on a rising curve: level 1 about 750 ticks, level 20 about
3100, each level about 8% above the one before.

    tools/solver/tune_levels.py BUILD_DIR LEVEL[:TARGET[:TOLERANCE]]...

Items are added three in a row in untouched earth (never under a bag, never
on the hero's start or the door), or a run of items is taken out, one change
at a time; a change is kept when the bot's time comes closer to the level's
target and the level compiler finds no broken rule. The level text is
rewritten in place; find the solution demos again afterwards.
"""
import os
import random
import re
import subprocess
import sys
import tempfile

FIRST, LAST = 750.0, 3100.0
TOLERANCE = 0.035
ROUNDS = 60
NOT_ITEMS = {-1, 12, 16, 19, 22}


def target(level):
    return FIRST * (LAST / FIRST) ** ((level - 1) / 19.0)


def grids(lines):
    """Line numbers of the 17 rows of each layer."""
    found = {}
    for i, line in enumerate(lines):
        m = re.match(r"layer (\d)\s*$", line)
        if m:
            found[int(m.group(1))] = i + 1
    return found


def legend(lines, layer):
    codes, inside = {}, False
    for line in lines:
        if re.match(r"legend %d\s*$" % layer, line):
            inside = True
            continue
        if inside:
            parts = line.split()
            if len(parts) < 2:
                break
            codes[parts[0]] = int(parts[1])
    return codes


def measure(build, level, lines):
    with tempfile.TemporaryDirectory() as tmp:
        src, out = os.path.join(tmp, "level.txt"), os.path.join(tmp, "level.map")
        with open(src, "w") as f:
            f.write("".join(lines))
        mapc = subprocess.run([os.path.join(build, "tools/mapc/mapc"), src, out],
                              capture_output=True, text=True)
        if mapc.returncode != 0 or "warning" in mapc.stderr:
            return None
        run = subprocess.run([os.path.join(build, "tools/delvorn-solve"), "--data",
                              os.path.join(build, "game"), "--seconds", "30", str(level), out],
                             capture_output=True, text=True)
        m = re.search(r"ticks=(\d+) lives_lost=(\d+)", run.stdout)
        if run.returncode != 0 or not m or int(m.group(2)) > 0:
            return None
        return int(m.group(1))


def change(lines, grow, rng):
    rows = grids(lines)
    objects = legend(lines, 2)
    items = [c for c, code in objects.items() if code not in NOT_ITEMS]
    g0 = [list(lines[rows[0] + r].rstrip("\n")) for r in range(17)]
    g1 = [list(lines[rows[1] + r].rstrip("\n")) for r in range(17)]
    g2 = [list(lines[rows[2] + r].rstrip("\n")) for r in range(17)]
    if grow:
        counts = {c: sum(row.count(c) for row in g2) for c in items}
        item = max(counts, key=counts.get)
        spots = []
        for r in range(1, 16):
            for c in range(0, 23):
                cells = [(r, c + k) for k in range(3)]
                if all(g2[y][x] == "." and g1[y][x] == "." and g0[y][x] not in ".D" and
                       g2[y - 1][x] != "$" and (x, y) != (12, 15) and (x, y) != (12, 14)
                       for y, x in cells):
                    spots.append(cells)
        if not spots:
            return None
        for y, x in rng.choice(spots):
            g2[y][x] = item
    else:
        cells = [(r, c) for r in range(17) for c in range(25) if g2[r][c] in items]
        if len(cells) <= 3:
            return None
        y, x = rng.choice(cells)
        g2[y][x] = "."
        for step in (-1, 1):
            for k in (1, 2):
                if 0 <= x + step * k < 25 and g2[y][x + step * k] in items:
                    g2[y][x + step * k] = "."
                else:
                    break
    new = list(lines)
    for r in range(17):
        new[rows[2] + r] = "".join(g2[r]) + "\n"
    return new


def tune(build, level, goal, tolerance):
    path = os.path.join(os.path.dirname(__file__), "../../content/levels/level%02d.txt" % level)
    with open(path) as f:
        lines = f.readlines()
    ticks = measure(build, level, lines)
    rng = random.Random(level)
    print("level %d: target %.0f, now %s" % (level, goal, ticks), flush=True)
    for _ in range(ROUNDS):
        if ticks is not None and abs(ticks - goal) <= goal * tolerance:
            break
        new = change(lines, ticks is None or ticks < goal, rng)
        if new is None:
            continue
        t = measure(build, level, new)
        if t is not None and (ticks is None or abs(t - goal) < abs(ticks - goal)):
            lines, ticks = new, t
            print("  %d ticks" % t, flush=True)
    with open(path, "w") as f:
        f.write("".join(lines))
    print("level %d: %s ticks (target %.0f)" % (level, ticks, goal), flush=True)


if __name__ == "__main__":
    for arg in sys.argv[2:]:
        parts = arg.split(":")
        level = int(parts[0])
        goal = float(parts[1]) if len(parts) > 1 else target(level)
        tolerance = float(parts[2]) if len(parts) > 2 else TOLERANCE
        tune(sys.argv[1], level, goal, tolerance)
