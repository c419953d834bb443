#!/usr/bin/env python3
"""The README and the docs/ pages say what the code does:
- every `make TARGET` they name is a target of the Makefile;
- every KESTRUNE_* variable the demo reads (getenv; the web page passes its address's
  KESTRUNE_* parameters to the same reads) or a script reads is named in them;
- the README's controls table, together with the developer keys of docs/development.md,
  lists exactly the keys the input callbacks handle, and its author keys those of author
  mode;
- every relative link and picture resolves.
  readme_honest.py SOURCE_DIR"""
import glob
import os
import re
import subprocess
import sys

src = sys.argv[1]
failures = []


def fail(message):
    failures.append(message)
    print("FAIL: " + message)


def read(path):
    with open(os.path.join(src, path), encoding="utf-8") as f:
        return f.read()


pages = ["README.md"] + sorted(
    os.path.relpath(p, src) for p in glob.glob(os.path.join(src, "docs", "*.md")))
texts = {page: read(page) for page in pages}
everything = "\n".join(texts.values())

# make targets: in code spans and code blocks, "make TARGET" (variables after it allowed).
code = []
for page, text in texts.items():
    code += re.findall(r"```[a-z]*\n(.*?)```", text, re.S)
    code += re.findall(r"`([^`\n]+)`", re.sub(r"```.*?```", "", text, flags=re.S))
targets = set()
for snippet in code:
    targets.update(re.findall(r"(?:^|[\s;(&|])make\s+(?:-\S+\s+)*([a-z][a-z0-9-]*)", snippet, re.M))
for target in sorted(targets):
    dry = subprocess.run(["make", "-n", "-C", src, target], capture_output=True, text=True,
                         env=dict(os.environ, DISPLAY=""))
    if "No rule to make target" in dry.stderr:
        fail("the docs name `make %s`, which the Makefile does not have" % target)

# KESTRUNE_* variables read by the code and the scripts.
read_vars = set()
for pattern in ["*/*.cpp", "*/*.h", "*/*/*.cpp", "*/*/*.h"]:
    for path in glob.glob(os.path.join(src, pattern)):
        rel = os.path.relpath(path, src)
        if rel.split(os.sep)[0] in ("tests", "bench", "fuzz", "build", "content"):
            continue
        with open(path, encoding="utf-8", errors="replace") as f:
            read_vars.update(re.findall(r'getenv\(\s*"(KESTRUNE_[A-Z0-9_]+)"', f.read()))
for path in glob.glob(os.path.join(src, "scripts", "*")):
    with open(path, encoding="utf-8", errors="replace") as f:
        read_vars.update(re.findall(r"\$\{?(KESTRUNE_[A-Z0-9_]+)", f.read()))
if "KESTRUNE_FPS" not in read_vars:
    fail("found no getenv(\"KESTRUNE_FPS\"): the variable search no longer works")
for var in sorted(read_vars):
    if not re.search(r"\b%s\b" % var, everything):
        fail("%s is read by the code but named in neither the README nor docs/" % var)

# Keys: what app/input.cpp handles, against the controls tables.
ARROWS = {"left": "Left", "up": "Up", "right": "Right", "down": "Down"}


def handled_keys(source):
    keys = set()
    for label in re.findall(r"case\s+([^:]+?)\s*:", source):
        letter = re.fullmatch(r"'(.)'", label)
        if letter:
            keys.add(letter.group(1))
        elif label in ("27", "'\\033'", "'\\x1b'") or re.search(r"esc", label, re.I):
            keys.add("Escape")
        else:
            arrow = re.search(r"(left|up|right|down)$", label, re.I)
            if arrow:
                keys.add(ARROWS[arrow.group(1).lower()])
            else:
                fail("app/input.cpp handles a key this test cannot name: case %s" % label)
    return keys


def table_keys(text, heading):
    """Keys in the first column of the table under the heading."""
    section = re.search(r"^#+ %s\n(.*?)(?=^#|\Z)" % re.escape(heading), text, re.M | re.S)
    if not section:
        fail("no section \"%s\"" % heading)
        return set()
    keys = set()
    for row in re.findall(r"^\|([^|\n]*)\|", section.group(1), re.M):
        cell = row.strip()
        if not cell or set(cell) <= set("-: ") or cell in ("Input", "Key"):
            continue
        keys.update(re.findall(r"`(.)`", cell))
        keys.update(w for w in ("Escape", "Left", "Up", "Right", "Down") if re.search(r"\b%s\b" % w, cell))
    return keys


handled = handled_keys(read("app/input.cpp"))
users = table_keys(texts["README.md"], "Controls")
# Author mode's keys (app/author.cpp, authorKey) against the README's table of them.
author_source = re.search(r"^bool authorKey\(.*?^}", read("app/author.cpp"), re.M | re.S)
if not author_source:
    fail("app/author.cpp has no authorKey")
author_handled = handled_keys(author_source.group(0)) if author_source else set()
author_listed = table_keys(texts["README.md"], "Author keys")
for key in sorted(author_handled - author_listed):
    fail("author mode handles the key %s, which the README's author keys do not list" % key)
for key in sorted(author_listed - author_handled):
    fail("the README's author keys list %s, which author mode does not handle" % key)
for key in sorted(author_handled & handled):
    fail("the key %s is both an author key and one of the show's" % key)
developers = table_keys(texts.get(os.path.join("docs", "development.md"), ""), "Keys for developers")
for key in sorted(handled - users - developers):
    fail("the demo handles the key %s, which no controls table lists" % key)
for key in sorted((users | developers) - handled):
    fail("a controls table lists the key %s, which the demo does not handle" % key)
for key in sorted(users & developers):
    fail("the key %s is in both the README's controls and the developer keys" % key)

# Relative links and pictures.
for page, text in texts.items():
    for target in re.findall(r"\]\(([^)\s]+)\)", text):
        if re.match(r"[a-z]+:", target) or target.startswith("#"):
            continue
        path = os.path.normpath(os.path.join(src, os.path.dirname(page), target.split("#")[0]))
        if not os.path.exists(path):
            fail("%s links to %s, which does not exist" % (page, target))

print("%s: %d make targets, %d variables, keys %s, author keys %s, %d pages" % (
    "FAILED" if failures else "PASS", len(targets), len(read_vars), " ".join(sorted(handled)),
    " ".join(sorted(author_handled)), len(pages)))
sys.exit(1 if failures else 0)
