#!/usr/bin/env python3
"""The untranslated-text check catches what it is there for: on a copy of the
sources it fails on a new literal left unwrapped, on a wrapped text with no
English, and on an English marked unfinished; and passes on the copy untouched."""

import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "../.."))
failures = []


def check(tree):
    p = subprocess.run([sys.executable, os.path.join(tree, "scripts", "translations.py"), "check", tree],
                       capture_output=True, text=True)
    return p.returncode, p.stdout + p.stderr


def copy():
    tree = tempfile.mkdtemp(prefix="traducciones-")
    for d in ("src", "translations", "scripts"):
        shutil.copytree(os.path.join(ROOT, d), os.path.join(tree, d))
    return tree


def expect(name, ok, detail=""):
    if not ok:
        failures.append(f"{name}: {detail}")
    print(("ok   " if ok else "FAIL ") + name)


TARGET = os.path.join("src", "records", "frmVisitas.cpp")

# Untouched: passes.
tree = copy()
rc, out = check(tree)
expect("the sources as they are pass", rc == 0, out[-2000:])

# A new message box text, not wrapped.
with open(os.path.join(tree, TARGET), "a", encoding="utf-8") as f:
    f.write('\nstatic const auto kNuevo = QStringLiteral("La visita se ha guardado sin el cliente.");\n')
rc, out = check(tree)
expect("an unwrapped literal fails", rc == 1 and "La visita se ha guardado sin el cliente." in out, out[-2000:])
shutil.rmtree(tree)

# Wrapped, but no English for it.
tree = copy()
with open(os.path.join(tree, TARGET), "a", encoding="utf-8") as f:
    f.write('\nstatic const char* kNuevo = QT_TRANSLATE_NOOP("Prueba", "Un texto nuevo para el usuario");\n')
rc, out = check(tree)
expect("a wrapped text without English fails", rc == 1 and "Un texto nuevo para el usuario" in out, out[-2000:])
shutil.rmtree(tree)

# An English translation marked unfinished.
tree = copy()
ts = os.path.join(tree, "translations", "orbalia_en.ts")
text = open(ts, encoding="utf-8").read()
marked, n = re.subn(r"<translation>", '<translation type="unfinished">', text, count=1)
open(ts, "w", encoding="utf-8").write(marked)
rc, out = check(tree)
expect("an unfinished English fails", n == 1 and rc == 1 and "sin traducir" in out, out[-2000:])
shutil.rmtree(tree)

if failures:
    print("\n".join(failures))
    sys.exit(1)
