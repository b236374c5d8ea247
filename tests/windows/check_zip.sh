#!/bin/bash
# The Windows ZIP as a person uses it: unpacked on the C: drive of a fresh Wine prefix with nothing
# else on the DLL path, Velmo.exe shows its window "Velmo" on an X display (a screenshot is kept),
# and velmo-rtf.exe reads documents with pictures, metafiles and tables to the Linux build's text.
# Usage: check_zip.sh ZIP OUTDIR LINUX_VELMO_RTF
set -euo pipefail
zip=$(realpath "$1")
out=$(realpath -m "$2")
linux_rtf=$(realpath "$3")
source=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out"
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
wine wineboot --init >/dev/null 2>&1
# The prefix's desktop was made without a display; a window needs one made with it.
wineserver -w
mkdir -p "$WINEPREFIX/drive_c/Velmo"
(cd "$WINEPREFIX/drive_c/Velmo" && cmake -E tar xf "$zip")
top=$(basename "$zip" .zip)
app=$WINEPREFIX/drive_c/Velmo/$top
winapp="C:\\Velmo\\$top"
for file in Velmo.exe velmo-rtf.exe qt.conf Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6PrintSupport.dll \
  platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll imageformats/qjpeg.dll \
  libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll dictionaries/en_US.aff dictionaries/en_US.dic \
  LICENSE.txt; do
  [ -f "$app/$file" ] || fail "the ZIP has no $file"
done

# The window, through the windows platform plugin, on a private X server.
cat >"$out/show-window.sh" <<SCRIPT
#!/bin/bash
wine "$winapp\\Velmo.exe" -platform windows >"$out/velmo.log" 2>&1 &
for _ in \$(seq 120); do
  if xdotool search --onlyvisible --name '^Velmo\$' >/dev/null 2>&1; then
    sleep 2
    import -window root "$out/velmo-window.png"
    xdotool search --onlyvisible --name '^Velmo\$' getwindowname
    wineserver -k
    exit 0
  fi
  sleep 0.5
done
wineserver -k
exit 1
SCRIPT
chmod +x "$out/show-window.sh"
title=$(xvfb-run -a -s "-screen 0 1280x1024x24" "$out/show-window.sh") ||
  fail "no window titled Velmo within a minute; its output: $(cat "$out/velmo.log")"
[ "$title" = "Velmo" ] || fail "the window is titled '$title'"
wineserver -w # the window's Wine is gone before the converter's starts
echo "window: $title; screenshot: $out/velmo-window.png"

# The same documents to text on both systems; the Windows converter reads them from C:.
documents=$WINEPREFIX/drive_c/Documents
mkdir -p "$documents" "$out/linux" "$out/windows"
differ=0
# One server for every run, so none starts while the last one's is leaving; its services start
# here, away from the converter's output.
wineserver -p
wine cmd /c exit >/dev/null 2>&1
for fixture in "$source"/tests/windows/fixtures/*.rtf "$source"/tests/rtf/fixtures/word_shppict.rtf \
  "$source"/tests/rtf/fixtures/pictures/*.rtf "$source"/tests/rtf/fixtures/tables/*.rtf \
  "$source"/tests/rtf/fixtures/fields.rtf "$source"/tests/rtf/fixtures/hyperlinks.rtf; do
  name=$(basename "$(dirname "$fixture")")-$(basename "$fixture" .rtf)
  cp "$fixture" "$documents/$name.rtf"
  QT_QPA_PLATFORM=offscreen "$linux_rtf" to-text "$fixture" "$out/linux/$name.txt"
  wine "$winapp\\velmo-rtf.exe" to-text "C:\\Documents\\$name.rtf" "C:\\Documents\\$name.txt" \
    2>"$out/windows/$name.err" || fail "velmo-rtf.exe could not convert $name: $(cat "$out/windows/$name.err")"
  cp "$documents/$name.txt" "$out/windows/$name.txt"
  rm -f "$out/windows/$name.err"
  if ! cmp -s "$out/linux/$name.txt" "$out/windows/$name.txt"; then
    echo "differs: $name"
    diff "$out/linux/$name.txt" "$out/windows/$name.txt" | head -20 || true
    differ=1
  fi
done
wineserver -k || true
[ "$differ" = 0 ] || fail "velmo-rtf.exe's text differs from the Linux build's"
echo "velmo-rtf.exe: $(ls "$out/windows" | wc -l) documents read to the Linux build's text"
