#!/bin/sh
# Group 4 coding, this library against libtiff, on the same pages in one run.
#   bench/ccitt.sh [BUILD_DIR]     (default build/native; needs its bench/ccitt_tool)
# For each page and each side it runs the file-to-file work as a process: libtiff through
# tiffcp, this library through ccitt_tool. It prints instructions counted by callgrind
# (repeatable on a busy machine) and the median wall time of several runs, both with the
# cost of reading and writing the same files taken off (the "copy" run of each side).
set -eu
BUILD=${1:-build/native}
TOOL=$BUILD/bench/ccitt_tool
RUNS=${RUNS:-15}
for need in tiffcp valgrind "$TOOL"; do
  command -v "$need" >/dev/null 2>&1 || { echo "ccitt.sh: $need is missing" >&2; exit 1; }
done
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
"$TOOL" pages "$WORK"

instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 |
    sed -n 's/.*Collected : *\([0-9]*\).*/\1/p'
}

median_ms() {
  i=0
  while [ $i -lt "$RUNS" ]; do
    start=$(date +%s%N)
    "$@"
    end=$(date +%s%N)
    echo $(( (end - start) / 1000 ))
    i=$((i + 1))
  done | sort -n | awk '{ v[NR] = $1 } END { printf "%.2f", v[int((NR + 1) / 2)] / 1000 }'
}

printf '%-16s %-7s %-8s %14s %10s\n' page side work instructions "ms (median)"
for page in text-1728x2200 text-5100x6600; do
  none=$WORK/$page.tif
  g4=$WORK/$page-g4.tif
  tiffcp -c g4 -r 1000000 "$none" "$g4"
  out=$WORK/out
  for side in libtiff ours; do
    for work in copy encode decode; do
      case $side-$work in
        libtiff-copy) set -- tiffcp -c none -r 1000000 "$none" "$out" ;;
        libtiff-encode) set -- tiffcp -c g4 -r 1000000 "$none" "$out" ;;
        libtiff-decode) set -- tiffcp -c none -r 1000000 "$g4" "$out" ;;
        ours-copy) set -- "$TOOL" copy "$none" "$out" ;;
        ours-encode) set -- "$TOOL" encode "$none" "$out" ;;
        ours-decode) set -- "$TOOL" decode "$g4" "$out" ;;
      esac
      rm -f "$out"
      count=$(instructions "$@")
      ms=$(median_ms "$@")
      if [ "$work" = copy ]; then
        base_count=$count
        base_ms=$ms
        printf '%-16s %-7s %-8s %14s %10s\n' "$page" "$side" "$work" "$count" "$ms"
      else
        printf '%-16s %-7s %-8s %14s %10s   (less copy: %s instructions, %s ms)\n' "$page" "$side" "$work" "$count" "$ms" \
          $((count - base_count)) "$(awk -v a="$ms" -v b="$base_ms" 'BEGIN { printf "%.2f", a - b }')"
      fi
    done
  done
done
