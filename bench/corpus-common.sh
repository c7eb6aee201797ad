# Sourced by the cabinet benchmarks: takes [BUILD_DIR] [CORPUS_MB] as $1 $2, checks that
# cab_bench is built, makes the reference corpus once per build folder and size (making it
# takes minutes), enters it and lists its files in `files` (sorted). Sets here, build, mb,
# bench, work (a temporary folder removed at exit) and corpus.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd); mb=${2:-96}
bench=$build/bench/cab_bench
[ -x "$bench" ] || { echo "build the cab_bench target first (ninja -C $build cab_bench)" >&2; exit 2; }
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
corpus=$build/bench/corpus-$mb
if [ ! -f "$corpus.done" ]; then
  bash "$here/../shared/bench/make-corpus.sh" "$corpus" "$mb" >&2 && touch "$corpus.done"
fi
cd "$corpus"
find . -type f -printf '%P\n' | sort > "$work/list.txt"
mapfile -t files < "$work/list.txt"
