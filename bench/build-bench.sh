#!/usr/bin/env bash
# Whole builds of three payloads as projects, with compression None, Normal and Maximal,
# against what a user compares with, and the fixed size every setup carries. One run prints
# every figure and every ratio with its goal:
#   - the stubs and the example project's setup (a few KB of payload, uninstaller included);
#   - the reference payload (../shared/bench/make-corpus.sh) against `cp -r` (warm cache),
#     gcab (MSZIP), wimlib's LZX (level 100, 2 MB chunks) and makensis (zlib, lzma; solid);
#   - 20,000 files of 1-4 KB of high-entropy text (bench/make-small-files.py): the cost per
#     file against gcab and `cp -r`, and Maximal against Normal where matches rarely pay;
#   - one big file (default 1 GB, made from the reference payload repeated): streaming, time
#     per MB and peak memory, which must not grow with the payload.
# Times are wall-clock seconds of a possibly shared machine: compare within one run. Each
# timed ratio takes the least of BVQ_BENCH_RUNS runs (default 3) of both sides, since a
# shared machine only ever makes a run slower; wimlib and makensis (sizes only) and the
# big file's Normal and Maximal builds (time per MB only) run once.
#
# Usage: bench/build-bench.sh [BUILD_DIR] [CORPUS_MB] [BIG_MB]   (defaults: build, 96, 1024)
# BVQ_CORPUS_DIR names a reference payload made before, used instead of making one.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
mb=${2:-96}
big_mb=${3:-1024}
runs=${BVQ_BENCH_RUNS:-3}
program="$build/belvandorithquessal"
corpus_script=${BVQ_CORPUS_SCRIPT:-/work/shared/bench/make-corpus.sh}
[ -x "$program" ] || { echo "no program at $program (build first)"; exit 1; }

work=$(mktemp -d /tmp/bvq-build-bench-XXXXXX)
trap '[ -n "${BVQ_KEEP_BENCH:-}" ] || rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp" LC_ALL=C
mkdir -p "$TMPDIR" "$work/examples"
cp -r examples/Example "$work/examples/"

echo "machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.1f GB", $2 / 1048576}' /proc/meminfo), load $(cut -d' ' -f1-3 /proc/loadavg); $(date -u '+%Y-%m-%d %H:%M UTC')"

# The project: the example project's settings; with a payload folder, every file of it
# replaces the example's files.
"$program" --export-text examples/Example.bvq > "$work/example.txt"
make_project() {  # payload folder ("" for the example's own files), compression index, output setup
  /usr/bin/python3 - "$work/example.txt" "$1" "$2" "$3" "$work/project.txt" <<'PY'
import os, sys
src, payload, compression, out, dest = sys.argv[1:]
raw = open(src, 'rb').read()
sep = b'\r\n' if b'\r\n' in raw else b'\n'
lines = raw.split(sep)
controls = lines.index(b'[CONTROLS]')
lines[controls + 38] = compression.encode()      # slot 38: compression
lines[controls + 25] = out.encode()              # slot 25: setup file
if payload:
    mark = lines.index(b'[LIST_COUNT_DATA_LIST_SIZE]')
    counts = [int(x) for x in lines[mark + 1:mark + 12]]
    columns = [int(x) for x in lines[mark - 11:mark]]
    blocks, at = [], mark + 12
    for n, cols in zip(counts, columns):
        blocks.append(lines[at:at + n * cols]); at += n * cols
    files = sorted(os.path.join(d, f) for d, _, fs in os.walk(payload) for f in fs)
    blocks[2] = []
    for f in files:
        rel = os.path.relpath(f, payload).replace('/', '\\')
        blocks[2] += [f.encode(), b'%InstallPath%\\' + rel.encode(), b'Replace', b'Yes']
    counts[2] = len(files)
    header = lines.index(b'[HEADER]')
    lines[header + 4] = str(128 + sum(counts)).encode()
    lines = lines[:mark + 1] + [str(c).encode() for c in counts] + sum(blocks, []) + lines[at:]
open(dest, 'wb').write(sep.join(lines))
PY
  "$program" --import-text "$work/project.txt" "$work/examples/Bench.bvq"
}

