#!/usr/bin/env python3
"""Lists what the bytes of a linked program are spent on, from the GNU ld map (-Wl,-Map).

Usage: map-contributors.py SETUP.map [COUNT]
Prints the size per output section, then the COUNT largest input objects and functions that
stayed in the program (sections the linker discarded and debug sections are not counted).
"""
import collections
import re
import sys


def kept_sections(path):
    lines = open(path, errors="replace").read().split("\n")
    start = next(k for k, line in enumerate(lines) if line.startswith("Linker script and memory map"))
    pending = None
    for line in lines[start:]:
        whole = re.match(r"^ (\.\S+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(.+)$", line)
        if whole:
            section, address, size, source = whole.groups()
        else:
            # Long section names put the address and size on the next line.
            name = re.match(r"^ (\.\S+)$", line.rstrip())
            if name:
                pending = name.group(1)
                continue
            rest = re.match(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(.+)$", line)
            if not (rest and pending):
                pending = None
                continue
            section, (address, size, source) = pending, rest.groups()
            pending = None
        size, address = int(size, 16), int(address, 16)
        if size == 0 or address == 0 or section.startswith(".debug"):
            continue
        yield section, size, re.sub(r".*/", "", source)


def main():
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    by_output, by_object, by_function = (collections.Counter() for _ in range(3))
    for section, size, source in kept_sections(sys.argv[1]):
        output = re.match(r"\.[A-Za-z_]+", section)
        by_output[output.group(0) if output else section] += size
        by_object[source] += size
        by_function[(section, source)] += size
    for name, size in by_output.most_common():
        print(f"{size:8d} {name}")
    print(f"--- {count} largest objects")
    for name, size in by_object.most_common(count):
        print(f"{size:8d} {name}")
    print(f"--- {count} largest sections")
    for (section, source), size in by_function.most_common(count):
        print(f"{size:8d} {section[:100]} {source}")


if __name__ == "__main__":
    main()
