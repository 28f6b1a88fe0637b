#!/bin/sh
# The layers of src/ may include only what lies below them (or beside them
# where the layering says so). Prints every include that runs the wrong way
# and fails when there is one.
set -u
cd "$(dirname "$0")/../src" || exit 2

# folder: the folders of src/ its files may include (besides its own)
permitidos() {
    case "$1" in
    platform) echo "" ;;
    sqlite) echo "platform" ;;
    shell) echo "platform" ;;
    maintenance) echo "platform shell" ;;
    reports) echo "platform shell" ;;
    search) echo "platform shell maintenance reports" ;;
    webexport) echo "platform shell maintenance" ;;
    exchange) echo "platform shell maintenance" ;;
    portales) echo "platform shell maintenance webexport" ;;
    records) echo "platform shell maintenance reports search" ;;
    install) echo "platform shell maintenance reports" ;;
    updatedb) echo "platform shell" ;;
    copias) echo "platform shell" ;;
    mainwindow) echo "platform shell maintenance records reports search webexport exchange portales" ;;
    app) echo "*" ;;
    *) echo "?" ;;
    esac
}

fallos=0
for carpeta in */; do
    carpeta=${carpeta%/}
    lista=$(permitidos "$carpeta")
    [ "$lista" = "*" ] && continue
    if [ "$lista" = "?" ]; then
        echo "src/$carpeta: carpeta sin lugar en las capas (añádala a scripts/check-includes.sh)"
        fallos=1
        continue
    fi
    # Every quoted include that names a folder of src/.
    grep -rnoE '^#include "[a-z]+/' "$carpeta" | while IFS= read -r linea; do
        destino=${linea##*\"}
        destino=${destino%/}
        [ "$destino" = "$carpeta" ] && continue
        [ -d "$destino" ] || continue
        case " $lista " in
        *" $destino "*) ;;
        *) echo "src/$linea: $carpeta no puede incluir $destino/" ;;
        esac
    done
done | sort >/tmp/check-includes.$$
if [ -s /tmp/check-includes.$$ ]; then
    cat /tmp/check-includes.$$
    fallos=1
fi
rm -f /tmp/check-includes.$$
exit $fallos
