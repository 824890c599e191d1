"""C++ text as tokens, with the brackets that match."""

import re
from dataclasses import dataclass

PUNCTUATORS = sorted(
    "<<= >>= ... ->* <=> :: -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= .* "
    "{ } [ ] ( ) ; : , . ? ~ ! + - * / % ^ & | = < > #".split(),
    key=len,
    reverse=True,
)
STRING_PREFIXES = ("u8", "u", "U", "L")
PP_NUMBER = re.compile(r"\.?[0-9](?:[eEpP][+-]|['\w.])*")


@dataclass
class Token:
    kind: str  # ident, number, string, char, punct
    text: str
    start: int
    end: int
    line: int


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
