#!/bin/bash
# Our MSZIP cabinet against gcab's on one folder tree, counting executed instructions under
# callgrind (all threads together) instead of timing: on a shared machine the count does not
# depend on the load. Prints sizes, instruction counts and the ratios ours / gcab's.
# Callgrind runs some 50 times slower than the program: use a subset of the reference
# payload (about 10 MB takes a few minutes).
# Usage: bench/mszip-instructions.sh DIR [BUILD_DIR]     (BUILD_DIR default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$(cd "$1" && pwd)
build=$(cd "${2:-$here/build}" && pwd)
bench=$build/bench/cab_bench
[ -x "$bench" ] || { echo "build the cab_bench target first (ninja -C $build cab_bench)" >&2; exit 2; }
command -v valgrind >/dev/null || { echo "valgrind is not installed (scripts/setup installs it)" >&2; exit 2; }
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
cd "$dir"
find . -type f -printf '%P\n' | sort > "$work/list.txt"
mapfile -t files < "$work/list.txt"

instructions() {  # command...: prints the instructions executed
  valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" "$@" 2>&1 >/dev/null |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
ours_ir=$(instructions "$bench" mszip "$work/ours.cab" "$work/list.txt")
gcab_ir=$(instructions gcab -c -z "$work/gcab.cab" "${files[@]}")
cabextract -q -t "$work/ours.cab" >/dev/null || { echo "our cabinet does not test clean" >&2; exit 1; }
ours_size=$(stat -c %s "$work/ours.cab"); gcab_size=$(stat -c %s "$work/gcab.cab")

printf 'folder: %s, %d files, %d bytes\n' "$dir" "${#files[@]}" "$(cat "${files[@]}" | wc -c)"
printf '%-10s %12s %16s\n' tool bytes instructions
printf '%-10s %12d %16d\n' ours "$ours_size" "$ours_ir" gcab "$gcab_size" "$gcab_ir"
printf 'ours/gcab: size %.4f, instructions %.3f\n' \
  "$(echo "$ours_size / $gcab_size" | bc -l)" "$(echo "$ours_ir / $gcab_ir" | bc -l)"
