#!/usr/bin/env python3
"""Finds classes, structs, unions and enums defined more than once in the same namespace.

Two definitions of one name in one namespace break the one-definition rule when they reach the
same program: the linker keeps one copy of each inline member and the program silently runs the
other definition's code. Every C++ file under the folders given is scanned; definitions in
unnamed namespaces and inside functions belong to their own file and are not compared.

usage: check_unique_classes.py [--skip FOLDER]... FOLDER...
Exit status 1 and a list when a name is defined twice.
"""
import os
import re
import sys
from collections import defaultdict

EXTENSIONS = (".h", ".hpp", ".cpp", ".cc", ".cxx")
KEYWORDS = {"class", "struct", "union", "enum"}
TOKEN = re.compile(r"[A-Za-z_]\w*|::|\S")


def strip(text):
    """The source without comments, string and character literals and preprocessor lines, with
    line numbers kept."""
    out = []
    i, n = 0, len(text)
    at_line_start = True
    while i < n:
        c = text[i]
        if at_line_start and c == "#":
            # A directive, with its continuation lines.
            while i < n and text[i] != "\n":
                if text[i] == "\\" and i + 1 < n and text[i + 1] == "\n":
                    out.append("\n")
                    i += 2
                    continue
                i += 1
            continue
        if c == "\n":
            at_line_start = True
            out.append(c)
            i += 1
            continue
        if not c.isspace():
            at_line_start = False
        if text.startswith("//", i):
            while i < n and text[i] != "\n":
                i += 1
            continue
        if text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append("\n" * text.count("\n", i, end))
            i = end
            continue
        m = re.match(r'R"([^()\\ ]{0,16})\(', text[i:i + 20])
        if m and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            end = text.find(")" + m.group(1) + '"', i)
            end = n if end < 0 else end + len(m.group(1)) + 2
            out.append(' "" ' + "\n" * text.count("\n", i, end))
            i = end
            continue
        if c in "\"'":
            # A digit separator (1'000) is not a character literal.
            if c == "'" and i > 0 and text[i - 1].isalnum():
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(' "" ')
            i = j + 1
            continue
        out.append(c)
        i += 1
    return "".join(out)


def tokens(text):
    line = 1
    pos = 0
    for m in TOKEN.finditer(text):
        line += text.count("\n", pos, m.start())
        pos = m.start()
        yield m.group(0), line


def definitions(path):
    """(scope, name, line) for every class-like definition outside functions and unnamed
    namespaces."""
    with open(path, encoding="utf-8", errors="replace") as f:
        toks = list(tokens(strip(f.read())))
    found = []
    # Per open brace, the scopes it opened: ("ns", name), ("anon", None), ("class", name) or
    # ("block", None) for function bodies and everything else.
    stack = []
    pending = None  # what the next "{" opens
    i = 0
    while i < len(toks):
        t, line = toks[i]
        if t == "namespace":
            j = i + 1
            names = []
            while j < len(toks) and toks[j][0] not in ("{", ";", "="):
                if toks[j][0] != "::" and toks[j][0] != "inline":
                    names.append(toks[j][0])
                j += 1
            if j < len(toks) and toks[j][0] == "{":
                pending = [("ns", n) for n in names] or [("anon", None)]
                i = j
                continue
            i = j + 1  # a namespace alias or "using namespace"
            continue
        if t in KEYWORDS and not (t != "enum" and i > 0 and toks[i - 1][0] == "enum"):
            j = i + 1
            if t == "enum" and j < len(toks) and toks[j][0] in ("class", "struct"):
                j += 1
            # Attributes such as alignas(...) or [[...]] before the name.
            while j < len(toks) and toks[j][0] in ("[", "alignas"):
                depth = 0
                while j < len(toks):
                    if toks[j][0] in "[(":
                        depth += 1
                    elif toks[j][0] in "])":
                        depth -= 1
                        if depth == 0:
                            j += 1
                            break
                    j += 1
                if j < len(toks) and toks[j][0] == "]":
                    j += 1
            name = []
            while j < len(toks) and (re.match(r"[A-Za-z_]", toks[j][0]) or toks[j][0] == "::"):
                if toks[j][0] == "final":
                    break
                name.append(toks[j][0])
                j += 1
            if name and j < len(toks) and toks[j][0] == "<":
                # A specialisation: its arguments are part of what is defined.
                depth = 0
                while j < len(toks):
                    name.append(toks[j][0])
                    if toks[j][0] == "<":
                        depth += 1
                    elif toks[j][0] == ">":
                        depth -= 1
                        if depth == 0:
                            j += 1
                            break
                    j += 1
            if j < len(toks) and toks[j][0] == "final":
                j += 1
            if j < len(toks) and toks[j][0] == ":":
                # Bases or an enum's underlying type, up to the body.
                depth = 0
                while j < len(toks) and not (depth == 0 and toks[j][0] in ("{", ";")):
                    if toks[j][0] in "<(":
                        depth += 1
                    elif toks[j][0] in ">)":
                        depth -= 1
                    j += 1
            if name and j < len(toks) and toks[j][0] == "{":
                qualified = "".join(name)
                open_scopes = [scope for opened in stack for scope in opened]
                if not any(kind in ("anon", "block") for kind, _ in open_scopes):
                    scope = "::".join(n for _, n in open_scopes)
                    found.append((scope, qualified, line))
                pending = [("class", qualified)]
                i = j
                continue
            i += 1
            continue
        if t == "{":
            # One brace may open several scopes ("namespace a::b {"); they close together.
            stack.append(pending or [("block", None)])
            pending = None
            i += 1
            continue
        if t == "}":
            if stack:
                stack.pop()
            i += 1
            continue
        if t == ";":
            pending = None
        i += 1
    return found


def scan(folders, skipped):
    skipped = {os.path.realpath(s) for s in skipped}
    seen = defaultdict(list)
    for folder in folders:
        for root, dirs, files in os.walk(folder):
            dirs[:] = sorted(d for d in dirs
                             if os.path.realpath(os.path.join(root, d)) not in skipped)
            for name in sorted(files):
                if not name.endswith(EXTENSIONS):
                    continue
                path = os.path.join(root, name)
                for scope, cls, line in definitions(path):
                    key = (scope + "::" + cls) if scope else cls
                    seen[key].append(f"{path}:{line}")
    return {k: v for k, v in seen.items() if len(v) > 1}


def main(argv):
    folders, skipped = [], []
    args = iter(argv[1:])
    for arg in args:
        if arg == "--skip":
            skipped.append(next(args, ""))
        else:
            folders.append(arg)
    if not folders:
        print("\n".join(__doc__.strip().splitlines()[-2:]), file=sys.stderr)
        return 2
    twice = scan(folders, skipped)
    for key in sorted(twice):
        print(f"{key} is defined more than once:")
        for where in twice[key]:
            print(f"    {where}")
    print(f"found {len(twice)} names defined more than once in one namespace")
    return 1 if twice else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
