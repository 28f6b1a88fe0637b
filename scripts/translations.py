#!/usr/bin/env python3
"""The interface's translations.

  scripts/translations.py update [ROOT]   lupdate over src/: translations/orbalia_en.ts (every text)
                                          and translations/orbalia_es.ts (the plural forms only)
  scripts/translations.py check [ROOT]    fails (exit 1) when a text has no English translation or
                                          one marked unfinished, or when a user-visible literal in
                                          src/ is not wrapped for translation

The scan is deliberately simple: a string literal with words in it is user-visible unless it is
wrapped (tr, QCoreApplication::translate, QT_TRANSLATE_NOOP...), looks like SQL, an identifier, a
path or a format, or matches translations/no-traducir.txt (one regular expression per line; lines
"file: <regex>" leave out whole files, such as demo data).
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

LUPDATE_CANDIDATES = ["/usr/lib/qt6/bin/lupdate", "lupdate-qt6", "lupdate"]


def lupdate():
    for c in LUPDATE_CANDIDATES:
        path = shutil.which(c) or (c if os.path.isfile(c) else None)
        if path:
            return path
    sys.exit("No se encuentra lupdate (paquete qt6-l10n-tools).")


def run_lupdate(root, ts, extra):
    cmd = [lupdate(), "-silent", "-locations", "none", "-no-obsolete", "-source-language", "es",
           "-extensions", "cpp,h", os.path.join(root, "src"), "-ts", ts] + extra
    subprocess.run(cmd, check=True)


def update(root):
    tr = os.path.join(root, "translations")
    run_lupdate(root, os.path.join(tr, "orbalia_en.ts"), ["-target-language", "en"])
    run_lupdate(root, os.path.join(tr, "orbalia_es.ts"), ["-target-language", "es", "-pluralonly"])


# ----- the .ts files

def untranslated(ts):
    """(context, source) of every message with no finished translation."""
    out = []
    for ctx in ET.parse(ts).getroot().iter("context"):
        name = ctx.findtext("name")
        for m in ctx.iter("message"):
            t = m.find("translation")
            if t is None or t.get("type") == "unfinished":
                out.append((name, m.findtext("source")))
                continue
            forms = [f.text for f in t.iter("numerusform")]
            texts = forms if m.get("numerus") == "yes" else [t.text]
            if not texts or any(not (x or "").strip() for x in texts):
                out.append((name, m.findtext("source")))
    return out


# ----- the literal scan

WRAP = re.compile(r"(\btr|\btranslate|QT_TR_NOOP|QT_TRANSLATE_NOOP|QT_TR_N_NOOP|QT_TRANSLATE_N_NOOP3?|"
                  r"QT_TRANSLATE_NOOP3)\s*\(\s*(\"(?:[^\"\\]|\\.)*\"\s*,\s*)?$")
SQL = re.compile(r"^\s*(select|insert|update|delete|create|drop|alter|pragma|with|begin|commit|rollback|"
                 r"savepoint|release|replace|values|from|where|order by|group by|and|or|set|on|join|left join|"
                 r"inner join|limit|case|when|coalesce|exists|not|union|attach|detach|vacuum|analyze|reindex|"
                 r"explain|grant|revoke|listen|notify|copy|show|truncate|declare|fetch|close|do|lock|"
                 r"returning|having|distinct|as|is|in|like|between|null|count|sum|max|min|cast|"
                 r"primary key|references|foreign key|default|unique|check|constraint|index|table|trigger|"
                 r"function|schema|role|user|database|sequence|extension|language|security|execute|perform|"
                 r"raise|return|if|then|else|end|loop|for|while|new\.|old\.)\b", re.I)
SQL_INSIDE = re.compile(r"(\bselect\b.*\bfrom\b|\bupdate\b.*\bset\b|\binsert into\b|\bdelete from\b|"
                        r"\bwhere\b|\border by\b|\bjoin\b|\b\w+\s*=\s*\?|\?\s*,\s*\?|\bcoalesce\(|"
                        r"\bcreate (table|index|trigger|function)\b)", re.I)
# SQL keywords as SQL writes them (upper case), and alias.column names (p.Cod).
SQL_WORDS = re.compile(r"\b(IS NOT|IS NULL|NOT NULL|NOT DISTINCT|COLLATE|DESC|ASC|IN \(|AND|OR|AS|ON|"
                       r"START TRANSACTION|DISTINCT FROM|NOT IN|CASE WHEN|THEN|ELSE)\b|\b[a-z]{1,2}\.[A-Za-z]\w*\b"
                       r"|\b\w+\(\?")
WORD = re.compile(r"[A-Za-zÁÉÍÓÚÜÑáéíóúüñ]{2,}")


def strip_comments(text):
    """The text with comments blanked (kept at the same length), strings left as they are."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c == '"':
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            out.append(text[i:j + 1])
            i = j + 1
        elif c == "'" and not (i > 0 and text[i - 1].isdigit() and i + 1 < n and text[i + 1].isdigit()):
            # a character literal, blanked: u'"' must not open a string
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append("'" + " " * (j - i - 1) + "'")
            i = j + 1
        elif text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            m = re.match(r'R"([^(]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append(text[i:j])
            i = j
        else:
            out.append(c)
            i += 1
    return "".join(out)


LITERAL = re.compile(r'(?<![A-Za-z0-9_])(?:u8|u|U|L)?"((?:[^"\\\n]|\\.)*)"')


# A call that shows its text argument: a single word there is a caption.
SHOWN = re.compile(r"\b(setText|setWindowTitle|setToolTip|setStatusTip|setWhatsThis|setAccessibleName|"
                   r"setAccessibleDescription|setPlaceholderText|setTitle|addTab|insertTab|setTabText|"
                   r"addAction|addMenu|addItem|addItems|setLabelText|setSuffix|setPrefix|setHeaderLabels|"
                   r"QLabel|QPushButton|QCheckBox|QRadioButton|QGroupBox|QAction|QMenu|showMessage)\s*"
                   r"\((?:[^()]*,)?\s*$")


def visible(s, before=""):
    """Whether a literal's text looks like words a user reads."""
    if not WORD.search(s):
        return False
    if SQL.match(s) or SQL_INSIDE.search(s) or SQL_WORDS.search(s):
        return False
    if re.fullmatch(r"[\w.:/\\%{}\[\]$*+?^|()<>=!,;&#@~-]*", s):  # identifiers, paths, keys, patterns
        # one word: a caption when it has an accelerator, ends like a label or is shown by the call
        return bool(re.search(r"&\w", s) or re.fullmatch(r"[^:/]*\w:", s) or SHOWN.search(before))
    if re.fullmatch(r"\s*<[^>]*>.*", s) and "</" in s or s.startswith("<?xml"):
        return False
    return True


def scan(root, allow_file):
    allow, files = [], []
    if os.path.exists(allow_file):
        for line in open(allow_file, encoding="utf-8"):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith("file: "):
                files.append(re.compile(line[6:]))
            else:
                allow.append(re.compile(line))
    found = []
    src = os.path.join(root, "src")
    for folder, _, names in os.walk(src):
        for name in sorted(names):
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, root)
            if any(f.search(rel) for f in files):
                continue
            text = strip_comments(open(path, encoding="utf-8").read())
            previous_end = -1
            wrapped_run = False
            for m in LITERAL.finditer(text):
                before = text[max(0, m.start() - 300):m.start()]
                # "a" "b": a literal right after another one belongs to the same call
                joined = previous_end >= 0 and not text[previous_end:m.start()].strip()
                wrapped = wrapped_run if joined else bool(WRAP.search(before))
                wrapped_run = wrapped
                previous_end = m.end()
                s = m.group(1)
                if wrapped or not visible(s, before) or any(a.search(s) for a in allow):
                    continue
                line = text.count("\n", 0, m.start()) + 1
                found.append(f"{rel}:{line}: \"{s}\"")
    return found


