"""The mutants of a source file, and the equivalents recorded for them."""

import re
import sys
from dataclasses import dataclass

from .cpp_tokens import matching_brackets, static_assert_spans, template_brackets, tokenize
from .settings import (EXCLUDED_FILES, FILE_MODE_SWAPS, FLAG_SWAPS, LOGIC_DIRS, LOGICAL,
                       RELATIONAL)

NON_DECLARATION_WORDS = {
    "return", "break", "continue", "goto", "delete", "throw", "case", "default", "else", "new",
    "sizeof", "co_return", "co_await", "co_yield",
}
CONTROL_WORDS = {"if", "for", "while", "switch"}
INTEGER = re.compile(r"(0[xX])([0-9a-fA-F]+)([uUlL]*)$|([1-9][0-9]*|0)([uUlL]*)$")


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
