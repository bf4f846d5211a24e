#!/usr/bin/env bash
# Duplicate finder benchmark: generates the tree (once), builds DupBench.exe,
# then times on the same tree, hot cache, wall clock, RUNS runs each
# (median, min and max):
#   - the scan engine under Wine (size and content criteria, subfolders);
#   - the platform floor under Wine, alternating with the engine (bare
#     FindFirstFileExW walk, one open and 4 KiB read of every file in a
#     same-size set of two or more, and the full read of every such file
#     whose head matches another's);
#   - jdupes -r and fdupes -r, native.
# Prints the times, the ratios of the medians and peak memory (the best
# run's), and checks that the engine's
# groups equal jdupes' groups for the non-empty files.
#
# Env: BENCH_DIR (default /tmp/tarnholt-dupbench), RUNS (default 3),
#      FILES (default 50000). Needs jdupes and fdupes (apt-get install them).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
bench=${BENCH_DIR:-/tmp/tarnholt-dupbench}
runs=${RUNS:-5}
tree=$bench/tree
mkdir -p "$bench"

for tool in jdupes fdupes; do
  command -v $tool >/dev/null || { echo "$tool is missing: apt-get install -y jdupes fdupes" >&2; exit 1; }
done

if [ ! -f "$bench/tree.stamp" ]; then
  rm -rf "$tree"
  python3 "$repo/bench/dup/gen_tree.py" "$tree" --files "${FILES:-50000}"
  touch "$bench/tree.stamp"
fi

echo "== building DupBench.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -DUNICODE -D_UNICODE -municode -I"$repo" \
  "$repo/bench/dup/DupBench.cpp" "$repo"/app/duplicates/DupTables.cpp "$repo"/app/duplicates/DupScanner.cpp \
  "$repo"/app/duplicates/DupContent.cpp "$repo"/app/duplicates/DupGrouping.cpp "$repo"/app/duplicates/DupScan.cpp "$repo"/app/duplicates/DupSort.cpp \
  -static -lpsapi -o "$bench/DupBench.exe"

export WINEPREFIX=${WINEPREFIX:-$bench/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" TZ=UTC
if [ ! -d "$WINEPREFIX" ]; then
  echo "== creating Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 && wineserver -w
fi
wineserver -p 60 2>/dev/null || true  # a server may already be up
trap 'wineserver -k 2>/dev/null || true' EXIT
wintree="Z:${tree//\//\\}"
winout="Z:${bench//\//\\}\\engine-groups.txt"

# Read every file once so that every contender starts from a hot cache.
find "$tree" -type f -exec cat {} + >/dev/null
wine "$bench/DupBench.exe" "$wintree" "$winout" 1 >/dev/null  # and Wine's own caches

echo "== floor and engine (Wine)"
result=$(wine "$bench/DupBench.exe" "$wintree" "$winout" "$runs" | tr -d '\r')
echo "$result"
floor=$(grep '^floor' <<<"$result")
engine=$(grep '^engine' <<<"$result")

native() {  # median, min and max wall time and the peak RSS (KiB) of $runs runs of "$@"
  local i
  : >"$bench/times.txt"
  for i in $(seq "$runs"); do
    /usr/bin/time -o "$bench/time.txt" -f "%e %M" "$@" >"$bench/$1.out" 2>/dev/null
    cat "$bench/time.txt" >>"$bench/times.txt"
  done
  sort -n "$bench/times.txt" | awk '{t[NR]=$1; if ($2>m) m=$2} END {
    med = NR % 2 ? t[(NR+1)/2] : (t[NR/2] + t[NR/2+1]) / 2
    printf "%.3f %.3f %.3f %d\n", med, t[1], t[NR], m }'
}
echo "== jdupes"; read -r jd jmin jmax jrss < <(native jdupes -r "$tree")
echo "jdupes seconds=$jd min=$jmin max=$jmax peak_rss_mb=$(( jrss / 1024 ))"
echo "== fdupes"; read -r fd fmin fmax frss < <(native fdupes -r "$tree")
echo "fdupes seconds=$fd min=$fmin max=$fmax peak_rss_mb=$(( frss / 1024 ))"

python3 - "$bench/engine-groups.txt" "$bench/jdupes.out" "$floor" "$engine" "$jd" "$fd" <<'PY'
import os, re, sys
eng_file, jd_file, floor, engine, jd, fd = sys.argv[1:]

def groups(path, convert):
    out, cur = set(), []
    with open(path, encoding="utf-8") as f:
        for line in f.read().split("\n") + [""]:
            line = line.strip("\r")
            if line:
                cur.append(convert(line))
            elif cur:
                members = frozenset(p for p in cur if os.path.getsize(p) > 0)
                if len(members) >= 2:
                    out.add(members)
                cur = []
    return out

eng = groups(eng_file, lambda p: p[2:].replace("\\", "/"))
jdg = groups(jd_file, lambda p: p)
sec = lambda s, k: float(re.search(k + r"=([\d.]+)", s).group(1))
t_floor, t_engine = sec(floor, "seconds"), sec(engine, "seconds")
print(f"engine / floor  = {t_engine / t_floor:.2f}  (medians, goal <= 1.2)")
print(f"engine / jdupes = {t_engine / float(jd):.2f}")
print(f"engine / fdupes = {t_engine / float(fd):.2f}")
same = eng == jdg
print(f"groups: engine {len(eng)}, jdupes {len(jdg)}, equal: {'yes' if same else 'NO'}")
if not same:
    print("only engine:", list(eng - jdg)[:3])
    print("only jdupes:", list(jdg - eng)[:3])
    sys.exit(1)
PY
