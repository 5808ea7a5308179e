# Part of test-package.sh (sourced, as root): the package installed on this machine as a panel
# gets it, a station and the MES run as its users, an unattended upgrade to a package whose
# mirel.ini changed; purged at the end. One run at a time on a machine.
step "install"
exec 9>/run/lock/mirel-package-test.lock && flock 9
if dpkg-query -W -f='${Status}' mirel 2>/dev/null | grep -q 'installed\|config-files'; then
  echo "mirel was installed on this machine: purged first" && dpkg --purge mirel >/dev/null
fi
users="$(mktemp -d)" && chmod 0711 "$users"
trap 'dpkg --purge mirel >/dev/null 2>&1 || true; rm -rf "$tmp" "$users"' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$deb" </dev/null \
  >"$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log"; exit 1; }
fail() { echo "$1"; cat "$tmp/log" 2>/dev/null; exit 1; }
expect() { # file, "mode owner:group"
  [ "$(stat -c '%a %U:%G' "$1")" = "$2" ] || fail "$1: $(stat -c '%a %U:%G' "$1"), not $2"
}
for f in /etc/mirel/*.ini; do expect "$f" "640 root:mirel"; done
expect /var/lib/mirel "2770 mirel:mirel"
expect /var/lib/mirel/mirel.db "660 mirel:mirel"
expect /var/lib/mirel/打印 "2770 mirel:mirel"
id -nG mirel-kiosk | grep -qw mirel || fail "mirel-kiosk is not in the group mirel"
! runuser -u nobody -- cat /etc/mirel/config.ini >/dev/null 2>&1 || fail "nobody reads config.ini"

step "a station as mirel-kiosk, the MES run as mirel"
as() { # user, program arguments …
  install -d -o "$1" -m 0700 "$users/$1"
  runuser -u "$1" -- env LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen MIREL_NONINTERACTIVE=1 \
    XDG_RUNTIME_DIR="$users/$1" MIREL_LOCK_DIR="$users/$1" MIREL_SCREENSHOT="$users/$1/shot.png" \
    MIREL_SCREENSHOT_DELAY=300 "${@:2}"
}
as mirel-kiosk mirel check && [ -s "$users/mirel-kiosk/shot.png" ] || fail "no installed station"
! as mirel mirel mesrun 2>"$tmp/log" && grep -q MES_HOST "$tmp/log" || fail "mesrun without MES"
grep -q '^DefaultCreated=' /var/lib/mirel/state/mirel.ini
grep -q '^开始同步时间=' /var/lib/mirel/state/config.ini
expect /var/lib/mirel/state/mirel.ini "660 mirel-kiosk:mirel" # made by one user, for the group
expect /var/lib/mirel/state/config.ini "660 mirel:mirel"
dpkg-query -W -f='${Conffiles}\n' mirel | awk 'NF == 2 { print $2 "  " $1 }' | md5sum --quiet -c \
  || fail "the program changed a conffile"

step "unattended upgrade with a changed mirel.ini"
chmod 0600 /etc/mirel/kanban.ini && chmod 0640 /var/lib/mirel/mirel.db # narrowed by the admin
dpkg-deb -R "$deb" "$tmp/next"
echo "; the next version's note" >>"$tmp/next/etc/mirel/mirel.ini"
sed -i 's/^Version: .*/&+1/' "$tmp/next/DEBIAN/control"
sed -i '\| etc/mirel/mirel.ini$|d' "$tmp/next/DEBIAN/md5sums"
dpkg-deb -b --root-owner-group "$tmp/next" "$tmp/next.deb" >/dev/null
dpkg -i "$tmp/next.deb" </dev/null >"$tmp/log" 2>&1 || fail "the upgrade stopped"
[ "$(dpkg-query -W -f='${db:Status-Abbrev}' mirel)" = "ii " ] || fail "the upgrade did not end"
grep -q "next version" /etc/mirel/mirel.ini
expect /etc/mirel/mirel.ini "640 root:mirel"
expect /etc/mirel/kanban.ini "600 root:mirel"
expect /var/lib/mirel/mirel.db "640 mirel:mirel"
dpkg --purge mirel >/dev/null
[ ! -e /etc/mirel ] && [ ! -e /var/lib/mirel ] || fail "purge left files"
