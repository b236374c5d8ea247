#!/bin/bash
# Builds the Debian package from a built tree, unpacks it into a scratch root (no root install)
# and checks what a desktop user gets: program, converter, icons, menu entry, RTF association,
# licence, software-centre metadata (both validated), dependencies, and that the unpacked program
# shows its window under Xvfb.
# Usage: packaging/check_package.sh BUILD_DIR SCRATCH_DIR [WITH_CONVERTER=1|0]
set -euo pipefail
build=$1 scratch=$2 with_converter=${3:-1}
rm -rf "$scratch"
mkdir -p "$scratch/out" "$scratch/root"
fail() { echo "FAIL: $*" >&2; exit 1; }

programs=velmo
if [ "$with_converter" = 1 ]; then programs="velmo velmo-rtf"; fi
cmake --build "$build" --target $programs >"$scratch/build.log" 2>&1 \
  || { cat "$scratch/build.log" >&2; fail "the programs did not build"; }
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
  || { cat "$scratch/cpack.log" >&2; fail "cpack did not build the package"; }
deb=$(ls "$scratch"/out/velmo_*_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no velmo_VERSION_ARCH.deb in $scratch/out"
echo "package: $(basename "$deb")"
[[ $(basename "$deb") == velmo_0.5.0.6_* ]] || fail "package is not version 0.5.0.6"

dpkg-deb -x "$deb" "$scratch/root"
root=$scratch/root/usr
expect() { [ -e "$root/$1" ] || fail "package lacks /usr/$1"; }
expect bin/velmo
[ -x "$root/bin/velmo" ] || fail "/usr/bin/velmo is not executable"
if [ "$with_converter" = 1 ]; then expect bin/velmo-rtf; fi
for size in 16 32 48 128 256; do expect "share/icons/hicolor/${size}x${size}/apps/velmo.png"; done
expect share/applications/velmo.desktop
expect share/mime/packages/velmo.xml
expect share/metainfo/org.velmo.Velmo.metainfo.xml
expect share/doc/velmo/copyright

desktop=$root/share/applications/velmo.desktop
grep -qx 'Exec=velmo %f' "$desktop" || fail ".desktop does not start velmo"
grep -qx 'Icon=velmo' "$desktop" || fail ".desktop names no icon"
grep -qx 'MimeType=application/rtf;text/rtf;' "$desktop" || fail ".desktop is not associated with RTF"
for tool in desktop-file-validate appstreamcli; do
  command -v $tool >/dev/null || fail "$tool is missing: run .ci/install-deps"
done
desktop-file-validate "$desktop" || fail ".desktop does not validate"
grep -q '<glob pattern="\*.rtf"/>' "$root/share/mime/packages/velmo.xml" || fail "MIME entry lacks *.rtf"

metainfo=$root/share/metainfo/org.velmo.Velmo.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "the AppStream metainfo does not validate"
grep -q '<release version="0.5.0.6"' "$metainfo" || fail "metainfo lacks release 0.5.0.6"
grep -q '<launchable type="desktop-id">velmo.desktop</launchable>' "$metainfo" || fail "metainfo does not launch velmo.desktop"
grep -q '<mediatype>application/rtf</mediatype>' "$metainfo" || fail "metainfo provides no RTF type"

copyright=$root/share/doc/velmo/copyright
head -n 1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  || fail "copyright is not in the machine-readable format"
grep -qx 'License: GPL-2+' "$copyright" || fail "copyright names no GPL-2+ licence"
[ "$(stat -c %a "$copyright")" = 644 ] || fail "copyright is not world-readable"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib"
done
[[ $(dpkg-deb -f "$deb" Recommends) == *hunspell-en-us* ]] || fail "Recommends lacks hunspell-en-us"

# The unpacked program must start from its new place and show its window.
# The program under test gets its own platform, whatever the caller runs with.
QT_QPA_PLATFORM=xcb XDG_DATA_DIRS=$root/share:/usr/share timeout 60 xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$1" & pid=$!
  trap "kill $pid 2>/dev/null" EXIT
  for _ in $(seq 200); do
    xdotool search --onlyvisible --name "^Velmo\$" >/dev/null 2>&1 && exit 0
    kill -0 $pid 2>/dev/null || { echo "the installed velmo ended before showing its window" >&2; exit 1; }
    sleep 0.05
  done
  echo "the installed velmo showed no window" >&2; exit 1' _ "$root/bin/velmo" \
  || fail "installed program did not start"
echo "package OK"
