#!/bin/bash
# Compares the cabinet writer's MSZIP with gcab's on the reference payload: output size
# and packing time as ratios (ours / gcab's), with gzip -6 of a tar as a further yardstick.
# Usage: bench/cab-bench.sh [BUILD_DIR] [CORPUS_MB]     (defaults: build, 96)
set -euo pipefail
source "$(dirname "$0")/corpus-common.sh"
# Runs a command; sets wall and cpu (user + system seconds) from bash's time.
measure() {
  local t; t=$( { TIMEFORMAT='%R %U %S'; time "$@" >/dev/null; } 2>&1 | tail -1)
  read -r wall u s <<< "$t"; cpu=$(echo "$u + $s" | bc -l); }

read -r ours_size ours_wall ours_cpu < <("$bench" mszip "$work/ours.cab" "$work/list.txt")
measure gcab -c -z "$work/gcab.cab" "${files[@]}"; gcab_wall=$wall; gcab_cpu=$cpu
gcab_size=$(stat -c %s "$work/gcab.cab")
measure bash -c 'tar -cf - "$@" | gzip -6 > "$0"' "$work/corpus.tar.gz" "${files[@]}"
gzip_wall=$wall; gzip_cpu=$cpu; gzip_size=$(stat -c %s "$work/corpus.tar.gz")
cabextract -q -t "$work/ours.cab" >/dev/null || { echo "our cabinet does not test clean" >&2; exit 1; }
input=$(stat -c %s "${files[@]}" | paste -sd+ | bc)

printf 'corpus: %d files, %d bytes\n' "${#files[@]}" "$input"
printf '%-12s %12s %9s %8s %8s\n' tool bytes ratio wall-s cpu-s
row() { printf '%-12s %12d %9.4f %8.2f %8.2f\n' "$1" "$2" "$(echo "$2 / $input" | bc -l)" "$3" "$4"; }
row ours-mszip "$ours_size" "$ours_wall" "$ours_cpu"
row gcab-z "$gcab_size" "$gcab_wall" "$gcab_cpu"
row tar+gzip-6 "$gzip_size" "$gzip_wall" "$gzip_cpu"
printf 'ours/gcab: size %.4f, wall time %.3f, cpu time %.3f;  size ours/gzip-6: %.4f\n' \
  "$(echo "$ours_size / $gcab_size" | bc -l)" "$(echo "$ours_wall / $gcab_wall" | bc -l)" \
  "$(echo "$ours_cpu / $gcab_cpu" | bc -l)" "$(echo "$ours_size / $gzip_size" | bc -l)"
