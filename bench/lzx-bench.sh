#!/bin/bash
# LZX level 21 cabinets of the cabinet writer against its MSZIP, gcab's MSZIP and wimlib's
# LZX (LZX:100, 2 MB chunks) on the reference payload, in one run: sizes and packing times
# as ratios. Goal: LZX 21 at most 0.92 x wimlib's output and at least 25 % smaller than gcab's,
# in no more than twice the time of our MSZIP.
# Usage: bench/lzx-bench.sh [BUILD_DIR] [CORPUS_MB]     (defaults: build, 96)
set -euo pipefail
source "$(dirname "$0")/corpus-common.sh"
input=$(stat -c %s "${files[@]}" | paste -sd+ | bc)
# Runs a command; sets wall and cpu (user + system seconds, all threads) from bash's time.
measure() {
  local t; t=$( { TIMEFORMAT='%R %U %S'; time "$@" >/dev/null; } 2>&1 | tail -1)
  read -r wall u s <<< "$t"; cpu=$(echo "$u + $s" | bc -l); }

measure "$bench" mszip "$work/mszip.cab" "$work/list.txt"; mszip_wall=$wall; mszip_cpu=$cpu
measure "$bench" lzx "$work/lzx.cab" "$work/list.txt"; lzx_wall=$wall; lzx_cpu=$cpu
measure gcab -c -z "$work/gcab.cab" "${files[@]}"; gcab_wall=$wall; gcab_cpu=$cpu
measure wimcapture --compress=LZX:100 --chunk-size=2M . "$work/wim.wim"; wim_wall=$wall; wim_cpu=$cpu
cabextract -q -t "$work/lzx.cab" >/dev/null || { echo "the LZX cabinet does not test clean" >&2; exit 1; }
size() { stat -c %s "$work/$1"; }
lzx_size=$(size lzx.cab); mszip_size=$(size mszip.cab); gcab_size=$(size gcab.cab); wim_size=$(size wim.wim)

printf 'corpus: %d files, %d bytes\n' "${#files[@]}" "$input"
printf '%-16s %12s %8s %10s %8s %8s\n' tool bytes of-input lzx/this wall-s cpu-s
row() { printf '%-16s %12d %8.4f %10.4f %8.2f %8.2f\n' "$1" "$2" "$(echo "$2 / $input" | bc -l)" \
  "$(echo "$lzx_size / $2" | bc -l)" "$3" "$4"; }
row ours-lzx21 "$lzx_size" "$lzx_wall" "$lzx_cpu"
row ours-mszip "$mszip_size" "$mszip_wall" "$mszip_cpu"
row gcab-z "$gcab_size" "$gcab_wall" "$gcab_cpu"
row wimlib-lzx100 "$wim_size" "$wim_wall" "$wim_cpu"
ratio() { echo "$1 / $2" | bc -l; }
printf 'lzx21 size / wimlib: %.4f (goal <= 0.92)   lzx21 size / gcab: %.4f (goal <= 0.75)\n' \
  "$(ratio "$lzx_size" "$wim_size")" "$(ratio "$lzx_size" "$gcab_size")"
printf 'lzx21 time / our mszip: wall %.2f, cpu %.2f (goal <= 2)\n' \
  "$(ratio "$lzx_wall" "$mszip_wall")" "$(ratio "$lzx_cpu" "$mszip_cpu")"
