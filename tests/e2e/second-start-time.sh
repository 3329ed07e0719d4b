#!/usr/bin/env bash
# How long a second start takes, the one that only brings the running copy forward, with a
# glossary of TERMS terms (a million unless told otherwise) beside the program. Not part of the
# tests: prints the median, fastest and slowest of ROUNDS starts in milliseconds.
#   tests/e2e/second-start-time.sh [BUILD_DIR] [ROUNDS] [TERMS]
source "$(dirname "$0")/lib.sh"
build=${1:-build}
rounds=${2:-21}
terms=${3:-1000000}
e2e_init "$build/bin" "$build/tests/termix-e2e-xprobe"
e2e_write_settings

# A realistic glossary, built the way the build builds the bundled one.
python3 - "$terms" >"$E2E_WORK/g.tsv" <<'PY'
import random, sys
random.seed(1)
print("term\tmeaning\texplanation")
words = ["model", "state", "class", "port", "flow", "block", "signal", "event", "actor", "view"]
for i in range(int(sys.argv[1])):
    term = " ".join(random.choice(words) for _ in range(2)) + " %07d" % i
    print(f"{term}\t术语{i}\t" + "说明" * random.randint(5, 40))
PY
"$build/bin/termix-cli" import "$E2E_WORK/g.tsv" "$E2E_APP/Termix.CGlossary.termix" >/dev/null
e2e_log "glossary: $(stat -c %s "$E2E_APP/Termix.CGlossary.termix") bytes"

e2e_start_termix
e2e_wait_window
times=()
for ((i = 0; i < rounds; i++)); do
    start=$(date +%s%N)
    "$E2E_APP/termix" >>"$E2E_WORK/termix.log" 2>&1
    times+=($((($(date +%s%N) - start) / 1000)))
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END {
    printf "second start, %d rounds: median %.1f ms, fastest %.1f ms, slowest %.1f ms\n",
        NR, t[int((NR + 1) / 2)] / 1000, t[1] / 1000, t[NR] / 1000 }'
