#!/usr/bin/env python3
"""Puts files into an NTFS file system image without mounting it (CI may have no FUSE), through
ntfs-3g's own library (Debian's ntfs-3g package holds libntfs-3g): the folders on each file's
path are made as needed.

    ntfs_put.py IMAGE PATH=LOCALFILE ...       PATH with / between names: WINNT/system32/config/SYSTEM
"""
import ctypes
import sys

S_IFDIR, S_IFREG = 0o040000, 0o100000
AT_DATA = 0x80


def main():
    lib = ctypes.CDLL("libntfs-3g.so.89")
    lib.ntfs_mount.restype = ctypes.c_void_p
    lib.ntfs_mount.argtypes = [ctypes.c_char_p, ctypes.c_ulong]
    lib.ntfs_pathname_to_inode.restype = ctypes.c_void_p
    lib.ntfs_pathname_to_inode.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_char_p]
    lib.ntfs_create.restype = ctypes.c_void_p
    lib.ntfs_create.argtypes = [ctypes.c_void_p, ctypes.c_uint32, ctypes.c_char_p, ctypes.c_uint8,
                                ctypes.c_uint32]
    lib.ntfs_attr_open.restype = ctypes.c_void_p
    lib.ntfs_attr_open.argtypes = [ctypes.c_void_p, ctypes.c_uint32, ctypes.c_void_p,
                                   ctypes.c_uint32]
    lib.ntfs_attr_pwrite.restype = ctypes.c_int64
    lib.ntfs_attr_pwrite.argtypes = [ctypes.c_void_p, ctypes.c_int64, ctypes.c_int64,
                                     ctypes.c_char_p]
    lib.ntfs_attr_close.argtypes = [ctypes.c_void_p]
    lib.ntfs_inode_close.argtypes = [ctypes.c_void_p]
    lib.ntfs_umount.argtypes = [ctypes.c_void_p, ctypes.c_int]
    unnamed = ctypes.cast(ctypes.c_void_p.in_dll(lib, "AT_UNNAMED").value
                          if False else ctypes.addressof(ctypes.c_uint16.in_dll(lib, "AT_UNNAMED")),
                          ctypes.c_void_p)
    volume = lib.ntfs_mount(sys.argv[1].encode(), 0)
    if not volume:
        raise SystemExit("ntfs_put.py: cannot open %s as NTFS" % sys.argv[1])
    try:
        for item in sys.argv[2:]:
            path, local = item.split("=", 1)
            names = path.split("/")
            for depth, name in enumerate(names):
                here = "/" + "/".join(names[:depth + 1])
                found = lib.ntfs_pathname_to_inode(volume, None, here.encode())
                if found:
                    if depth + 1 < len(names):
                        lib.ntfs_inode_close(found)
                        continue
                    raise SystemExit("ntfs_put.py: %s is there already" % here)
                parent = lib.ntfs_pathname_to_inode(volume, None,
                                                    ("/" + "/".join(names[:depth])).encode())
                last = depth + 1 == len(names)
                inode = lib.ntfs_create(parent, 0, name.encode("utf-16-le"), len(name),
                                        S_IFREG if last else S_IFDIR)
                lib.ntfs_inode_close(parent)
                if not inode:
                    raise SystemExit("ntfs_put.py: cannot make %s" % here)
                if last:
                    with open(local, "rb") as source:
                        data = source.read()
                    attribute = lib.ntfs_attr_open(inode, AT_DATA, unnamed, 0)
                    if lib.ntfs_attr_pwrite(attribute, 0, len(data), data) != len(data):
                        raise SystemExit("ntfs_put.py: cannot write %s" % here)
                    lib.ntfs_attr_close(attribute)
                lib.ntfs_inode_close(inode)
    finally:
        lib.ntfs_umount(volume, 0)


if __name__ == "__main__":
    main()
