#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Orbalia
# need; with "demo", only those that building and running it need.
set -euo pipefail

# Building and running the program (what scripts/run-demo.sh needs).
PACKAGES=(
  build-essential cmake pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libqt6svg6 qt6-image-formats-plugins
  qt6-tools-dev qt6-l10n-tools
  libgl-dev libsqlite3-dev libmariadb-dev libpq-dev libxml2-dev
  adwaita-icon-theme fonts-dejavu-core
  xvfb xauth imagemagick sqlite3
)
# The tests also start MariaDB and PostgreSQL servers and an rsync daemon, read PDF files
# and validate the desktop files; "demo" leaves them out. orbalia-backup on a server seat
# runs pg_dump and pg_restore, which must not be older than the server (15).
if [ "${1:-}" != "demo" ]; then
  PACKAGES+=(clang-format poppler-utils desktop-file-utils appstream xdg-utils binutils rsync mariadb-server
    python3-icalendar
    postgresql postgresql-client-15)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Instalando paquetes: ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
