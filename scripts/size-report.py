#!/usr/bin/env python3
"""What each part of a linked Windows binary costs, from the GNU linker's map
file (-Wl,-Map=FILE): bytes of code, read-only data, unwind tables and data
per input, grouped into the project's own objects and each runtime library
(libstdc++ split into its object files).

The shipped binaries link with -flto, so the project's own code shows as
one *.ltrans.o input; for its cost per object, link without -flto.

Usage: size-report.py FILE.map [--top N]
"""
import collections
import os
import re
import sys

# An input section line: " .text  0xADDRESS  0xSIZE  FILE"; a long section
# name puts the address, size and file on the following line.
ENTRY = re.compile(r'^ (\.\S+)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$')
KINDS = {'.text': 'code', '.rdata': 'rodata', '.xdata': 'unwind', '.pdata': 'unwind',
         '.data': 'data', '.eh_frame': 'unwind', '.gcc_except_table': 'rodata'}


def kind_of(section):
    for prefix, kind in KINDS.items():
        if section == prefix or section.startswith(prefix + '$') or section.startswith(prefix + '.'):
            return kind
    return None


def owner_of(path):
    """The library (archive member for libstdc++) or the project object."""
    m = re.match(r'(.*/)?(lib[^/(]+\.a)\((.*)\)$', path)
    if m:
        lib, member = m.group(2), m.group(3)
        return f'{lib}({member})', lib
    return os.path.basename(path), 'project'


def main():
    path = sys.argv[1]
    top = int(sys.argv[sys.argv.index('--top') + 1]) if '--top' in sys.argv else 25
    per_owner = collections.defaultdict(collections.Counter)
    per_group = collections.defaultdict(collections.Counter)
    in_map = False
    pending = None
    for line in open(path, encoding='utf-8', errors='replace'):
        if line.startswith('Linker script and memory map'):
            in_map = True
            continue
        if not in_map:
            continue
        line = line.rstrip('\n')
        bare = re.match(r'^ (\.\S+)$', line)
        if bare:
            pending = bare.group(1)
            continue
        m = ENTRY.match(line)
        if not m:
            pending = None
            continue
        section = m.group(1) or pending
        pending = None
        size = int(m.group(3), 16)
        kind = kind_of(section or '')
        if not kind or size == 0 or 'load address' in m.group(4):
            continue
        owner, group = owner_of(m.group(4).strip())
        per_owner[owner][kind] += size
        per_group[group][kind] += size

    kinds = ['code', 'rodata', 'unwind', 'data']

    def table(title, rows, limit):
        print(f'{title:<48}' + ''.join(f'{k:>9}' for k in kinds) + f'{"total":>9}')
        for name, counts in sorted(rows.items(), key=lambda kv: -sum(kv[1].values()))[:limit]:
            print(f'{name[:48]:<48}' + ''.join(f'{counts[k]:>9}' for k in kinds) + f'{sum(counts.values()):>9}')

    table('by library', per_group, 100)
    total = collections.Counter()
    for counts in per_group.values():
        total.update(counts)
    print(f'{"all":<48}' + ''.join(f'{total[k]:>9}' for k in kinds) + f'{sum(total.values()):>9}')
    print()
    table('largest inputs', per_owner, top)


if __name__ == '__main__':
    main()
