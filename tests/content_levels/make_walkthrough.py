#!/usr/bin/env python3
"""Records a run through a level for the headless trace tool.

    make_walkthrough.py BUILD_DIR LEVEL > walkthrough.txt

Plays the level step by step with delvorn-trace: at every cell it heads for
the nearest item (then the opened door) by the cheapest path, avoiding bags
and the cells around enemies, and writes one line of held keys per logic
step. Play is deterministic, so the recorded keys replay the same run; when
the gameplay changes, record the run again.
"""
import heapq
import os
import re
import subprocess
import sys
import tempfile

STEPS = {'R': (1, 0), 'L': (-1, 0), 'D': (0, 1), 'U': (0, -1)}


def layers(path):
    lines = open(path).read().split('\n')
    return [lines[lines.index('layer %d' % k) + 1:][:17] for k in range(3)]


def trace(build, level, keys):
    with tempfile.NamedTemporaryFile('w', suffix='.txt', delete=False) as f:
        f.write('\n'.join(keys) + '\n')
    try:
        out = subprocess.run([os.path.join(build, 'tools', 'delvorn-trace'),
                              '--data', os.path.join(build, 'game'), '--level', str(level),
                              '--ticks', str(len(keys)), '--input', f.name,
                              os.path.join(build, 'game', 'Maps', 'Zub%d.map' % level)],
                             capture_output=True, text=True, check=True).stdout
    finally:
        os.unlink(f.name)
    return out.strip().split('\n')[-1]


def parse(line):
    d = dict(re.findall(r'(\w+)=(\S*)', line))
    hx, hy, hs = map(int, d['hero'].split(','))
    enemies = [tuple(map(int, e.split(','))) for e in d['enemies'].split(';')]
    bags = [tuple(map(int, b.split(':')[1].split(','))) for b in d['bags'].split(';') if b]
    return dict(hx=hx, hy=hy, hs=hs, enemies=enemies, bags=bags, lives=int(d['lives']),
                state=d['state'], shields=int(d['shields']))


def next_step(s, ground, shields, objects, door, visited):
    here = (s['hx'] // 32, s['hy'] // 32)
    blocked = set()
    for bx, by, state in s['bags']:
        blocked.add((bx // 32, by // 32))
        if state != 1:  # wobbling or falling: keep out from under it
            blocked.update((bx // 32, by // 32 + k) for k in range(1, 4))
    danger = {}
    for ex, ey, state, _ in s['enemies']:
        if state == 1:
            for dc in range(-3, 4):
                for dr in range(-3, 4):
                    if abs(dc) + abs(dr) <= 3:
                        cell = (ex // 32 + dc, ey // 32 + dr)
                        danger[cell] = max(danger.get(cell, 0), (4 - abs(dc) - abs(dr)) * 30)
    if s['shields']:
        targets = {door}
    else:
        targets = {(c, r) for r in range(17) for c in range(25)
                   if objects[r][c] not in '.$' and (c, r) not in visited}
    cost = {here: 0}
    first = {}
    queue = [(0, here)]
    while queue:
        d, cell = heapq.heappop(queue)
        if d > cost[cell]:
            continue
        if cell in targets and cell != here:
            return first[cell]
        for key, (dc, dr) in STEPS.items():
            c, r = cell[0] + dc, cell[1] + dr
            if not (0 <= c < 25 and 0 <= r < 17) or (c, r) in blocked:
                continue
            if (shields[r][c] == 'S' or ground[r][c] == 'D') and not s['shields']:
                continue
            nd = d + 1 + danger.get((c, r), 0)
            if nd < cost.get((c, r), 1e9):
                cost[(c, r)] = nd
                first[(c, r)] = first.get(cell, key) if cell != here else key
                heapq.heappush(queue, (nd, (c, r)))
    return None


def main():
    build, level = sys.argv[1], int(sys.argv[2])
    here = os.path.dirname(os.path.abspath(__file__))
    ground, shields, objects = layers(os.path.join(
        here, '..', '..', 'content', 'levels', 'level%02d.txt' % level))
    door = next((c, r) for r in range(17) for c in range(25) if ground[r][c] == 'D')
    keys, visited = [], set()
    for _ in range(2000):
        s = parse(trace(build, level, keys)) if keys else dict(
            hx=384, hy=480, hs=1, enemies=[], bags=[], lives=3, state='RUN', shields=0)
        if s['state'] != 'RUN' or s['lives'] <= 0:
            break
        visited.add((s['hx'] // 32, s['hy'] // 32))
        if s['hs'] != 1 or s['hx'] % 32 or s['hy'] % 32:
            keys.append('')
            continue
        step = next_step(s, ground, shields, objects, door, visited)
        keys.extend([step] * 8 if step else [''] * 4)
    print('\n'.join(keys))


if __name__ == '__main__':
    main()
