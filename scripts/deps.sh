#!/usr/bin/env bash
# Installs the Debian packages mirel needs to build, test and run; prints what it installs.
# Sourced by run.sh and test.sh. Idempotent: installs only what is missing.
set -euo pipefail

MIREL_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libqt6serialport6-dev libgl-dev qt6-charts-dev libqt6charts6 libqt6opengl6-dev
  qt6-httpserver-dev qt6-websockets-dev qt6-multimedia-dev
  libsqlite3-dev sqlite3 unixodbc-dev odbcinst libsqliteodbc tdsodbc
  libzint-dev libxlsxwriter-dev libfreexl-dev liborcus-dev
  libbenchmark-dev
  fonts-wqy-microhei qt6-translations-l10n
  python3 python3-xlwt python3-pil poppler-utils zbar-tools
  xvfb xauth socat chromium
  dpkg-dev lintian systemd
)

mirel_install_deps() {
  local missing=()
  local p
  for p in "${MIREL_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "mirel: installing Debian packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}
