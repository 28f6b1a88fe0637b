#!/usr/bin/env bash
# Builds the program, its installer and database updater and the SQLite
# extension, lays out a demo installation in demo/
# and starts Orbalia on it. Tests and benchmarks are not built here.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "== Comprobando los paquetes necesarios"
scripts/install-deps.sh demo

echo "== Compilando Orbalia, el instalador, el actualizador y la extensión de SQLite (sin pruebas ni medidas de rendimiento)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target orbalia orbalia-install orbalia-updatedb orbalia_sqlite

DEMO="${ORBALIA_DEMO_DIR:-$PWD/demo}"
if [ ! -f "$DEMO/Orbalia.db" ]; then
  echo "== Creando la instalación de demostración en $DEMO"
  build/orbalia-install "$DEMO" --demo 50
else
  echo "== Se usa la instalación de demostración que ya existe en $DEMO"
fi
export ORBALIA_HOME="$DEMO"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "== Arrancando Orbalia (se termina cerrando su ventana)"
  exec build/orbalia
fi

# No display: a virtual one, and a picture of it so that the user sees the
# program came up.
CAPTURA="$DEMO/captura.png"
ESPERA="${ORBALIA_DEMO_ESPERA:-5}"
export CAPTURA ESPERA
echo "== No hay pantalla gráfica: Orbalia se ejecuta dentro de Xvfb, una pantalla virtual que no se ve."
echo "   A los $ESPERA segundos se guarda una captura de la ventana principal en $CAPTURA."
echo "   Para terminar: pulse Ctrl+C en esta terminal."
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  build/orbalia &
  pid=$!
  trap "kill $pid 2>/dev/null" INT TERM
  echo "   Orbalia está en marcha (proceso $pid, pantalla $DISPLAY); también se termina con: kill $pid"
  sleep "$ESPERA"
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "== Orbalia ha terminado antes de la captura."
  elif import -window root "$CAPTURA"; then
    echo "== Captura de la ventana principal guardada en $CAPTURA"
  else
    echo "== No se ha podido guardar la captura en $CAPTURA"
  fi
  wait "$pid"
'
