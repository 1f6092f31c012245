#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a hierarchy of about a million primitives into a folder: hierarchy.dtn holds a held
source, a chain of 7 instances of g3 and a discarding sink; g3, g2 and g1 chain 10 instances of
the level below, g0 chains 20 instances of an inverter cell (5 primitives). 147,777 instances,
1,018,888 primitives. Prints the primitive count."""
import os
import sys

CELL = """//pelkor file
shift[1,100,100,0,1,2]{
}
shift[2,300,100,0,1,2]{
}
state[3,200,100,1]{
sub[1,10,10]{
{y = ~x;}
{}}
}
uhzi[4,40,100,0,0,0,a]{
}
kemmakix[5,360,100,0,0,q]{
}
arc[4,1]{}
arc[1,3]{x}
arc[3,2]{y}
arc[2,5]{}
"""
CELL_PRIMITIVES = 5


def chain(child, n, top):
    """A chain of n instances of `child` between a source and a sink: ports "a" and "q" below the
    top, a held source and a discarding sink at the top."""
    lines = ['//pelkor file']
    for k in range(n + 1):
        lines += [f'shift[{k + 1},{100 * k},100,0,1,2]{{', '}']
    if top:
        lines += [f'uhzi[{n + 2},-60,100,1,0,0,]{{', '1}']
        lines += [f'kemmakix[{n + 3},{100 * n + 60},100,2,0,]{{', '}']
    else:
        lines += [f'uhzi[{n + 2},-60,100,0,0,0,a]{{', '}']
        lines += [f'kemmakix[{n + 3},{100 * n + 60},100,0,0,q]{{', '}']
    for k in range(n):
        lines += [f'module[{n + 4 + k},{100 * k + 50},160]{{', f'{child}}}']
    lines += [f'arc[{n + 2},1]{{}}']
    for k in range(n):
        lines += [f'arc[{k + 1},{n + 4 + k}]{{a}}', f'arc[{n + 4 + k},{k + 2}]{{q}}']
    lines += [f'arc[{n + 1},{n + 3}]{{}}']
    return '\r\n'.join(lines) + '\r\n', 2 * n + 3


folder = sys.argv[1] if len(sys.argv) > 1 else '.'
os.makedirs(folder, exist_ok=True)
files = {'cell': (CELL.replace('\n', '\r\n'), CELL_PRIMITIVES)}
levels = [('g0', 'cell', 20), ('g1', 'g0', 10), ('g2', 'g1', 10), ('g3', 'g2', 10),
          ('hierarchy', 'g3', 7)]
for name, child, n in levels:
    text, own = chain(child, n, name == 'hierarchy')
    files[name] = (text, own + n * files[child][1])
for name, (text, primitives) in files.items():
    with open(os.path.join(folder, name + '.dtn'), 'wb') as f:
        f.write(text.encode())
print(files['hierarchy'][1])
