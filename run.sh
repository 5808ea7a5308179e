#!/usr/bin/env bash
# Installs what is missing, builds mirel (Release), prepares the demo program folder build/demo/
# and starts the station named by the word (no word: the inspection station). Without a display
# the station is drawn offscreen to a screenshot whose path is printed.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
mirel_install_deps

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIREL_BUILD_TESTS=OFF
cmake --build build --parallel "$(nproc)"

demo="$PWD/build/demo"
scripts/make-demo.sh "$PWD/build" "$demo"

export MIREL_HOME="$demo"
export LANG=${LANG:-C.UTF-8}
word="${*:-}"
# The web view needs no display: it prints the address to open.
if [ "$word" != serve ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  shot="$PWD/build/screenshot-${word:-check}.png"
  # Nobody can answer a message box on a screen that does not exist: it takes its first button.
  export QT_QPA_PLATFORM=offscreen MIREL_SCREENSHOT="$shot" MIREL_NONINTERACTIVE=1
  echo "mirel: no display; drawing the station offscreen to $shot"
fi
exec build/bin/mirel "$@"
