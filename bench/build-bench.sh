#!/usr/bin/env bash
# Whole builds of the reference payload (../shared/bench/make-corpus.sh) as a project, with
# compression None, Normal and Maximal, against what a user would compare with: `cp` of the
# same files for the stored build and gcab (MSZIP) for the compressed ones; makensis (zlib and
# lzma, solid) when it is installed. Prints times, sizes, peak memory and the ratios.
#
# Usage: bench/build-bench.sh [BUILD_DIR] [CORPUS_MB]   (defaults: build, 96)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
mb=${2:-96}
program="$build/belvandorithquessal"
corpus_script=${BVQ_CORPUS_SCRIPT:-/work/shared/bench/make-corpus.sh}
[ -x "$program" ] || { echo "no program at $program (build first)"; exit 1; }

work=$(mktemp -d /tmp/bvq-build-bench-XXXXXX)
trap '[ -n "${BVQ_KEEP_BENCH:-}" ] || rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp" LC_ALL=C
mkdir -p "$TMPDIR"
bash "$corpus_script" "$work/corpus" "$mb" >/dev/null
files=$(find "$work/corpus" -type f | wc -l)
bytes=$(find "$work/corpus" -type f -printf '%s\n' | awk '{s+=$1} END {print s}')
echo "corpus: $files files, $bytes bytes"

# The project: the example project's settings with every corpus file in the files list.
"$program" --export-text examples/Example.bvq > "$work/example.txt"
make_project() {  # compression index, output setup
  /usr/bin/python3 - "$work/example.txt" "$work/corpus" "$1" "$2" "$work/project.txt" <<'PY'
import os, sys
src, corpus, compression, out, dest = sys.argv[1:]
raw = open(src, 'rb').read()
sep = b'\r\n' if b'\r\n' in raw else b'\n'
lines = raw.split(sep)
controls = lines.index(b'[CONTROLS]')
lines[controls + 38] = compression.encode()      # slot 38: compression
lines[controls + 25] = out.encode()              # slot 25: setup file
mark = lines.index(b'[LIST_COUNT_DATA_LIST_SIZE]')
counts = [int(x) for x in lines[mark + 1:mark + 12]]
columns = [int(x) for x in lines[mark - 11:mark]]
entries_at = mark + 12
blocks, at = [], entries_at
for n, cols in zip(counts, columns):
    blocks.append(lines[at:at + n * cols]); at += n * cols
files = sorted(os.path.join(d, f) for d, _, fs in os.walk(corpus) for f in fs)
blocks[2] = []
for f in files:
    rel = os.path.relpath(f, corpus).replace('/', '\\')
    blocks[2] += [f.encode(), b'%InstallPath%\\' + rel.encode(), b'Replace', b'Yes']
counts[2] = len(files)
header = lines.index(b'[HEADER]')
lines[header + 4] = str(128 + sum(counts)).encode()
lines = lines[:mark + 1] + [str(c).encode() for c in counts] + sum(blocks, []) + lines[at:]
open(dest, 'wb').write(sep.join(lines))
PY
  "$program" --import-text "$work/project.txt" "$work/examples/Bench.bvq"
}
mkdir -p "$work/examples"
cp -r examples/Example "$work/examples/"

measure() {  # label, command... : prints "seconds peak-kB"
  local label=$1; shift
  /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" || { cat "$work/err.txt"; echo "$label failed"; exit 1; }
  cat "$work/time.txt"
}
size_of() { stat -c %s "$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

sync
read -r cp_s cp_kb < <(measure cp cp -r "$work/corpus" "$work/copy")
printf '%-22s %8ss %10s bytes %8s kB\n' "cp -r" "$cp_s" "$bytes" "$cp_kb"

declare -A secs size peak
for c in 0 1 2; do
  make_project "$c" "$work/out$c/Setup.exe"
  read -r s kb < <(measure "build $c" "$program" /build "$work/examples/Bench.bvq")
  # measure runs in a subshell, so a failed build shows here: run it again for its messages.
  [ -f "$work/out$c/Setup.exe" ] || { "$program" /build "$work/examples/Bench.bvq" | tail -5; exit 1; }
  secs[$c]=$s; peak[$c]=$kb; size[$c]=$(size_of "$work/out$c/Setup.exe")
  rm -rf "$work/out$c"
done
names=(None Normal Maximal)
for c in 0 1 2; do
  printf '%-22s %8ss %10s bytes %8s kB\n' "build ${names[$c]}" "${secs[$c]}" "${size[$c]}" "${peak[$c]}"
done

(cd "$work/corpus" && find . -type f | sort > "$work/list.txt")
read -r g_s g_kb < <(cd "$work/corpus" && measure gcab gcab -c -z "$work/gcab.cab" $(cat "$work/list.txt"))
g_size=$(size_of "$work/gcab.cab")
printf '%-22s %8ss %10s bytes %8s kB\n' "gcab MSZIP" "$g_s" "$g_size" "$g_kb"

if command -v makensis >/dev/null; then
  for comp in zlib lzma; do
    printf 'OutFile "%s"\nSetCompressor /SOLID %s\nSection\nSetOutPath $INSTDIR\nFile /r "%s/*"\nSectionEnd\n' \
      "$work/nsis-$comp.exe" "$comp" "$work/corpus" > "$work/nsis-$comp.nsi"
    read -r n_s n_kb < <(measure "makensis $comp" makensis -V1 "$work/nsis-$comp.nsi")
    printf '%-22s %8ss %10s bytes %8s kB\n' "makensis $comp solid" "$n_s" "$(size_of "$work/nsis-$comp.exe")" "$n_kb"
  done
else
  echo "makensis: not installed, skipped"
fi

echo
echo "stored build time / cp time:        $(ratio "${secs[0]}" "$cp_s")   (goal: at most 2)"
echo "stored setup size / corpus size:    $(ratio "${size[0]}" "$bytes")"
echo "Normal build time / gcab time:      $(ratio "${secs[1]}" "$g_s")"
echo "Normal setup size / gcab size:      $(ratio "${size[1]}" "$g_size")"
echo "Maximal setup size / gcab size:     $(ratio "${size[2]}" "$g_size")"
echo "Maximal build time / gcab time:     $(ratio "${secs[2]}" "$g_s")"
echo "peak memory None/Normal/Maximal:    ${peak[0]} / ${peak[1]} / ${peak[2]} kB   (goal: under 100 MB)"
