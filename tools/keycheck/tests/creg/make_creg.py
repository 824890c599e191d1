#!/usr/bin/env python3
"""Builds a Windows 98/Me registry file (SYSTEM.DAT, signature "CREG") for keycheck's tests from
a REGEDIT4 fixture whose key paths are relative to the file's root ("[Enum\\PCI\\...]"), each key
after its parent. No Debian tool writes this format; the layout is the one libcreg's format
document ("Windows 9x Registry File (CREG) format") and the struct definitions beside its reader
give:

- a 32-byte file header: "CREG", version 1.0, the offset of the first data block and their count;
- the key navigation record "RGKN" at 0x20, whole 4 KiB pages: a 32-byte header whose third
  field is the root key entry's offset, then one 28-byte entry per key, none across a page
  (as in 98's own files): the key name's hash (the sum of the upper-case
  name's ASCII bytes), the parent's, first subkey's and next sibling's entry offsets (relative to
  "RGKN", 0xFFFFFFFF for none), and the number of its name entry and of the data block holding it;
- data blocks "RGDB", each a 32-byte header (size, unused size, its number, used size) and the
  keys' name entries: size, number, block number, used size, name size, value count, the name,
  and the values (type, name size, data size, name, data).

    make_creg.py OUT.DAT EXPORT.reg... [--keys-per-block N]

The exports' keys may name HKEY_LOCAL_MACHINE or not; a key's missing parents are made, and a
key named again keeps its first place, as regedit would merge the files.
Strings are written in the code page's bytes as 98/Me keep them ("..." read as Latin-1), with
their NUL; dword: values as type 4, hex: as type 3, hex(N): as type N.
"""
import argparse
import re
import struct

NONE = 0xFFFFFFFF


def parse(text, keys):
    """Adds to keys, [(path, [(name, type, data)])] with the root first, the keys of a REGEDIT4
    text; a key's missing parents are added before it."""
    known = {path.upper() for path, _ in keys}
    current = None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            path = line[1:-1]
            if path.upper().startswith("HKEY_LOCAL_MACHINE\\"):
                path = path[len("HKEY_LOCAL_MACHINE\\"):]
            names = path.split("\\")
            for depth in range(1, len(names) + 1):
                above = "\\".join(names[:depth])
                if above.upper() not in known:
                    known.add(above.upper())
                    keys.append((above, []))
            current = next(values for above, values in keys if above.upper() == path.upper())
        elif "=" in line and current is not None:
            name, value = line.split("=", 1)
            name = "" if name == "@" else name.strip('"').encode("latin-1")
            if value.startswith('"'):
                data = value[1:-1].replace('\\"', '"').replace("\\\\", "\\")
                current.append((name, 1, data.encode("latin-1") + b"\0"))
            elif value.startswith("dword:"):
                current.append((name, 4, struct.pack("<I", int(value[6:], 16))))
            else:
                found = re.match(r"hex(?:\((\w+)\))?:(.*)", value)
                kind = int(found.group(1), 16) if found.group(1) else 3
                data = bytes(int(b, 16) for b in found.group(2).split(",") if b)
                current.append((name, kind, data))


def name_hash(name):
    return sum(c for c in name.upper().encode("latin-1") if c < 0x80)


def build(keys, per_block):
    paths = [path for path, _ in keys]
    index = {path: i for i, path in enumerate(paths)}
    parent = [None] + [index[p.rsplit("\\", 1)[0] if "\\" in p else ""] for p in paths[1:]]
    children = [[] for _ in paths]
    for i in range(1, len(paths)):
        children[parent[i]].append(i)
    # As in 98's own files, no entry crosses a 4 KiB page: the first page's entries start after
    # the record's header, each other page's at its start.
    entry_at, at = [], 0x20
    for _ in paths:
        if at % 0x1000 + 28 > 0x1000:
            at = (at // 0x1000 + 1) * 0x1000
        entry_at.append(at)
        at += 28
    # The keys but the root (which has no name entry), per_block to a data block.
    numbered = list(range(1, len(paths)))
    blocks = [numbered[i:i + per_block] for i in range(0, len(numbered), per_block)] or [[]]
    where = {}
    for b, members in enumerate(blocks):
        for n, key in enumerate(members):
            where[key] = (n, b)
    navigation = bytearray()
    for i, path in enumerate(paths):
        own = path.rsplit("\\", 1)[-1]
        siblings = children[parent[i]] if parent[i] is not None else [i]
        after = siblings[siblings.index(i) + 1:] if parent[i] is not None else []
        number, block = where.get(i, (0xFFFF, 0xFFFF))
        navigation += b"\0" * (entry_at[i] - 0x20 - len(navigation))
        navigation += struct.pack("<IIIIIIHH", 0, name_hash(own) if i else 0, NONE,
                                  entry_at[parent[i]] if parent[i] is not None else NONE,
                                  entry_at[children[i][0]] if children[i] else NONE,
                                  entry_at[after[0]] if after else NONE, number, block)
    # As 98's own files are, the record is a whole number of 4 KiB pages, its free entries zero.
    rgkn_size = (0x20 + len(navigation) + 0x20 + 0xFFF) // 0x1000 * 0x1000
    navigation += b"\0" * (rgkn_size - 0x20 - len(navigation))
    navigation = bytes(navigation)
    rgkn = b"RGKN" + struct.pack("<IIIII", rgkn_size, 0x20, rgkn_size, 0, 0) + b"\0" * 8
    data = b""
    for b, members in enumerate(blocks):
        entries = b""
        for n, key in enumerate(members):
            name = paths[key].rsplit("\\", 1)[-1].encode("latin-1")
            values = b"".join(struct.pack("<IIHH", kind, 0, len(vname), len(vdata)) + vname + vdata
                              for vname, kind, vdata in keys[key][1])
            size = 20 + len(name) + len(values)
            entries += struct.pack("<IHHIHHI", size, n, b, size, len(name), len(keys[key][1]),
                                   0) + name + values
        size = 0x20 + len(entries)
        data += (b"RGDB" + struct.pack("<IIHHIHH", size, 0, 0, b, len(entries), 0, 0)
                 + b"\0" * 8 + entries)
    first = 0x20 + rgkn_size
    header = b"CREG" + struct.pack("<HHIIHHI", 0, 1, first, 0, len(blocks), 1, 0) + b"\0" * 8
    return header + rgkn + navigation + data


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("exports", nargs="+")
    parser.add_argument("--keys-per-block", type=int, default=64)
    args = parser.parse_args()
    keys = [("", [])]
    for export in args.exports:
        with open(export, encoding="latin-1") as text:
            parse(text.read(), keys)
    with open(args.out, "wb") as out:
        out.write(build(keys, args.keys_per_block))


if __name__ == "__main__":
    main()
