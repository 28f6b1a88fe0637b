#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Orbalia need.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config git clang-format
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libqt6svg6 qt6-image-formats-plugins
  libgl-dev libsqlite3-dev libmariadb-dev libpq-dev
  adwaita-icon-theme fonts-dejavu-core
  xvfb xauth imagemagick poppler-utils
  desktop-file-utils appstream xdg-utils
  rsync mariadb-server postgresql sqlite3
)

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
