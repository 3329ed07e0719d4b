#!/usr/bin/env bash
# Times termix-cli's export and import against its `all` on one generated glossary (whole
# processes, median of 5, the runs of all commands interleaved so that drift on a shared machine
# touches each alike). Usage: bench/exchange-timing.sh BIN_DIR [TERMS]
# BIN_DIR holds termix-cli and termix-gen-glossary (a Release build: the bench preset).
set -euo pipefail
bin=${1:?directory holding termix-cli and termix-gen-glossary}
terms=${2:-1000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin/termix-gen-glossary" "$terms" "$work/g.termix" >/dev/null

declare -A runs
time_ms() { # NAME COMMAND...: appends the wall time of one run to runs[NAME]
    local name=$1 start end
    shift
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    runs[$name]+="$(((end - start) / 1000000)) "
}
median() { tr ' ' '\n' <<<"$1" | grep -v '^$' | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

for round in 1 2 3 4 5; do
    time_ms all "$bin/termix-cli" --file "$work/g.termix" all
    for format in tsv csv tbx tbx-v2; do
        time_ms "export-$format" "$bin/termix-cli" --file "$work/g.termix" export --format "$format" \
            --output "$work/g.$format"
        : >"$work/in-$format.termix"
        time_ms "import-$format" "$bin/termix-cli" --file "$work/in-$format.termix" import \
            --format "$format" "$work/g.$format"
        cmp -s "$work/in-$format.termix" "$work/g.termix" || { echo "$format: round trip differs"; exit 1; }
    done
done
base=$(median "${runs[all]}")
printf '%-14s %8s %6s\n' what ms ratio
printf '%-14s %8d %6s\n' all "$base" 1.00
for name in export-tsv import-tsv export-csv import-csv export-tbx import-tbx export-tbx-v2 import-tbx-v2; do
    m=$(median "${runs[$name]}")
    printf '%-14s %8d %6.2f\n' "$name" "$m" "$(echo "$m / $base" | bc -l)"
done
