#!/usr/bin/env bash
# termix-cli beside the peer sdcv (StarDict) on the same generated 100,000 terms, each run as a
# whole process: an exact lookup (`termix-cli show TERM` / `sdcv TERM`), a keyword search
# (`termix-cli search KW` / sdcv's full-scan pattern `*KW*`) and `cat` of the glossary file.
# The peer dictionary is built from `termix-cli all` with stardict-tools' tabfile. Runs take
# turns (termix, sdcv, cat, termix, ...) so that drift on a shared machine falls on all alike;
# prints the medians of wall and CPU (user + system) time and the ratios.
#
#   bench/peer-compare.sh [BUILD_DIR] [RUNS]      (defaults: build-bench, 21)
#
# Needs the Debian packages sdcv and stardict-tools; not part of the test suite.
set -euo pipefail
build_dir=$(cd "${1:-build-bench}" && pwd)
runs=${2:-21}
cli=$build_dir/bin/termix-cli
generator=$build_dir/bin/termix-gen-glossary
tabfile=/usr/lib/stardict-tools/tabfile
for tool in "$cli" "$generator" "$tabfile" "$(command -v sdcv || echo sdcv)"; do
    [[ -x $tool ]] || { echo "peer-compare: $tool is missing" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/termix-peers.XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME=$work LC_ALL=C.UTF-8 # sdcv keeps its caches under $HOME
glossary=$work/Termix.CGlossary.termix
"$generator" 100000 "$glossary"
mkdir -p "$work/dic"
"$cli" --file "$glossary" all >"$work/dic/peer.txt"
"$tabfile" "$work/dic/peer.txt" >/dev/null
term=$(sed -n 50000p "$work/dic/peer.txt" | cut -f1)
keyword=ryx # the generator's keyword that about 1 % of the terms contain

# one NAME COMMAND...: one run, appending "wall cpu" in seconds to the list of NAME.
declare -A results
one() {
    local name=$1 timing
    shift
    local TIMEFORMAT='%3R %3U %3S'
    timing=$({ time "$@" >/dev/null 2>&1; } 2>&1) || true
    results[$name]+=$(awk '{ printf "%.3f,%.3f ", $1, $2 + $3 }' <<<"$timing")
}

median() { # median of field $1 (1 wall, 2 cpu) of the list $2
    tr ' ' '\n' <<<"$2" | awk -F, -v f="$1" 'NF { print $f }' | sort -n |
        awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

sdcv_run() { sdcv --data-dir "$work" -n -u peer "$@"; }
sdcv_run "$term" | grep -q . || { echo "peer-compare: sdcv does not find $term" >&2; exit 2; }

for ((i = -1; i < runs; i++)); do # run -1 warms the page cache and sdcv's caches
    one "termix show" "$cli" --file "$glossary" show "$term"
    one "sdcv exact" sdcv_run "$term"
    one "termix search" "$cli" --file "$glossary" search "$keyword"
    one "sdcv *kw*" sdcv_run "*$keyword*"
    one "cat" cat "$glossary"
    if ((i < 0)); then
        results=()
    fi
done

printf '%-16s %10s %10s\n' "program" "wall s" "CPU s"
for name in "termix show" "sdcv exact" "termix search" "sdcv *kw*" "cat"; do
    printf '%-16s %10s %10s\n' "$name" "$(median 1 "${results[$name]}")" \
        "$(median 2 "${results[$name]}")"
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
for pair in "termix show:sdcv exact" "termix search:sdcv *kw*" "termix show:cat" \
    "termix search:cat"; do
    a=${pair%%:*} b=${pair#*:}
    printf '%-30s wall %5s  CPU %5s\n' "$a / $b" \
        "$(ratio "$(median 1 "${results[$a]}")" "$(median 1 "${results[$b]}")")" \
        "$(ratio "$(median 2 "${results[$a]}")" "$(median 2 "${results[$b]}")")"
done
echo "file: $(stat -c %s "$glossary") bytes; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
