# Part of test-package.sh (sourced, as root): the package installed on this machine as a panel
# gets it, a station and the MES run as the package's users, and an unattended upgrade to a
# package whose mirel.ini changed. Purged at the end; one test run at a time on a machine.
step "install"
exec 9>/run/lock/mirel-package-test.lock
flock 9
if dpkg-query -W -f='${Status}' mirel 2>/dev/null | grep -q 'installed\|config-files'; then
  echo "mirel was installed on this machine: purged first"
  dpkg --purge mirel >/dev/null
fi
users="$(mktemp -d)"
trap 'dpkg --purge mirel >/dev/null 2>&1 || true; rm -rf "$tmp" "$users"' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$deb" </dev/null \
  >"$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log"; exit 1; }

step "access of the installed files"
expect() { # file, "mode owner:group"
  [ "$(stat -c '%a %U:%G' "$1")" = "$2" ] || { echo "$1: $(stat -c '%a %U:%G' "$1"), not $2"; exit 1; }
}
for f in /etc/mirel/*.ini; do expect "$f" "640 root:mirel"; done
expect /var/lib/mirel "2770 mirel:mirel"
expect /var/lib/mirel/mirel.db "660 mirel:mirel"
expect /var/lib/mirel/打印 "2770 mirel:mirel"
id -nG mirel-kiosk | grep -qw mirel || { echo "mirel-kiosk is not in the group mirel"; exit 1; }
if runuser -u nobody -- cat /etc/mirel/config.ini >/dev/null 2>&1; then
  echo "another account reads config.ini"; exit 1
fi

step "a station as mirel-kiosk, the MES run as mirel"
as() { # user, program arguments …
  local user="$1" run="$users/$1"
  shift
  install -d -o "$user" -m 0700 "$run"
  runuser -u "$user" -- env LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen MIREL_NONINTERACTIVE=1 \
    XDG_RUNTIME_DIR="$run" MIREL_LOCK_DIR="$run" MIREL_SCREENSHOT="$run/shot.png" \
    MIREL_SCREENSHOT_DELAY=300 "$@"
}
chmod 0711 "$users"
as mirel-kiosk mirel check
[ -s "$users/mirel-kiosk/shot.png" ] || { echo "the installed station drew nothing"; exit 1; }
if as mirel mirel mesrun 2>"$tmp/mesrun.err"; then
  echo "mesrun without a MES database succeeded"; exit 1
fi
grep -q 'MES_HOST' "$tmp/mesrun.err" || { cat "$tmp/mesrun.err"; exit 1; }
grep -q '^DefaultCreated=' /var/lib/mirel/state/mirel.ini
grep -q '^开始同步时间=' /var/lib/mirel/state/config.ini
# Made by one user of the group, usable by the other.
expect /var/lib/mirel/state/mirel.ini "660 mirel-kiosk:mirel"
expect /var/lib/mirel/state/config.ini "660 mirel:mirel"
dpkg-query -W -f='${Conffiles}\n' mirel | awk 'NF == 2 { print $2 "  " $1 }' | md5sum --quiet -c \
  || { echo "the program changed a conffile"; exit 1; }

step "unattended upgrade with a changed mirel.ini"
# The admin narrowed two files; the upgrade keeps that.
chmod 0600 /etc/mirel/kanban.ini
chmod 0640 /var/lib/mirel/mirel.db
next="$tmp/next"
dpkg-deb -R "$deb" "$next"
echo "; the next version's note" >>"$next/etc/mirel/mirel.ini"
sed -i 's/^Version: .*/&+1/' "$next/DEBIAN/control"
if grep -q ' etc/mirel/mirel.ini$' "$next/DEBIAN/md5sums"; then
  sed -i '\| etc/mirel/mirel.ini$|d' "$next/DEBIAN/md5sums"
  (cd "$next" && md5sum etc/mirel/mirel.ini) >>"$next/DEBIAN/md5sums"
fi
dpkg-deb -b --root-owner-group "$next" "$tmp/next.deb" >/dev/null
dpkg -i "$tmp/next.deb" </dev/null >"$tmp/upgrade.log" 2>&1 || { cat "$tmp/upgrade.log"; exit 1; }
[ "$(dpkg-query -W -f='${db:Status-Abbrev}' mirel)" = "ii " ] || { cat "$tmp/upgrade.log"; exit 1; }
grep -q "next version" /etc/mirel/mirel.ini
expect /etc/mirel/mirel.ini "640 root:mirel"
expect /etc/mirel/kanban.ini "600 root:mirel"
expect /var/lib/mirel/mirel.db "640 mirel:mirel"
dpkg --purge mirel >/dev/null
[ ! -e /etc/mirel ] && [ ! -e /var/lib/mirel ] || { echo "purge left files"; exit 1; }
