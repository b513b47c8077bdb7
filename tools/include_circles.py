#!/usr/bin/env python3
"""Finds include circles in the engine: between modules (a module is X.h with X.cpp or
X_posix.cpp) and between the base, platform and crypto layers. Exits 1 when it finds one.
Usage: tools/include_circles.py [src folder]"""
import re, sys, glob, os
root = sys.argv[1] if len(sys.argv) > 1 else 'src'
engine = {'base','platform','app','operations','crypto','encryption','shred','hide','i18n','shell'}
def mod(rel):
    rel = re.sub(r'_posix(?=\.cpp$)', '', rel)
    return re.sub(r'\.(h|cpp)$', '', rel)
edges = {}
for f in glob.glob(root + '/**/*', recursive=True):
    if not re.search(r'\.(h|cpp)$', f): continue
    rel = os.path.relpath(f, root)
    if rel.split('/')[0] not in engine: continue
    a = mod(rel)
    for m in re.finditer(r'#include\s+"([^"]+)"', open(f, errors='ignore').read()):
        inc = m.group(1)
        if inc.split('/')[0] not in engine: continue
        b = mod(inc)
        if a != b: edges.setdefault(a, set()).add(b)
sys.setrecursionlimit(10000)
idx, low, st, on, sccs, c = {}, {}, [], set(), [], [0]
def sc(v):
    idx[v] = low[v] = c[0]; c[0] += 1; st.append(v); on.add(v)
    for w in edges.get(v, ()):
        if w not in idx: sc(w); low[v] = min(low[v], low[w])
        elif w in on: low[v] = min(low[v], idx[w])
    if low[v] == idx[v]:
        comp = []
        while True:
            w = st.pop(); on.discard(w); comp.append(w)
            if w == v: break
        if len(comp) > 1: sccs.append(comp)
for v in sorted(set(edges) | {w for s in edges.values() for w in s}):
    if v not in idx: sc(v)
print(len(edges), 'modules with engine includes,', sum(len(s) for s in edges.values()), 'edges')
for comp in sccs: print('CIRCLE:', ' '.join(sorted(comp)))
if not sccs: print('no circle between modules')
# The layers under everything else: base below platform, platform below crypto.
layers = {'base': 0, 'platform': 1, 'crypto': 2}
upward = sorted(f'{a} -> {b}' for a, bs in edges.items() for b in bs
                if a.split('/')[0] in layers and b.split('/')[0] in layers
                and layers[b.split('/')[0]] > layers[a.split('/')[0]])
for e in upward: print('LAYER REACHES UP:', e)
if not upward: print('base, platform and crypto include only downwards')
sys.exit(1 if sccs or upward else 0)
