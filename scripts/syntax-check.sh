#!/usr/bin/env bash
# Compiles source files for errors only (no object, no link), with the flags
# CMake gives them in build/compile_commands.json: a quick check of an edit
# without a build. Usage: scripts/syntax-check.sh src/records/frmVisitas.cpp ...
set -euo pipefail
cd "$(dirname "$0")/.."
db=build/compile_commands.json
[ -f "$db" ] || { echo "Falta $db: configure antes con cmake -S . -B build" >&2; exit 2; }
rc=0
for f in "$@"; do
    cmd=$(python3 - "$db" "$(realpath "$f")" <<'PY'
import json, shlex, sys
for e in json.load(open(sys.argv[1])):
    if e["file"] == sys.argv[2]:
        args = shlex.split(e["command"])
        out, skip = [], False
        for a in args:
            if skip:
                skip = False
                continue
            if a == "-o":
                skip = True
                continue
            out.append(a)
        print(shlex.join(out + ["-fsyntax-only"]))
        break
PY
)
    if [ -z "$cmd" ]; then
        echo "$f: no está en $db (¿un fichero nuevo? vuelva a configurar)" >&2
        rc=1
        continue
    fi
    (cd build && eval "$cmd") || rc=1
done
exit $rc
