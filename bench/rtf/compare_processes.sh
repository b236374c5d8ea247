#!/bin/sh
# Whole-process comparison of text conversion of the generated 1,000-page
# document: velmo-rtf against abiword and unrtf (and LibreOffice when present).
# usage: compare_processes.sh BUILD_DIR [RUNS]
set -eu
build=${1:?usage: compare_processes.sh BUILD_DIR [RUNS]}
runs=${2:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/rtf/rtf_bench_documents" "$work" >/dev/null 2>&1
input="$work/pages-1000.rtf"
export QT_QPA_PLATFORM=offscreen

# Median wall time in seconds of RUNS runs of a command.
median() {
  for i in $(seq "$runs"); do
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    echo "$end - $start" | bc
  done | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'
}

velmo=$(median "$build/rtf/cli/velmo-rtf" to-text "$input" "$work/velmo.txt")
printf '%-28s %8.2f s\n' "velmo-rtf to-text" "$velmo"
if command -v abiword >/dev/null; then
  abiword=$(median abiword --to=txt --to-name="$work/abiword.txt" "$input")
  printf '%-28s %8.2f s   velmo is %.1f times faster\n' "abiword --to=txt" "$abiword" "$(echo "$abiword / $velmo" | bc -l)"
fi
if command -v unrtf >/dev/null; then
  # unrtf writes the document's pictures into the current folder.
  unrtf=$(cd "$work" && median sh -c "unrtf --text '$input' > '$work/unrtf.txt'")
  printf '%-28s %8.2f s   velmo is %.1f times faster\n' "unrtf --text" "$unrtf" "$(echo "$unrtf / $velmo" | bc -l)"
fi
if command -v soffice >/dev/null; then
  office=$(median soffice -env:UserInstallation=file://$work/profile --headless --convert-to txt --outdir "$work/lo" "$input")
  printf '%-28s %8.2f s   velmo is %.1f times faster\n' "soffice --convert-to txt" "$office" "$(echo "$office / $velmo" | bc -l)"
fi
