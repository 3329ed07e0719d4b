#!/usr/bin/env bash
# termix-cli beside the peer sdcv (StarDict) on the same generated 100,000 terms, each run as a
# whole process: an exact lookup (`termix-cli show TERM` / `sdcv TERM`), a keyword search
# (`termix-cli search KW` / sdcv's full-scan pattern `*KW*`) and `cat` of the glossary file.
# The peer dictionary is built from `termix-cli all` with stardict-tools' tabfile. Runs take
# turns (termix, sdcv, cat, termix, ...) so that drift on a shared machine falls on all alike;
# prints the medians of the wall and CPU times and the ratios. termix-cli runs twice: as a user
# runs it, answering from the cache it keeps of an unchanged glossary, and without a cache (a
# first run, or a glossary changed a moment ago), scanning the whole file.
#
#   bench/peer-compare.sh [BUILD_DIR] [RUNS]      (defaults: build-bench, 21)
#
# PEER_BASELINE=OTHER_BUILD_DIR adds that build's termix-cli search, cached and not, to the same
# turns: two builds compared in one run.
#
# Needs the Debian packages sdcv and stardict-tools; not part of the test suite.
set -euo pipefail
build_dir=$(cd "${1:-build-bench}" && pwd)
runs=${2:-21}
cli=$build_dir/bin/termix-cli
generator=$build_dir/bin/termix-gen-glossary
baseline=${PEER_BASELINE:+$(cd "$PEER_BASELINE" && pwd)/bin/termix-cli}
tabfile=/usr/lib/stardict-tools/tabfile
for tool in "$cli" "$generator" "$tabfile" "$(command -v sdcv || echo sdcv)"; do
    [[ -x $tool ]] || { echo "peer-compare: $tool is missing" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/termix-peers.XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME=$work LC_ALL=C.UTF-8 # sdcv keeps its caches under $HOME
export XDG_CACHE_HOME=$work/cache # and termix-cli its own here
: >"$work/no-cache"               # a cache folder that cannot be made: no cache
glossary=$work/Termix.CGlossary.termix
"$generator" 100000 "$glossary"
created=$SECONDS
mkdir -p "$work/dic"
"$cli" --file "$glossary" all >"$work/dic/peer.txt"
"$tabfile" "$work/dic/peer.txt" >/dev/null
term=$(sed -n 50000p "$work/dic/peer.txt" | cut -f1)
keyword=ryx # the generator's keyword that about 1 % of the terms contain

# one NAME COMMAND...: one run, appending its wall time in seconds to results[NAME] and its CPU
# time (user + system, of the process and its threads) to cpu[NAME]. The clock is read in this
# shell around the command, to the microsecond; the CPU time is what `times` adds for children.
declare -A results cpu
cpu_of() { # FILE: the children's CPU seconds that `times` wrote there ("XmY.YYYs XmZ.ZZZs")
    tail -1 "$1" | tr -d s |
        awk '{ split($1, u, "m"); split($2, s, "m"); printf "%.6f", u[1] * 60 + u[2] + s[1] * 60 + s[2] }'
}
one() {
    local name=$1 start end
    shift
    # `times` runs in this shell and starts no process, so nothing but the command falls
    # between the two readings.
    times >"$work/before"
    start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || true
    end=$EPOCHREALTIME
    times >"$work/after"
    results[$name]+="$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f", b - a }') "
    cpu[$name]+="$(awk -v a="$(cpu_of "$work/before")" -v b="$(cpu_of "$work/after")" \
        'BEGIN { printf "%.6f", b - a }') "
}

median() { # median of the list $1
    tr ' ' '\n' <<<"$1" | awk 'NF' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

sdcv_run() { sdcv --data-dir "$work" -n -u peer "$@"; }
sdcv_run "$term" | grep -q . || { echo "peer-compare: sdcv does not find $term" >&2; exit 2; }
scan_run() { XDG_CACHE_HOME=$work/no-cache "$cli" --file "$glossary" "$@"; }
# termix-cli keeps a cache only of a glossary that has stood unchanged for 5 seconds.
sleep $((created + 6 - SECONDS > 0 ? created + 6 - SECONDS : 0))

for ((i = -1; i < runs; i++)); do # run -1 warms the page cache and sdcv's caches
    one "termix show" "$cli" --file "$glossary" show "$term"
    one "scan show" scan_run show "$term"
    one "sdcv exact" sdcv_run "$term"
    one "termix search" "$cli" --file "$glossary" search "$keyword"
    one "scan search" scan_run search "$keyword"
    one "sdcv *kw*" sdcv_run "*$keyword*"
    one "cat" cat "$glossary"
    if [[ -n $baseline ]]; then
        one "base search" "$baseline" --file "$glossary" search "$keyword"
        one "base scan search" env XDG_CACHE_HOME="$work/no-cache" "$baseline" --file "$glossary" \
            search "$keyword"
    fi
    if ((i < 0)); then
        results=() cpu=()
    fi
done

names=("termix show" "scan show" "sdcv exact" "termix search" "scan search" "sdcv *kw*" "cat")
pairs=("termix show:sdcv exact" "termix search:sdcv *kw*" "scan show:sdcv exact"
    "scan search:sdcv *kw*" "termix search:cat" "scan show:cat" "scan search:cat")
if [[ -n $baseline ]]; then
    names+=("base search" "base scan search")
    pairs+=("termix search:base search" "scan search:base scan search")
fi
printf '%-16s %10s %10s\n' "program" "wall s" "cpu s"
for name in "${names[@]}"; do
    printf '%-16s %10s %10s\n' "$name" "$(median "${results[$name]}")" "$(median "${cpu[$name]}")"
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
printf '%-30s %5s %5s\n' "ratio" "wall" "cpu"
for pair in "${pairs[@]}"; do
    a=${pair%%:*} b=${pair#*:}
    printf '%-30s %5s %5s\n' "$a / $b" \
        "$(ratio "$(median "${results[$a]}")" "$(median "${results[$b]}")")" \
        "$(ratio "$(median "${cpu[$a]}")" "$(median "${cpu[$b]}")")"
done
echo "file: $(stat -c %s "$glossary") bytes; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
