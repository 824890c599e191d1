#!/usr/bin/env python3
"""Mutation testing of the launcher's logic: one small change at a time, host unit tests rebuilt and run.

Each mutant changes one operator, constant or statement in app/, device/, install/, osinfo/ or
platform/ (the Win32 forwarding and other Windows-only files excepted). The script copies the
working tree into private trees under the work directory (default build/mutate), one per job,
builds the `unit_tests` target there incrementally and runs it; the working tree itself is never
written. A mutant is killed when the tests fail or time out, and "did not compile" when the build
fails. Mutants listed in scripts/mutation_equivalents.txt are known to behave like the original
and are not run (--check-equivalents runs only them). At the end it prints every survivor and
the score. When ccache is installed, every compilation goes through it.

    scripts/mutate.py [--jobs N] [--files PATH ...] [--list] [--build-dir DIR] [--report FILE]
"""

import argparse
import os
import queue
import re
import shutil
import signal
import subprocess
import sys
import threading
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
LOGIC_DIRS = ("app", "device", "install", "osinfo", "platform")
# The seam's declaration holds no logic: its only constants are the Win32 record layout, which a
# static_assert pins, so every mutant of it fails to compile and costs a full rebuild.
EXCLUDED_FILES = {"platform/os_api.h"}
DEFAULT_EQUIVALENTS = "scripts/mutation_equivalents.txt"
TARGET = "unit_tests"

RELATIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
LOGICAL = {"&&": "||", "||": "&&"}
# Each access right or flag beside its Win32 neighbour; literals stand for values the launcher
# has no name for (MB_OKCANCEL 1, MB_ICONHAND 0x10, SW_SHOWNORMAL 1).
FLAG_SWAPS = {
    "KEY_READ": ["KEY_ALL_ACCESS"],
    "KEY_ALL_ACCESS": ["KEY_READ"],
    "MB_OK": ["MB_ICONEXCLAMATION", "0x00000001u"],
    "MB_ICONEXCLAMATION": ["MB_OK", "0x00000010u"],
    "SW_HIDE": ["1u"],
}
# The runtime's file mode: text mode turns CR LF into LF and stops at Ctrl-Z; "r+b" needs write
# access, which a driver disk does not give.
FILE_MODE_SWAPS = {'"rb"': ['"r"', '"r+b"']}

PUNCTUATORS = sorted(
    "<<= >>= ... ->* <=> :: -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= .* "
    "{ } [ ] ( ) ; : , . ? ~ ! + - * / % ^ & | = < > #".split(),
    key=len,
    reverse=True,
)
STRING_PREFIXES = ("u8", "u", "U", "L")
NON_DECLARATION_WORDS = {
    "return", "break", "continue", "goto", "delete", "throw", "case", "default", "else", "new",
    "sizeof", "co_return", "co_await", "co_yield",
}
CONTROL_WORDS = {"if", "for", "while", "switch"}
PP_NUMBER = re.compile(r"\.?[0-9](?:[eEpP][+-]|['\w.])*")
INTEGER = re.compile(r"(0[xX])([0-9a-fA-F]+)([uUlL]*)$|([1-9][0-9]*|0)([uUlL]*)$")


@dataclass
class Token:
    kind: str  # ident, number, string, char, punct
    text: str
    start: int
    end: int
    line: int


@dataclass
class Mutant:
    file: str
    line: int
    start: int
    end: int
    replacement: str
    operator: str
    scope: str = "-"  # the enclosing function's declarator ("-" outside functions), "#n" if repeated
    before: str = ""
    after: str = ""

    def key(self):
        return (self.file, self.scope, self.before, self.after)

    def describe(self):
        return f"{self.file}:{self.line}: {self.before} ==> {self.after}    (in {self.scope})"

    def entry(self):
        """The mutant as a line of the equivalents file, without its reason."""
        return f"{self.file} | {self.scope} | {self.before} ==> {self.after}"


