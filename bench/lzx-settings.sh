#!/bin/bash
# LZX search settings side by side on one folder tree: the size each gives and its processor
# time against our MSZIP, which runs before every setting so that both see the same load.
# A setting is a list of lzx_bench variables (LZX_PASSES=2 LZX_WAYS=32 ...); "lazy" is the default.
# Usage: bench/lzx-settings.sh BUILD_DIR DIR SETTING...
set -euo pipefail
bench=$1/bench/lzx_bench; dir=$2; shift 2
field() { echo "$1" | awk -v f="$2" '{print $f}'; }
printf 'machine: %s cores, load %s; %s\n' "$(nproc)" "$(cut -d' ' -f1-3 /proc/loadavg)" "$(date -u '+%Y-%m-%d %H:%M UTC')"
printf '%-48s %10s %8s %7s %10s\n' setting bytes vs-lazy cpu-s cpu/mszip
lazy=
for setting in lazy "$@"; do
  m=$("$bench" "$dir" mszip)
  vars=(); [ "$setting" = lazy ] || read -ra vars <<< "$setting"
  r=$(env "${vars[@]}" "$bench" "$dir" lzx21)
  bytes=$(field "$r" 3); cpu=$(field "$r" 5)
  [ -n "$lazy" ] || lazy=$bytes
  printf '%-48s %10d %8.4f %7.2f %10.2f\n' "$setting" "$bytes" "$(echo "$bytes / $lazy" | bc -l)" "$cpu" \
    "$(echo "$cpu / $(field "$m" 5)" | bc -l)"
done
