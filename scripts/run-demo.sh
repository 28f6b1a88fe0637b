#!/usr/bin/env bash
# Builds Orbalia, lays out a demo installation in demo/ and starts the program on it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
DEMO="${ORBALIA_DEMO_DIR:-$PWD/demo}"
if [ ! -f "$DEMO/Orbalia.db" ]; then
  echo "Creando la instalación de demostración en $DEMO"
  build/orbalia-install "$DEMO" --demo 50
fi
export ORBALIA_HOME="$DEMO"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No hay pantalla gráfica: se arranca Orbalia dentro de Xvfb (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/orbalia
fi
exec build/orbalia
