#!/usr/bin/env python3
"""Builds a registry hive file for keycheck's tests: an empty hive of our own making, into which
hivexregedit --merge (Debian: libwin-hivex-perl) writes a fixture export whose key paths are
relative to the hive's root ("[\\Select]"), each key listed before its subkeys.

    make_hive.py EXPORT.reg OUT.hive

The empty hive is the smallest one hivex opens and writes to: the 4096-byte base block
("regf", version 1.3, its checksum the XOR of the first 127 dwords) and one 4096-byte bin
holding the root key (an nk cell), its security descriptor (an sk cell, which hivex gives each
key it adds) and one free cell for the rest.
"""
import struct
import subprocess
import sys

def cell(data, allocated=True):
    """A cell: its size (negative while in use) and data, padded to a multiple of 8."""
    size = (4 + len(data) + 7) // 8 * 8
    data = data + b"\0" * (size - 4 - len(data))
    return struct.pack("<i", -size if allocated else size) + data

def empty_hive(root_name=b"ROOT"):
    root_off = 0x20
    nk_len = (4 + 76 + len(root_name) + 7) // 8 * 8
    sk_off = root_off + nk_len
    sd = struct.pack("<BBHIIII", 1, 0, 0x8004, 0, 0, 0, 0)  # self-relative, no owner/group/DACL
    nk = (b"nk" + struct.pack("<H", 0x2C) + struct.pack("<Q", 0) + struct.pack("<I", 0)
          + struct.pack("<I", 0xFFFFFFFF)  # parent
          + struct.pack("<II", 0, 0) + struct.pack("<II", 0xFFFFFFFF, 0xFFFFFFFF)
          + struct.pack("<II", 0, 0xFFFFFFFF) + struct.pack("<I", sk_off)
          + struct.pack("<I", 0xFFFFFFFF) + struct.pack("<IIIII", 0, 0, 0, 0, 0)
          + struct.pack("<HH", len(root_name), 0) + root_name)
    sk = b"sk" + struct.pack("<HIIII", 0, sk_off, sk_off, 1, len(sd)) + sd
    cells = cell(nk) + cell(sk)
    free = 0x1000 - 0x20 - len(cells)
    cells += struct.pack("<i", free) + b"\0" * (free - 4)
    hbin = b"hbin" + struct.pack("<III", 0, 0x1000, 0) + struct.pack("<IQI", 0, 0, 0) + cells
    assert len(hbin) == 0x1000, len(hbin)
    base = bytearray(0x1000)
    struct.pack_into("<4sIIQIIIIIII", base, 0, b"regf", 1, 1, 0, 1, 3, 0, 1, root_off, 0x1000, 1)
    checksum = 0
    for i in range(0, 0x1FC, 4):
        checksum ^= struct.unpack_from("<I", base, i)[0]
    struct.pack_into("<I", base, 0x1FC, checksum)
    return bytes(base) + hbin

def main():
    if len(sys.argv) != 3:
        print("usage: make_hive.py EXPORT.reg OUT.hive", file=sys.stderr)
        return 2
    with open(sys.argv[2], "wb") as out:
        out.write(empty_hive())
    return subprocess.run(["hivexregedit", "--merge", sys.argv[2], sys.argv[1]]).returncode


if __name__ == "__main__":
    sys.exit(main())