def tokenize(text):
    """C++ tokens of text, without comments and preprocessor lines."""
    tokens = []
    i, n, line, line_start = 0, len(text), 1, True
    while i < n:
        c = text[i]
        if c == "\n":
            i, line, line_start = i + 1, line + 1, True
            continue
        if c in " \t\r\f\v":
            i += 1
            continue
        if text.startswith("\\\n", i):
            i, line = i + 2, line + 1
            continue
        if text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
            continue
        if text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            line += text.count("\n", i, j)
            i = j
            continue
        if c == "#" and line_start:
            while i < n and text[i] != "\n":
                if text.startswith("\\\n", i):
                    i, line = i + 2, line + 1
                else:
                    i += 1
            continue
        line_start = False
        start = i
        if c.isalpha() or c == "_":
            while i < n and (text[i].isalnum() or text[i] == "_"):
                i += 1
            word = text[start:i]
            if i < n and text[i] == '"' and word in ("R", "u8R", "uR", "UR", "LR"):
                close = text.index("(", i)
                delimiter = text[i + 1 : close]
                i = text.index(")" + delimiter + '"', close) + len(delimiter) + 2
                tokens.append(Token("string", text[start:i], start, i, line))
                line += text.count("\n", start, i)
                continue
            if i < n and text[i] in "\"'" and word in STRING_PREFIXES:
                i = _skip_quoted(text, i)
                tokens.append(Token("string" if text[start + len(word)] == '"' else "char",
                                    text[start:i], start, i, line))
                continue
            tokens.append(Token("ident", word, start, i, line))
            continue
        if c.isdigit() or (c == "." and i + 1 < n and text[i + 1].isdigit()):
            i = PP_NUMBER.match(text, i).end()
            tokens.append(Token("number", text[start:i], start, i, line))
            continue
        if c in "\"'":
            i = _skip_quoted(text, i)
            tokens.append(Token("string" if c == '"' else "char", text[start:i], start, i, line))
            continue
        for p in PUNCTUATORS:
            if text.startswith(p, i):
                i += len(p)
                break
        else:
            i += 1
        tokens.append(Token("punct", text[start:i], start, i, line))
    return tokens


def _skip_quoted(text, i):
    quote, i = text[i], i + 1
    while i < len(text) and text[i] != quote and text[i] != "\n":
        i += 2 if text[i] == "\\" else 1
    return i + 1


def matching_brackets(tokens):
    match, stack = {}, []
    for k, t in enumerate(tokens):
        if t.kind != "punct":
            continue
        if t.text in "([{":
            stack.append(k)
        elif t.text in ")]}" and stack:
            o = stack.pop()
            match[o], match[k] = k, o
    return match


def template_brackets(tokens):
    """Indices of < and > that enclose template arguments (static_cast<int> and the like)."""
    marks = set()
    for k, t in enumerate(tokens):
        if t.text != "<" or k == 0 or tokens[k - 1].kind != "ident":
            continue
        for j in range(k + 1, min(k + 12, len(tokens))):
            u = tokens[j]
            if u.text == ">":
                marks.update((k, j))
                break
            if not (u.kind in ("ident", "number") or u.text in ("::", "*", "&", ",")):
                break
    return marks


def static_assert_spans(tokens, match):
    skip = set()
    for k, t in enumerate(tokens):
        if t.text == "static_assert" and k + 1 < len(tokens) and k + 1 in match:
            skip.update(range(k, match[k + 1] + 1))
    return skip


def integer_neighbours(literal):
    m = INTEGER.match(literal)
    if not m:
        return []  # floating point, octal, binary or digit separators: left alone
    if m.group(1):
        digits, suffix = m.group(2), m.group(3)
        value, width = int(digits, 16), len(digits)
        letters = [ch for ch in digits if ch.isalpha()]
        upper = not letters or letters[0].isupper()
        out = []
        for v in (value + 1, value - 1):
            if v < 0:
                continue
            text = format(v, "0%d%s" % (width, "X" if upper else "x"))
            out.append(m.group(1) + text + suffix)
        return out
    value, suffix = int(m.group(4)), m.group(5)
    return [str(v) + suffix for v in (value + 1, value - 1) if v >= 0]


def is_declaration(stmt):
    """Whether the statement's tokens declare a variable (type, then a name)."""
    k = 0
    while k < len(stmt) and stmt[k].text in ("const", "static", "constexpr", "volatile", "unsigned", "signed"):
        k += 1
    if k >= len(stmt) or stmt[k].kind != "ident" or stmt[k].text in NON_DECLARATION_WORDS:
        return False
    k += 1
    while k + 1 < len(stmt) and stmt[k].text == "::" and stmt[k + 1].kind == "ident":
        k += 2
    if k < len(stmt) and stmt[k].text == "<":
        depth = 0
        while k < len(stmt):
            depth += {"<": 1, ">": -1, ">>": -2}.get(stmt[k].text, 0)
            k += 1
            if depth <= 0:
                break
    while k < len(stmt) and stmt[k].text in ("*", "&", "const"):
        k += 1
    return k + 1 < len(stmt) and stmt[k].kind == "ident" and stmt[k + 1].text in ("=", "(", "[", ";", "{", ",")


