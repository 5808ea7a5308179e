#!/usr/bin/env bash
# Builds the Debian package from an existing build tree and tries it without installing it:
# lintian finds no error, the systemd units verify, and the package's files unpacked into a
# temporary root set up the demo database in the installed layout and draw the inspection station.
set -euo pipefail
build="$(cd "${1:?build folder}" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
unset MIREL_HOME
export LANG=C.UTF-8 LC_ALL=C.UTF-8 # cpack stores the templates' Chinese file names
step() { printf '== %s (%ss)\n' "$1" "$SECONDS"; }

step "cpack"
(cd "$build" && cpack -G DEB -B "$tmp/out" >"$tmp/cpack.log") || { cat "$tmp/cpack.log"; exit 1; }
deb=$(ls "$tmp"/out/mirel_*.deb)
echo "$deb"
dpkg-deb -f "$deb" Package Version Architecture Depends
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || { echo "Depends lacks the Qt libraries"; exit 1; }
dpkg-deb --ctrl-tarfile "$deb" | tar -xOf - ./conffiles | grep -qx '/etc/mirel/mirel.ini' \
  || { echo "the ini files are not conffiles"; exit 1; }

step "lintian"
# Accepted: the programs have no manual pages (their --help and the README describe them).
lintian --fail-on error,warning --suppress-tags no-manual-page "$deb"

step "unpack"
root="$tmp/root"
dpkg-deb -x "$deb" "$root"
for f in config.ini mirel.ini kanban.ini; do
  [ -f "$root/etc/mirel/$f" ] || { echo "missing /etc/mirel/$f"; exit 1; }
done
[ -f "$root/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/mirel/libmirel_xlsx.so" ]
[ -f "$root/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/mirel/libmirel_charts.so" ]

step "systemd-analyze verify"
# The units name the installed programs; here they point into the unpacked root.
mkdir "$tmp/units"
for u in "$root"/lib/systemd/system/*; do
  sed "s|/usr/|$root/usr/|g" "$u" >"$tmp/units/$(basename "$u")"
done
(cd "$tmp/units" && systemd-analyze verify mirel-mesrun.service mirel-mesrun.timer \
  mirel-station@check.service)

step "installed layout"
mkdir -p "$root/var/lib/mirel"
"$root/usr/bin/mirel-sql" --init-demo >/dev/null
[ -s "$root/var/lib/mirel/mirel.db" ] || { echo "the demo database is not in var/lib/mirel"; exit 1; }
[ ! -e "$root/etc/mirel/mirel.db" ] && [ ! -e "$root/usr/bin/mirel.db" ]
"$root/usr/bin/mirel-sql" -e "select count(*) from bill" | tail -n 1 | grep -qv '^0$'
# The SQLite ODBC driver loads the installed SQLite module (left() is one of its functions).
odbc_sqlite=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/odbc/libsqlite3odbc.so
if [ -f "$odbc_sqlite" ]; then
  "$root/usr/bin/mirel-sql" --connection "Driver=$odbc_sqlite;Database=$root/var/lib/mirel/mirel.db" \
    -e "select left(billcode, 2) from bill" | tail -n 1 | grep -q '^SC$'
fi
shot="$tmp/check.png"
LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen MIREL_NONINTERACTIVE=1 MIREL_LOCK_DIR="$tmp" \
  MIREL_SCREENSHOT="$shot" MIREL_SCREENSHOT_DELAY=300 "$root/usr/bin/mirel" check
[ -s "$shot" ] || { echo "no screenshot"; exit 1; }
[ -z "${MIREL_PACKAGE_SHOT:-}" ] || cp "$shot" "$MIREL_PACKAGE_SHOT"
step "done"
