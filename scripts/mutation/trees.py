"""The private copies of the working tree the mutants are built in."""

import re
import shutil
import subprocess


def tree_files(source):
    """The working tree's files, as git sees them (tracked and untracked, not ignored)."""
    try:
        out = subprocess.run(
            ["git", "-C", str(source), "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
            check=True, capture_output=True,
        ).stdout
        names = sorted({n for n in out.decode().split("\0") if n})
    except (OSError, subprocess.CalledProcessError):
        names = [p.relative_to(source).as_posix() for p in source.rglob("*")
                 if p.is_file() and "build" not in p.relative_to(source).parts[:1]]
    return [n for n in names if (source / n).is_file()]


def sync_tree(source, tree, names):
    """Makes tree a copy of source's files, rewriting only files whose bytes differ."""
    manifest = tree / ".mutate-manifest"
    old = set(manifest.read_text().splitlines()) if manifest.exists() else set()
    for name in names:
        src, dst = source / name, tree / name
        data = src.read_bytes()
        if not dst.is_file() or dst.read_bytes() != data:
            dst.parent.mkdir(parents=True, exist_ok=True)
            dst.write_bytes(data)
            shutil.copymode(src, dst)
    for name in old - set(names):
        (tree / name).unlink(missing_ok=True)
    manifest.write_text("\n".join(names) + "\n")


def prepare_tree(source, work, index, names, launcher):
    tree = work / f"tree-{index}"
    build_dir = tree / "build" / "host"
    tree.mkdir(parents=True, exist_ok=True)
    sync_tree(source, tree, names)
    cache = build_dir / "CMakeCache.txt"
    option = [f"-DCMAKE_CXX_COMPILER_LAUNCHER={launcher}"] if launcher else []
    if not cache.exists():
        subprocess.run(["cmake", "--preset", "host", "-B", str(build_dir)] + option, cwd=tree,
                       check=True, stdout=subprocess.DEVNULL)
        return tree, build_dir
    configured = re.search(r"^CMAKE_CXX_COMPILER_LAUNCHER:\w+=(.*)$", cache.read_text(), re.M)
    if (configured.group(1) if configured else "") != (launcher or ""):
        # ccache was installed or removed since this tree was configured.
        subprocess.run(["cmake", "-B", str(build_dir)] + (option or ["-UCMAKE_CXX_COMPILER_LAUNCHER"]),
                       cwd=tree, check=True, stdout=subprocess.DEVNULL)
    return tree, build_dir