def function_header(text, tokens, match, brace):
    """The declarator of the function whose body opens at brace: "CString::Find(char ch, int start)"."""
    k = brace - 1
    while k >= 0 and tokens[k].text in ("const", "override", "final", "noexcept"):
        k -= 1
    while k >= 0 and tokens[k].text == ")" and k in match:
        close, j = k, match[k] - 1
        operator = next((i for i in range(j, max(j - 6, -1), -1) if tokens[i].text == "operator"), None)
        if operator is not None and all(t.text not in (";", "{", "}", ")") for t in tokens[operator:j + 1]):
            j = operator
        elif j >= 1 and tokens[j - 1].text == "~":
            j -= 1
        while j >= 2 and tokens[j - 1].text == "::" and tokens[j - 2].kind == "ident":
            j -= 2
        if j >= 1 and tokens[j - 1].text in (",", ":"):  # a member initializer: go on to the declarator
            k = j - 2
            continue
        return " ".join(text[tokens[j].start : tokens[close].end].split())
    return ""


def code_blocks(text, tokens, match):
    """(first, last) token indices of the simple statements inside function bodies, and the
    functions' bodies as (open brace, close brace, header)."""
    out, functions = [], []
    contexts = []  # per open brace: (is_code, bracket_depth)
    depth = 0  # open ( and [
    stmt_start = None
    header_ends = set()
    k = 0
    while k < len(tokens):
        t = tokens[k]
        in_code = bool(contexts) and contexts[-1][0] and contexts[-1][1] == depth
        if in_code and stmt_start == k:
            if t.text in CONTROL_WORDS and k + 1 < len(tokens) and tokens[k + 1].text in ("(", "constexpr"):
                paren = k + 1 if tokens[k + 1].text == "(" else k + 2
                if paren in match:
                    header_ends.add(match[paren])
            elif t.text in ("case", "default"):
                j = k + 1
                while j < len(tokens) and tokens[j].text != ":":
                    j += 1
                stmt_start = j + 1
                k = j + 1
                continue
            elif t.text in ("else", "do"):
                stmt_start = k + 1
        if t.kind == "punct" and t.text in ("(", "["):
            depth += 1
        elif t.kind == "punct" and t.text in (")", "]"):
            depth -= 1
            if k in header_ends:
                stmt_start = k + 1
        elif t.text == "{":
            prev = tokens[k - 1].text if k else ""
            code_here = bool(contexts) and contexts[-1][0] and contexts[-1][1] == depth
            is_code = prev in (")", "else", "do", "const", "override", "final", "noexcept", "try") or (
                code_here and stmt_start == k
            )
            if prev in ("=", ",", "(", "return") or (prev == "{" and not code_here):
                is_code = False
            if is_code and not any(c[0] for c in contexts) and k in match:
                functions.append((k, match[k], function_header(text, tokens, match, k)))
            contexts.append((is_code, depth))
            stmt_start = k + 1
        elif t.text == "}":
            if contexts:
                contexts.pop()
            stmt_start = k + 1
        elif t.text == ";" and in_code:
            if stmt_start is not None and stmt_start < k:
                stmt = tokens[stmt_start:k + 1]
                first = stmt[0].text
                if first not in CONTROL_WORDS | {"do", "else", "{", "case", "default"} and not is_declaration(stmt):
                    out.append((stmt_start, k))
            stmt_start = k + 1
        k += 1
    return out, functions


