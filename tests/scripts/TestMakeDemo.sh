#!/usr/bin/env bash
# The demo program folder lands where it was asked for, with its database in it, whether the
# folders are given relative to the current folder or absolute; mirel-sql takes a relative
# database file on its own command line as the current folder's.
set -euo pipefail
bin="$MIREL_BIN_DIR"
src="$MIREL_SOURCE_DIR"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

# The demo database has bills; the stations find it through the folder's own config.ini.
check_demo() {
  local folder="$1"
  [ -s "$folder/mirel.db" ] || { fail "no database in $folder"; return; }
  [ -f "$folder/打印/唛头/唛头.grf" ] || [ -n "$(ls "$folder/打印/唛头" 2>/dev/null)" ] ||
    fail "no roll-label templates in $folder"
  local bills
  bills="$("$bin/mirel-sql" --home "$folder" -e "select count(*) as n from bill" | tail -n 1)"
  [ "${bills:-0}" -gt 0 ] || fail "the stations of $folder see no demo bills ($bills)"
  # The simulator's scale sends text: a demo scale left at packed frames shows no weight.
  grep -qx 'chenInputMode=0' "$folder/mirel.ini" || fail "the demo scale of $folder does not read text"
}

mkdir -p "$tmp/elsewhere"
before="$(ls "$bin")"
(cd "$tmp/elsewhere" &&
  "$src/scripts/make-demo.sh" "$(realpath --relative-to=. "$bin/..")" demo-rel) ||
  fail "make-demo.sh with relative folders"
check_demo "$tmp/elsewhere/demo-rel"
(cd / && "$src/scripts/make-demo.sh" "$bin/.." "$tmp/demo-abs") || fail "make-demo.sh with absolute folders"
check_demo "$tmp/demo-abs"
[ "$(ls "$bin")" = "$before" ] || fail "make-demo.sh left files beside the program: $(ls "$bin" | grep -vxF "$before")"

# mirel-sql --connection with a relative file: the current folder's.
(cd "$tmp/elsewhere" &&
  "$bin/mirel-sql" --connection "Provider=SQLite;Data Source=tool.db" --init &&
  "$bin/mirel-sql" --connection "Data Source=sub/../tool.db;Provider=SQLite" -e "select count(*) from bill") \
  >/dev/null || fail "mirel-sql with a relative Data Source"
[ -s "$tmp/elsewhere/tool.db" ] || fail "mirel-sql did not create tool.db in the current folder"
[ ! -e "$bin/tool.db" ] || { rm -f "$bin/tool.db"; fail "mirel-sql created tool.db beside the program"; }

[ "$fails" -eq 0 ] || exit 1
echo "PASS"
