#!/usr/bin/env python3
"""Checks setup.exe's PE headers, imports, icon and version resources."""
import os
import struct
import sys

ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "advapi32.dll", "comctl32.dll", "msvcrt.dll"}
RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16


class BadFile(Exception):
    pass


class PE:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise BadFile("no MZ header")
        pe = self.u32(0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise BadFile("no PE signature")
        self.machine, nsect = struct.unpack_from("<HH", data, pe + 4)
        opt_size = self.u16(pe + 20)
        self.opt = pe + 24
        self.magic = self.u16(self.opt)
        if self.magic != 0x10B:
            raise BadFile("optional header magic 0x%x, not PE32 (0x10b)" % self.magic)
        self.image_base = self.u32(self.opt + 28)
        self.os_version = struct.unpack_from("<HH", data, self.opt + 40)
        self.subsys_version = struct.unpack_from("<HH", data, self.opt + 48)
        self.subsystem = self.u16(self.opt + 68)
        ndirs = self.u32(self.opt + 92)
        self.dirs = [struct.unpack_from("<II", data, self.opt + 96 + 8 * i) for i in range(ndirs)]
        self.sections = []
        for i in range(nsect):
            off = self.opt + opt_size + 40 * i
            vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", data, off + 8)
            self.sections.append((va, max(vsize, rawsize), rawptr, rawsize))

    def u16(self, off):
        return struct.unpack_from("<H", self.data, off)[0]

    def u32(self, off):
        return struct.unpack_from("<I", self.data, off)[0]

    def off(self, rva):
        for va, size, rawptr, rawsize in self.sections:
            if va <= rva < va + size and rva - va < rawsize:
                return rawptr + rva - va
        raise BadFile("RVA 0x%x is not in the file" % rva)

    def cstr(self, rva):
        start = self.off(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("latin-1")

    def directory(self, index):
        return self.dirs[index] if index < len(self.dirs) else (0, 0)

    def import_descriptors(self):
        """The ordinary import directory's descriptors: (lookup table RVA, name RVA, address
        table RVA) each."""
        rva, size = self.directory(1)
        pos = self.off(rva) if size else None
        while pos is not None:
            desc = struct.unpack_from("<IIIII", self.data, pos)
            if desc == (0, 0, 0, 0, 0):
                return
            yield desc[0], desc[3], desc[4]
            pos += 20

    def imports(self):
        names = [self.cstr(name) for _, name, _ in self.import_descriptors()]
        rva, size = self.directory(13)  # delay-load imports
        pos = self.off(rva) if size else None
        while pos is not None:
            attrs, name = struct.unpack_from("<II", self.data, pos)
            if name == 0:
                break
            names.append(self.cstr(name if attrs & 1 else name - self.image_base))
            pos += 32
        return names

    def imported_functions(self):
        """(DLL name, function name or #ordinal) of every ordinary import, in file order."""
        found = []
        for lookup, name, addresses in self.import_descriptors():
            dll = self.cstr(name)
            thunk = self.off(lookup or addresses)
            while self.u32(thunk):
                entry = self.u32(thunk)
                found.append((dll, "#%d" % (entry & 0xFFFF) if entry & 0x80000000
                              else self.cstr(entry + 2)))
                thunk += 4
        return found

    def resources(self):
        """Returns {type: {name: {lang: bytes}}}; names are ints or strings."""
        rva, size = self.directory(2)
        if not size:
            return {}
        base = self.off(rva)

        def name_of(raw):
            if raw & 0x80000000:
                pos = base + (raw & 0x7FFFFFFF)
                n = self.u16(pos)
                return self.data[pos + 2:pos + 2 + 2 * n].decode("utf-16-le")
            return raw

        def walk(pos, depth):
            count = sum(struct.unpack_from("<HH", self.data, pos + 12))
            out = {}
            for i in range(count):
                raw, target = struct.unpack_from("<II", self.data, pos + 16 + 8 * i)
                if target & 0x80000000:
                    if depth == 2:
                        raise BadFile("resource directory nested too deep")
                    out[name_of(raw)] = walk(base + (target & 0x7FFFFFFF), depth + 1)
                else:
                    data_rva, data_size = struct.unpack_from("<II", self.data, base + target)
                    start = self.off(data_rva)
                    out[name_of(raw)] = self.data[start:start + data_size]
            return out

        return walk(base, 0)


def version_block(data, pos, leaf):
    """Parses one VS_VERSIONINFO-style block into (key, value bytes, child offsets)."""
    length, value_len, is_text = struct.unpack_from("<HHH", data, pos)
    end = pos + length
    if length < 6 or end > len(data):
        raise BadFile("version block at %d has a bad length %d" % (pos, length))
    key_end = pos + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[pos + 6:key_end].decode("utf-16-le")
    value_pos = (key_end + 2 + 3) & ~3
    if leaf and is_text:
        # Compilers disagree on wValueLength for strings; the text runs to the block's end.
        return key, data[value_pos:end] if value_len else b"", []
    value = data[value_pos:value_pos + value_len * (2 if is_text else 1)]
    if leaf:
        return key, value, []
    children = []
    child = (value_pos + len(value) + 3) & ~3
    while child < end:
        children.append(child)
        size = struct.unpack_from("<H", data, child)[0]
        if size < 6:
            raise BadFile("version block at %d has a bad length %d" % (child, size))
        child = (child + size + 3) & ~3
    return key, value, children


def text(value):
    return value.decode("utf-16-le", "replace").split("\0", 1)[0]


class Checker:
    def __init__(self):
        self.failed = False

    def check(self, ok, what, detail=""):
        if ok:
            print("ok: " + what)
        else:
            self.failed = True
            print("FAIL: " + what + (" (" + detail + ")" if detail else ""))


def check_icon(c, res):
    groups = res.get(RT_GROUP_ICON, {})
    if 128 not in groups:
        c.check(False, "icon group 128 present", "groups: %r" % sorted(groups, key=str))
        return
    data = next(iter(groups[128].values()))
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    entries = [struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i) for i in range(count)]
    sizes = sorted((e[0], e[1]) for e in entries)
    c.check(kind == 1 and sizes == [(16, 16), (32, 32)],
            "icon group 128 holds one 32x32 and one 16x16", "type %d, sizes %r" % (kind, sizes))
    icons = res.get(RT_ICON, {})
    for w, h, colours, _, _, bits, size, ident in entries:
        name = "icon group 128 %dx%d" % (w, h)
        c.check(colours == 16 or bits == 4, name + " has 16 colours",
                "bColorCount %d, wBitCount %d" % (colours, bits))
        if ident not in icons:
            c.check(False, name + " image (RT_ICON %d) exists" % ident)
            continue
        img = next(iter(icons[ident].values()))
        hdr = struct.unpack_from("<IiiHH", img, 0) if len(img) >= 16 else (0, 0, 0, 0, 0)
        c.check(hdr[0] == 40 and hdr[1:3] == (w, 2 * h) and hdr[4] == 4 and len(img) == size,
                name + " image (RT_ICON %d) is a %dx%d 4-bit bitmap" % (ident, w, h),
                "header %r, %d bytes, group says %d" % (hdr, len(img), size))


def check_version(c, res):
    versions = [data for names in res.get(RT_VERSION, {}).values() for data in names.values()]
    c.check(len(versions) == 1, "one version resource", "found %d" % len(versions))
    if not versions:
        return
    data = versions[0]
    key, fixed, children = version_block(data, 0, False)
    c.check(key == "VS_VERSION_INFO", "version root key", repr(key))
    f = struct.unpack_from("<13I", fixed) if len(fixed) >= 52 else (0,) * 13
    c.check(f[0] == 0xFEEF04BD, "VS_FIXEDFILEINFO signature", "0x%08x" % f[0])
    c.check(f[2:4] == (0x10000, 1), "file version 1.0.0.1", "0x%08x 0x%08x" % f[2:4])
    c.check(f[4:6] == (0x10000, 1), "product version 1.0.0.1", "0x%08x 0x%08x" % f[4:6])
    c.check(f[9] == 1, "file type VFT_APP", "%d" % f[9])
    c.check(f[8] == 4, "file OS VOS__WINDOWS32", "0x%x" % f[8])
    tables, pairs = [], []
    for pos in children:
        kind, _, kids = version_block(data, pos, False)
        if kind == "StringFileInfo":
            tables += [version_block(data, k, False) for k in kids]
        elif kind == "VarFileInfo":
            for var, value, _ in (version_block(data, k, True) for k in kids):
                if var == "Translation":
                    pairs += [struct.unpack_from("<HH", value, i)
                              for i in range(0, len(value) - 3, 4)]
    c.check(len(tables) == 1, "exactly one string table", "found %d" % len(tables))
    if tables:
        name, _, kids = tables[0]
        c.check(name.lower() == "040404b0", "string table 040404b0", repr(name))
        strings = {}
        for k in kids:
            key, value, _ = version_block(data, k, True)
            strings[key] = text(value)
        for key, want in (("FileVersion", "1, 0, 0, 1"), ("ProductVersion", "1, 0, 0, 1"),
                          ("CompanyName", ""), ("LegalTrademarks", "")):
            c.check(strings.get(key) == want, "string %s is %r" % (key, want),
                    "got %r" % strings.get(key))
    c.check(pairs == [(0x0404, 1200)], "translation 0x0404 / 1200", repr(pairs))


def main():
    if len(sys.argv) != 2:
        print("usage: check_pe.py PATH_TO_SETUP_EXE", file=sys.stderr)
        return 2
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    print("info: size %d bytes" % os.path.getsize(sys.argv[1]))
    c = Checker()
    try:
        pe = PE(data)
        c.check(True, "PE32 (optional header magic 0x10b)")
        c.check(pe.machine == 0x14C, "machine i386", "0x%x" % pe.machine)
        c.check(pe.subsystem == 2, "subsystem Windows GUI", "%d" % pe.subsystem)
        c.check(pe.subsys_version == (4, 0), "subsystem version 4.0", "%d.%d" % pe.subsys_version)
        c.check(pe.os_version == (4, 0), "OS version 4.0", "%d.%d" % pe.os_version)
        dlls = pe.imports()
        extra = sorted({d for d in dlls if d.lower() not in ALLOWED_DLLS})
        c.check(dlls and not extra, "imports only from %s" % ", ".join(sorted(ALLOWED_DLLS)),
                "imports %s" % ", ".join(dlls))
        res = pe.resources()
        check_icon(c, res)
        check_version(c, res)
    except (BadFile, struct.error, ValueError, IndexError) as e:
        c.check(False, "file parses as PE32", str(e))
    return 1 if c.failed else 0


if __name__ == "__main__":
    sys.exit(main())
