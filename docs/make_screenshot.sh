#!/bin/bash
# Writes docs/sample-letter.rtf and the README's screenshot of Velmo showing it, from the real
# window under Xvfb. Usage: docs/make_screenshot.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
letter=docs/sample-letter.rtf
# The program's own icon, as the hexadecimal picture data RTF carries.
picture=$(xxd -p assets/icons/velmo-48.png | tr -d '\n')
cat > "$letter" <<RTF
{\rtf1\ansi\ansicpg1252\deff0
{\fonttbl{\f0\fswiss Arial;}{\f1\froman Times New Roman;}}
{\colortbl;\red0\green0\blue0;\red200\green0\blue0;\red0\green0\blue220;\red0\green128\blue0;}
\pard\qc\f1\fs36\b Garden club: spring order\b0\par
\pard\ql\f0\fs20 Dear members, here is what we ordered for the {\b spring planting}, in {\i three} deliveries. Items marked {\cf2 red} are late; {\cf4 green} ones have arrived. {\ul Please} collect them by {\cf3 Friday}.\par
\trowd\trgaph108\clbrdrt\brdrs\clbrdrl\brdrs\clbrdrb\brdrs\clbrdrr\brdrs\cellx2600\clbrdrt\brdrs\clbrdrl\brdrs\clbrdrb\brdrs\clbrdrr\brdrs\cellx4200
\pard\intbl{\b Plant}\cell{\b Trays}\cell\row
\trowd\trgaph108\clbrdrt\brdrs\clbrdrl\brdrs\clbrdrb\brdrs\clbrdrr\brdrs\cellx2600\clbrdrt\brdrs\clbrdrl\brdrs\clbrdrb\brdrs\clbrdrr\brdrs\cellx4200
\pard\intbl{\cf4 Tomatoes}\cell 12\cell\row
\trowd\trgaph108\clbrdrt\brdrs\clbrdrl\brdrs\clbrdrb\brdrs\clbrdrr\brdrs\cellx2600\clbrdrt\brdrs\clbrdrl\brdrs\clbrdrb\brdrs\clbrdrr\brdrs\cellx4200
\pard\intbl{\cf2 Sweet peas}\cell 4\cell\row
\pard\qr\fs20 {\pict\pngblip\picw48\pich48\picwgoal720\pichgoal720 $picture}\line {\i The committee}\par
}
RTF
tests/gui/screenshot.sh "$build/window/velmo" docs/screenshot-document.png 1 "$PWD/$letter"
echo "wrote $letter and docs/screenshot-document.png"
