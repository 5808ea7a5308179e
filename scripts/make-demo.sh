#!/usr/bin/env bash
# Prepares a demo program folder: ini files with demo values, the demo database and the label
# templates. Existing files are kept, so settings changed while trying the demo survive a rebuild.
set -euo pipefail
# Both folders may be given relative to the current folder; the tools below get absolute paths,
# since a relative database file means the program folder's to the stations.
src="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$2"
build="$(cd "$1" && pwd)"
demo="$(cd "$2" && pwd)"

for f in "$src"/demo/*.ini; do
  [ -e "$f" ] || continue
  [ -e "$demo/$(basename "$f")" ] || cp "$f" "$demo/"
done
# Label templates go to the folders the stations look in.
for sub in 唛头 箱唛 商品; do
  if [ -d "$src/templates/$sub" ]; then
    mkdir -p "$demo/打印/$sub"
    cp -n "$src/templates/$sub"/* "$demo/打印/$sub/" 2>/dev/null || true
  fi
done
# The demo database, when the tools to build it exist.
if [ -x "$build/bin/mirel-sql" ] && [ -f "$src/schema/demo.sql" ] && [ ! -e "$demo/mirel.db" ]; then
  "$build/bin/mirel-sql" --connection "Provider=SQLite;Data Source=$demo/mirel.db" --init-demo \
    >/dev/null
fi
# Item swatches stored with the demo items, photos in the first item's picture folder and outline
# drawings in 3d, when the demo database is new enough not to have them yet.
if [ -x "$build/bin/mirel-demo-pictures" ] && [ -e "$demo/mirel.db" ] && [ ! -e "$demo/3d" ]; then
  "$build/bin/mirel-demo-pictures" "$demo" >/dev/null
fi
# The demo MES database of the weaving hall, and mirel.ini pointed at it when no MES is set.
if [ -x "$build/bin/mirel-sql" ] && [ -f "$src/schema/mes-demo.sql" ] && [ ! -e "$demo/mes.db" ]; then
  rm -f "$demo/mes.db.new"
  "$build/bin/mirel-sql" --connection "Provider=SQLite;Data Source=$demo/mes.db.new" --init >/dev/null
  "$build/bin/mirel-sql" --connection "Provider=SQLite;Data Source=$demo/mes.db.new" \
    <"$src/schema/mes-demo.sql" >/dev/null
  mv "$demo/mes.db.new" "$demo/mes.db"
fi
if [ -e "$demo/mes.db" ] && [ -f "$demo/mirel.ini" ]; then
  sed -i 's/^MES_HOST=[[:space:]]*$/MES_HOST=mes.db/' "$demo/mirel.ini"
fi
exit 0