def find_mutants(rel, text):
    tokens = tokenize(text)
    match = matching_brackets(tokens)
    templates = template_brackets(tokens)
    frozen = static_assert_spans(tokens, match)
    found = []

    def add(first, last, replacement, operator):
        found.append(Mutant(rel, tokens[first].line, tokens[first].start, tokens[last].end, replacement, operator))

    for k, t in enumerate(tokens):
        if k in frozen or (k and tokens[k - 1].text == "operator"):
            continue
        nxt = tokens[k + 1].text if k + 1 < len(tokens) else ""
        if t.kind == "punct":
            if t.text in RELATIONAL and k not in templates:
                add(k, k, RELATIONAL[t.text], "relational")
            elif t.text in LOGICAL:
                add(k, k, LOGICAL[t.text], "logical")
            elif t.text == "!":
                add(k, k, "", "negation dropped")
        elif t.kind == "number":
            pure = nxt == ";" and k >= 2 and tokens[k - 1].text == "=" and tokens[k - 2].text in (")", "const", "override", "noexcept")
            if not pure:
                for v in integer_neighbours(t.text):
                    add(k, k, v, "constant")
        elif t.kind == "ident" and t.text in FLAG_SWAPS and nxt != "=":
            for v in FLAG_SWAPS[t.text]:
                add(k, k, v, "flag")
        elif t.kind == "string" and t.text in FILE_MODE_SWAPS:
            for v in FILE_MODE_SWAPS[t.text]:
                add(k, k, v, "file mode")
    statements, functions = code_blocks(text, tokens, match)
    for first, last in statements:
        if not frozen.intersection(range(first, last + 1)):
            add(first, last, "{}", "statement deleted")

    # The key of a mutant: its function, and the lines it touches (comments at their ends left
    # out) before and after.
    for m in found:
        m.scope = next((h for o, c, h in functions if tokens[o].start < m.start < tokens[c].end), "") or "-"
        line_begin = text.rfind("\n", 0, m.start) + 1
        line_end = text.find("\n", m.end)
        line_end = len(text) if line_end < 0 else line_end
        line_end = max(t.end for t in tokens if line_begin <= t.start < line_end)
        m.before = " ".join(text[line_begin:line_end].split())
        m.after = " ".join((text[line_begin:m.start] + m.replacement + text[m.end:line_end]).split())
    found.sort(key=lambda m: (m.start, m.end, m.replacement))
    # Identical lines in one function (two "break;") are told apart by their order there.
    seen = {}
    for m in found:
        seen.setdefault(m.key(), []).append(m)
    for same in seen.values():
        if len(same) > 1:
            for n, m in enumerate(same, 1):
                m.scope += f" #{n}"
    return found


def logic_files(source):
    files = []
    for d in LOGIC_DIRS:
        for p in sorted((source / d).glob("*")):
            if p.suffix not in (".cpp", ".h") or not p.is_file():
                continue
            rel = p.relative_to(source).as_posix()
            text = p.read_text(encoding="latin-1")
            # Windows-only sources (the Win32 forwarding, WinMain) do not build on the host.
            if rel in EXCLUDED_FILES or re.search(r"^\s*#\s*include\s*<windows\.h>", text, re.M | re.I):
                continue
            files.append(rel)
    return files


def read_equivalents(path):
    """{(file, scope, before, after): reason} from lines "file | scope | before ==> after | reason"."""
    entries = {}
    if not path.exists():
        return entries
    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        try:
            file, scope, rest = line.split(" | ", 2)
            change, reason = rest.rsplit(" | ", 1)
            before, after = change.split(" ==> ", 1)
        except ValueError:
            sys.exit(f"{path}:{number}: expected 'file | function | before ==> after | reason'")
        if not reason.strip():
            sys.exit(f"{path}:{number}: an equivalent mutant needs its reason")
        key = (file.strip(), scope.strip(), " ".join(before.split()), " ".join(after.split()))
        entries[key] = reason.strip()
    return entries


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