def check(root):
    failed = False
    with tempfile.TemporaryDirectory() as tmp:
        for lang in ("en", "es"):
            ts = os.path.join(tmp, f"orbalia_{lang}.ts")
            shutil.copy(os.path.join(root, "translations", f"orbalia_{lang}.ts"), ts)
            extra = ["-target-language", lang] + (["-pluralonly"] if lang == "es" else [])
            run_lupdate(root, ts, extra)
            missing = untranslated(ts)
            for ctx, s in missing:
                print(f"orbalia_{lang}.ts: sin traducir en {ctx}: \"{s}\"")
            failed |= bool(missing)
    unwrapped = scan(root, os.path.join(root, "translations", "no-traducir.txt"))
    for u in unwrapped:
        print(f"{u}: texto visible sin envolver para la traducción")
    failed |= bool(unwrapped)
    if failed:
        print("Textos sin traducir: scripts/translations.py update y completar translations/orbalia_en.ts.")
        return 1
    print("Traducciones completas.")
    return 0


def main():
    if len(sys.argv) < 2 or sys.argv[1] not in ("update", "check", "scan"):
        sys.exit(__doc__)
    root = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), ".."))
    if sys.argv[1] == "update":
        update(root)
        return 0
    if sys.argv[1] == "scan":  # only the literals (what a folder still lacks), for working through src/
        for u in scan(root, os.path.join(root, "translations", "no-traducir.txt")):
            print(u)
        return 0
    return check(root)


if __name__ == "__main__":
    sys.exit(main())