measure() {  # label, command... : prints "seconds peak-kB"
  local label=$1; shift
  /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" || { cat "$work/err.txt"; echo "$label failed" >&2; exit 1; }
  cat "$work/time.txt"
}
# The least seconds and the largest peak of n runs; `cleanup` (a command) runs before each.
best_of() {  # n, cleanup, label, command...
  local n=$1 cleanup=$2 label=$3 s kb best="" top=0 i; shift 3
  for ((i = 0; i < n; i++)); do
    $cleanup
    read -r s kb < <(measure "$label" "$@") || exit 1
    if [ -z "$best" ] || awk -v a="$s" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$s; fi
    [ "$kb" -gt "$top" ] && top=$kb
  done
  echo "$best $top"
}
size_of() { stat -c %s "$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
row() {  # label seconds bytes peak-kB
  printf '  %-24s %9ss %12s bytes %9s kB peak\n' "$1" "$2" "$3" "$4"
}
# A goal line: text, value, comparison (le/lt), bound.
goals=()
goal() {
  local ok; ok=$(awk -v v="$2" -v b="$4" -v op="$3" 'BEGIN { if (v == "n/a") print "?"; else if ((op == "le" && v + 0 <= b + 0) || (op == "lt" && v + 0 < b + 0)) print "met"; else print "NOT met" }')
  local sign='<='; [ "$3" = lt ] && sign='<'
  goals+=("$(printf '%-46s %8s   goal %s %s   %s' "$1" "$2" "$sign" "$4" "$ok")")
}

declare -A secs size peak
names=(None Normal Maximal)
build_all() {  # key, payload folder ("" for the example's files), runs of Normal and Maximal
  local key=$1 payload=$2 n=$3 c s kb
  for c in 0 1 2; do
    make_project "$payload" "$c" "$work/out/Setup.exe"
    read -r s kb < <(best_of "$([ "$c" = 0 ] && echo "$runs" || echo "$n")" "rm -rf $work/out" \
      "build $key ${names[$c]}" "$program" /build "$work/examples/Bench.bvq")
    # measure runs in a subshell, so a failed build shows here: run it again for its messages.
    [ -f "$work/out/Setup.exe" ] || { "$program" /build "$work/examples/Bench.bvq" | tail -5; exit 1; }
    secs[$key:$c]=$s; peak[$key:$c]=$kb; size[$key:$c]=$(size_of "$work/out/Setup.exe")
    rm -rf "$work/out"
    row "build ${names[$c]}" "$s" "${size[$key:$c]}" "$kb"
  done
}
payload_bytes() { find "$1" -type f -printf '%s\n' | awk '{s+=$1} END {print s}'; }
copy_row() {  # key, folder: a warm `cp -r` (the first copy warms the cache)
  local s kb
  cp -r "$2" "$work/copy"; rm -rf "$work/copy"; sync
  read -r s kb < <(best_of "$runs" "rm -rf $work/copy" cp cp -r "$2" "$work/copy")
  rm -rf "$work/copy"
  secs[$1:cp]=$s
  row "cp -r (warm)" "$s" "$(payload_bytes "$2")" "$kb"
}
gcab_row() {  # key, folder
  local s kb
  (cd "$2" && find . -type f | sort > "$work/list.txt")
  read -r s kb < <(cd "$2" && mapfile -t list < "$work/list.txt" && best_of "$runs" : gcab gcab -c -z "$work/gcab.cab" "${list[@]}")
  secs[$1:gcab]=$s; size[$1:gcab]=$(size_of "$work/gcab.cab")
  rm -f "$work/gcab.cab"
  row "gcab MSZIP" "$s" "${size[$1:gcab]}" "$kb"
}

echo
echo "fixed size"
stub_install=$(size_of "$build/Data/Install.exe"); stub_uninstall=$(size_of "$build/Data/Uninstall.exe")
printf '  %-24s %12s bytes\n' "Install.exe" "$stub_install" "Uninstall.exe" "$stub_uninstall"
build_all example "" "$runs"
example_setup=${size[example:1]}

echo
corpus=${BVQ_CORPUS_DIR:-$work/corpus}  # an existing reference payload saves the minutes of making it
[ -n "${BVQ_CORPUS_DIR:-}" ] || bash "$corpus_script" "$corpus" "$mb" >/dev/null
echo "reference payload: $(find "$corpus" -type f | wc -l) files, $(payload_bytes "$corpus") bytes"
copy_row corpus "$corpus"
build_all corpus "$corpus" "$runs"
gcab_row corpus "$corpus"
read -r s kb < <(measure wimlib wimcapture --compress=LZX:100 --chunk-size=2M "$corpus" "$work/wim.wim")
size[corpus:wim]=$(size_of "$work/wim.wim"); rm -f "$work/wim.wim"
row "wimlib LZX:100, 2 MB" "$s" "${size[corpus:wim]}" "$kb"
if command -v makensis >/dev/null; then
  for comp in zlib lzma; do
    printf 'OutFile "%s"\nSetCompressor /SOLID %s\nSection\nSetOutPath $INSTDIR\nFile /r "%s/*"\nSectionEnd\n' \
      "$work/nsis-$comp.exe" "$comp" "$corpus" > "$work/nsis-$comp.nsi"
    read -r s kb < <(measure "makensis $comp" makensis -V1 "$work/nsis-$comp.nsi")
    size[corpus:$comp]=$(size_of "$work/nsis-$comp.exe"); rm -f "$work/nsis-$comp.exe"
    row "makensis $comp solid" "$s" "${size[corpus:$comp]}" "$kb"
  done
else
  echo "  makensis: not installed, skipped"
fi

echo
/usr/bin/python3 bench/make-small-files.py "$work/small" 20000
small_bytes=$(payload_bytes "$work/small")
echo "small files: 20000 files of 1-4 KB, $small_bytes bytes"
copy_row small "$work/small"
build_all small "$work/small" "$runs"
gcab_row small "$work/small"
rm -rf "$work/small"

echo
mkdir -p "$work/big"
# The reference payload over and over: content of the same kind, repeats far beyond the window.
reps=$(( big_mb * 1048576 / $(payload_bytes "$corpus") + 1 ))
for _ in $(seq "$reps"); do find "$corpus" -type f -print0 | sort -z | xargs -0 cat; done 2>/dev/null |
  head -c $((big_mb * 1048576)) > "$work/big/big.bin" || true
echo "big file: $(size_of "$work/big/big.bin") bytes"
copy_row big "$work/big"
build_all big "$work/big" 1
per_mb() { awk -v s="$1" -v m="$big_mb" 'BEGIN { printf "%.1f ms/MB", 1000 * s / m }'; }
echo "  time per MB: None $(per_mb "${secs[big:0]}"), Normal $(per_mb "${secs[big:1]}"), Maximal $(per_mb "${secs[big:2]}")"

mb_of() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
goal "Normal size / gcab size (reference)" "$(ratio "${size[corpus:1]}" "${size[corpus:gcab]}")" le 0.96
goal "Normal time / gcab time (reference)" "$(ratio "${secs[corpus:1]}" "${secs[corpus:gcab]}")" le 0.6
goal "Maximal size / wimlib size (reference)" "$(ratio "${size[corpus:2]}" "${size[corpus:wim]}")" le 0.92
goal "Maximal time / Normal time (reference)" "$(ratio "${secs[corpus:2]}" "${secs[corpus:1]}")" le 2
goal "Maximal size / Normal size (reference)" "$(ratio "${size[corpus:2]}" "${size[corpus:1]}")" le 1
goal "Maximal size / Normal size (small files)" "$(ratio "${size[small:2]}" "${size[small:1]}")" le 1
goal "None time / cp time (reference, warm)" "$(ratio "${secs[corpus:0]}" "${secs[corpus:cp]}")" le 1.5
goal "None time / cp time (small files, warm)" "$(ratio "${secs[small:0]}" "${secs[small:cp]}")" le 1.5
goal "None time / cp time (big file, warm)" "$(ratio "${secs[big:0]}" "${secs[big:cp]}")" le 1.5
goal "Normal size / gcab size (small files)" "$(ratio "${size[small:1]}" "${size[small:gcab]}")" le 0.96
goal "Normal time / gcab time (small files)" "$(ratio "${secs[small:1]}" "${secs[small:gcab]}")" le 0.6
for c in 0 1 2; do
  goal "peak MB ${names[$c]} (reference)" "$(mb_of "${peak[corpus:$c]}")" lt 100
  goal "peak MB ${names[$c]} big / reference" "$(ratio "${peak[big:$c]}" "${peak[corpus:$c]}")" le 1.1
done
goal "example setup, Normal (KB)" "$(mb_of "$example_setup")" le 144
if [ -n "${size[corpus:lzma]:-}" ]; then
  echo
  echo "makensis lzma solid / Maximal (reference): $(ratio "${size[corpus:lzma]}" "${size[corpus:2]}");  zlib solid / Normal: $(ratio "${size[corpus:zlib]}" "${size[corpus:1]}")"
fi
echo
echo "ratios and goals"
printf '  %s\n' "${goals[@]}"