class Runner:
    """Shared state of one run: the mutants still to run, the results and what is mutated now."""

    def __init__(self, args, mutants):
        self.args = args
        self.todo = queue.Queue()
        for m in mutants:
            self.todo.put(m)
        self.total = len(mutants)
        self.results = []
        self.lock = threading.Lock()
        self.stop = threading.Event()
        self.mutated = {}  # path -> original bytes, while a mutant is on disk
        self.children = set()
        self.started = time.monotonic()

    def run_child(self, cmd, cwd, timeout):
        """(exit status or None on timeout, output) of cmd in its own process group."""
        proc = subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                start_new_session=True)
        with self.lock:
            self.children.add(proc)
        try:
            out, _ = proc.communicate(timeout=timeout)
            return proc.returncode, out.decode(errors="replace")
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.communicate()
            return None, ""
        finally:
            with self.lock:
                self.children.discard(proc)

    def kill_children(self):
        with self.lock:
            for proc in self.children:
                try:
                    os.killpg(proc.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass

    def restore_all(self):
        with self.lock:
            for path, data in list(self.mutated.items()):
                path.write_bytes(data)
                del self.mutated[path]


class Worker(threading.Thread):
    def __init__(self, runner, index, tree, build_dir, parallel):
        super().__init__(daemon=True)
        self.runner, self.index, self.tree, self.build_dir = runner, index, tree, build_dir
        self.parallel = parallel
        self.last_build_end = 0.0
        self.error = None

    def build(self):
        cmd = ["cmake", "--build", str(self.build_dir), "--target", TARGET, "--parallel", str(self.parallel)]
        status, out = self.runner.run_child(cmd, self.tree, 1800)
        self.last_build_end = time.time()
        return status == 0, out

    def test(self, timeout):
        cmd = [str(self.build_dir / TARGET), "--gtest_fail_fast", "--gtest_brief=1"]
        return self.runner.run_child(cmd, self.build_dir, timeout)

    def write(self, path, data):
        # A file rewritten within the file system's clock tick of the last build could look older
        # than the object built from the previous text; wait that tick out.
        wait = self.last_build_end + 0.02 - time.time()
        if wait > 0:
            time.sleep(wait)
        path.write_bytes(data)

    def run_mutant(self, m):
        path = self.tree / m.file
        original = path.read_bytes()
        mutated = original[: m.start] + m.replacement.encode("latin-1") + original[m.end :]
        with self.runner.lock:
            self.runner.mutated[path] = original
        began = time.monotonic()
        try:
            self.write(path, mutated)
            built, _ = self.build()
            if not built:
                outcome = "did not compile"
            else:
                status, _ = self.test(self.runner.args.timeout)
                outcome = "timed out" if status is None else ("killed" if status != 0 else "survived")
        finally:
            with self.runner.lock:
                if path in self.runner.mutated:
                    self.write(path, original)
                    del self.runner.mutated[path]
        return outcome, time.monotonic() - began

    def run(self):
        r = self.runner
        try:
            while not r.stop.is_set():
                try:
                    m = r.todo.get_nowait()
                except queue.Empty:
                    return
                outcome, seconds = self.run_mutant(m)
                if r.stop.is_set():
                    return  # the run was cut short; this result may come from a killed child
                with r.lock:
                    r.results.append((m, outcome))
                    done = len(r.results)
                    elapsed = int(time.monotonic() - r.started)
                    print(f"[{done:4}/{r.total} {elapsed // 60:3}:{elapsed % 60:02}] {outcome:15} "
                          f"{seconds:5.1f}s  {m.describe()}", flush=True)
        except Exception as e:  # reported by the main thread; the finally above restored the file
            self.error = e
            r.stop.set()


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


def parse_args():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--list", action="store_true", help="only list the mutants")
    p.add_argument("--files", nargs="+", metavar="PATH", help="mutate only these files (paths from the repository root)")
    p.add_argument("--jobs", type=int, default=1, help="mutants run at once, each in its own tree and build (default 1)")
    p.add_argument("--build-dir", default="build/mutate", help="where the private trees and their builds live (default build/mutate)")
    p.add_argument("--equivalents", default=DEFAULT_EQUIVALENTS, help=f"equivalent mutants (default {DEFAULT_EQUIVALENTS})")
    p.add_argument("--timeout", type=float, help="seconds one test run may take (default: 10 s plus 10 times the unmutated run)")
    p.add_argument("--report", metavar="FILE", help="also write the survivors and the score to FILE")
    p.add_argument("--check-equivalents", action="store_true",
                   help="run only the recorded equivalents; any that a test kills is listed")
    return p.parse_args()


def main():
    args = parse_args()
    started = time.monotonic()
    source = ROOT
    files = logic_files(source)
    if args.files:
        wanted = [Path(os.path.relpath(Path(f).resolve(), source)).as_posix() if Path(f).is_absolute()
                  else Path(os.path.normpath(f)).as_posix() for f in args.files]
        unknown = [f for f in wanted if f not in files]
        if unknown:
            sys.exit(f"not among the mutated files: {', '.join(unknown)} (known: {', '.join(files)})")
        files = wanted
    equivalents = read_equivalents(source / args.equivalents)

    mutants, excluded, used = [], [], set()
    for rel in files:
        for m in find_mutants(rel, (source / rel).read_text(encoding="latin-1")):
            if m.key() in equivalents:
                excluded.append(m)
                used.add(m.key())
            else:
                mutants.append(m)

    stale = [k for k in equivalents if k not in used and k[0] in files]
    if args.check_equivalents:
        mutants, excluded = excluded, []
    if args.list:
        for m in mutants:
            print(f"{m.operator:17} {m.describe()}")
        for m in excluded:
            print(f"{'equivalent':17} {m.describe()}: {equivalents[m.key()]}")
        for k in stale:
            print(f"{'stale equivalent':17} {k[0]} | {k[1]} | {k[2]} ==> {k[3]}")
        print(f"{len(mutants)} mutants to run, {len(excluded)} equivalents in {len(files)} files")
        return 0

    work = (source / args.build_dir).resolve()
    names = tree_files(source)
    jobs = max(1, args.jobs)
    parallel = max(1, (os.cpu_count() or 1) // jobs)
    runner = Runner(args, mutants)
    workers = []
    # With ccache, putting a file back costs no compilation, and a rerun compiles only the
    # mutants of files that changed since.
    launcher = shutil.which("ccache")
    if launcher:
        # One cache for all the trees: paths below the work directory are hashed relative to it.
        os.environ.update(CCACHE_DIR=str(work / "ccache"), CCACHE_BASEDIR=str(work), CCACHE_NOHASHDIR="1")

    def interrupted(signum, _frame):
        raise KeyboardInterrupt(signal.Signals(signum).name)

    # Installed even where the shell started the script with Ctrl-C ignored (a background job).
    signal.signal(signal.SIGINT, interrupted)
    signal.signal(signal.SIGTERM, interrupted)
    if signal.getsignal(signal.SIGHUP) is not signal.SIG_IGN:
        signal.signal(signal.SIGHUP, interrupted)
    try:
        print(f"Preparing {jobs} private tree(s) under {work}{' (with ccache)' if launcher else ''} ...",
              flush=True)
        baseline = 0.0
        for index in range(jobs):
            tree, build_dir = prepare_tree(source, work, index, names, launcher)
            w = Worker(runner, index, tree, build_dir, parallel)
            built, out = w.build()
            if not built:
                sys.exit(f"the unmutated tree does not build:\n{out[-3000:]}")
            t0 = time.monotonic()
            status, out = w.test(600)
            if status != 0:
                sys.exit(f"the unit tests fail without any mutation:\n{out[-3000:]}")
            baseline = max(baseline, time.monotonic() - t0)
            workers.append(w)
        if args.timeout is None:
            args.timeout = 10 + 10 * baseline
        print(f"Unmutated: tests pass in {baseline:.2f}s; timeout per run {args.timeout:.0f}s. "
              f"{len(mutants)} mutants in {len(files)} files, {len(excluded)} equivalents skipped, "
              f"{jobs} job(s).", flush=True)
        for w in workers:
            w.start()
        while any(w.is_alive() for w in workers):
            for w in workers:
                w.join(0.2)
        errors = [w.error for w in workers if w.error]
        if errors:
            raise errors[0]
    except KeyboardInterrupt as e:
        runner.stop.set()
        runner.kill_children()
        for w in workers:
            w.join(10)
        runner.restore_all()
        print(f"\nInterrupted ({e or 'SIGINT'}) after {len(runner.results)} of {runner.total} mutants; "
              f"every mutated file is restored.", file=sys.stderr)
        return 130
    finally:
        runner.stop.set()
        runner.kill_children()
        runner.restore_all()

    if args.check_equivalents:
        lines = ["", "Recorded as equivalent, yet killed (a wrong entry, or a test stricter than Windows):"]
        lines += [f"  {m.describe()}    [{o}]" for m, o in runner.results if o != "survived"] or ["  none"]
    else:
        lines = summary(runner.results, excluded, stale, time.monotonic() - started)
    print("\n".join(lines))
    if args.report:
        Path(args.report).write_text("\n".join(lines) + "\n")
    return 0


def summary(results, excluded, stale, seconds):
    order = {}
    results = sorted(results, key=lambda r: (r[0].file, r[0].start, r[0].replacement))
    for m, outcome in results:
        order.setdefault(outcome, []).append(m)
    survivors = order.get("survived", [])
    killed = len(order.get("killed", [])) + len(order.get("timed out", []))
    compiling = killed + len(survivors)
    lines = ["", f"Survivors ({len(survivors)}):"]
    lines += [f"  {m.describe()}    [{m.operator}]" for m in survivors] or ["  none"]
    if stale:
        lines += ["", "Equivalents that match no mutant any more (remove or update them):"]
        lines += [f"  {k[0]} | {k[1]} | {k[2]} ==> {k[3]}" for k in stale]
    score = 100.0 * killed / compiling if compiling else 100.0
    lines += [
        "",
        f"Score: {killed} of {compiling} compiling mutants killed ({score:.1f}%), "
        f"{len(order.get('timed out', []))} of them by timeout; "
        f"{len(excluded)} equivalents excluded; {len(order.get('did not compile', []))} did not compile.",
        f"Total time: {int(seconds) // 60} min {int(seconds) % 60} s.",
    ]
    return lines


if __name__ == "__main__":
    sys.exit(main())
