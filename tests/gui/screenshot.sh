#!/bin/bash
# Starts Velmo in a virtual X display and writes a PNG of its main window, showing DOCUMENT if given.
# Usage: tests/gui/screenshot.sh VELMO_BINARY OUT.png [QT_SCALE_FACTOR] [DOCUMENT]
set -euo pipefail
binary=$1 out=$2 scale=${3:-1} document=${4:-}
inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat > "$inner" <<'INNER'
set -eu
QT_SCALE_FACTOR=$3 "$1" ${4:+"$4"} &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  win=$(xdotool search --onlyvisible --name '^Velmo$' 2>/dev/null | head -n 1) && [ -n "$win" ] && break
  sleep 0.1
done
[ -n "${win:-}" ] || { echo "Velmo's window did not appear" >&2; exit 1; }
sleep 0.5
import -window "$win" "$2"
INNER
# A data folder of its own: no recovery copy of the user's is offered over the window.
XDG_DATA_HOME=$(mktemp -d) xvfb-run -a -s "-screen 0 1280x1024x24" bash "$inner" "$binary" "$out" "$scale" "$document"
