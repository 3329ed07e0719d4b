#!/usr/bin/env bash
# Start-up time and memory of the program next to the smallest Qt dialog program, on the same
# desktop (Xvfb + icewm): milliseconds from exec to the main window mapped, and the resident
# memory and its peak so far half a second later. Three programs: the minimal dialog, termix on
# its bundled glossary and termix on a generated 100,000-term glossary. They take turns run by run, in a new random
# order each round, so that drift on a shared machine falls on all alike and no program always
# starts right after the same other one (here any start right after the minimal dialog took about
# a millisecond longer). The script prints the medians, the ratios to the minimal dialog with the
# range each ratio falls in over resamplings of the rounds, and the memory budget (minimal dialog
# + twice the glossary file).
#
#   tests/e2e/startup-time.sh [BUILD_DIR] [ROUNDS]      (defaults: build, 11)
#
# STARTUP_TERMS=N generates N terms instead of 100,000, and STARTUP_MEMORY_AFTER=S reads the
# memory S seconds after the window shows instead of 0.5.
# STARTUP_BASELINE=OTHER_BUILD_DIR adds that build's termix on the bundled glossary as a fourth
# program, and the ratio of the two builds' bundled start-ups: two builds compared in one run.
#
# The 100,000-term glossary comes from termix-gen-glossary (bench/, found beside termix, in
# $TERMIX_GEN_GLOSSARY or on PATH) or, without it, from a small python3 generator.
build_dir=$(cd "${1:-build}" && pwd)
rounds=${2:-11}
large_terms=${STARTUP_TERMS:-100000}
memory_after=${STARTUP_MEMORY_AFTER:-0.5}
source "$(dirname "$0")/lib.sh"
E2E_SCENARIO=startup-time
e2e_init "$build_dir/bin" "$build_dir/tests/termix-e2e-xprobe"
minimal=$build_dir/tests/termix-minimal-dialog
[[ -x $minimal ]] || e2e_fail "$minimal has not been built"
e2e_write_settings

# start_once PROGRAM TITLE: one start; prints the milliseconds to the window, and the resident
# memory and its peak so far (KiB) $memory_after seconds later. The program is stopped
# afterwards.
start_once() {
    local output ms pid rss hwm
    output=$("$E2E_XPROBE" time-to-window "$2" "$1" "$2") || e2e_fail "no window from $1"
    read -r ms pid <<<"$output"
    sleep "$memory_after"
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || echo 0)
    hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || echo 0)
    kill -TERM "$pid" 2>/dev/null || true
    # Not our child (the probe started it): wait until it is gone, so that the next start does
    # not meet a running copy.
    e2e_wait_for 10000 e2e_not_running "$pid" || kill -KILL "$pid" 2>/dev/null || true
    echo "$ms ${rss:-0} ${hwm:-0}"
}

median() {
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# ratio_interval I J: how far the ratio of program I's median to program J's can be trusted on
# this machine: the 5th and 95th percentiles of that ratio over 2000 resamplings of the rounds (a
# round's starts stay together, so drift within a round stays paired).
ratio_interval() {
    awk -v a="${times[$1]}" -v b="${times[$2]}" '
        function sort(v, n,    i, j, t) {
            for (i = 2; i <= n; i++) {
                t = v[i]
                for (j = i - 1; j >= 1 && v[j] > t; j--) v[j + 1] = v[j]
                v[j + 1] = t
            }
        }
        function median(v, n) { sort(v, n); return v[int((n + 1) / 2)] }
        BEGIN {
            n = split(a, x, " "); split(b, y, " "); srand(1)
            for (r = 1; r <= 2000; r++) {
                for (k = 1; k <= n; k++) { j = int(rand() * n) + 1; sx[k] = x[j]; sy[k] = y[j] }
                q[r] = median(sx, n) / median(sy, n)
            }
            sort(q, 2000)
            printf "%.2f-%.2f", q[100], q[1900]
        }'
}

generate_glossary() {
    local count=$1 out=$2 generator
    for generator in "${TERMIX_GEN_GLOSSARY:-}" "$build_dir/bin/termix-gen-glossary" \
        "$(command -v termix-gen-glossary || true)"; do
        if [[ -n $generator && -x $generator ]]; then
            "$generator" "$count" "$out"
            return
        fi
    done
    command -v python3 >/dev/null || e2e_fail "neither termix-gen-glossary nor python3 found"
    # A pair file: NNNN#term = NNNN#term 0x07 meaning 0x07 explanation 0x07, lengths in bytes.
    python3 - "$count" "$out" <<'PY'
import sys
count, out = int(sys.argv[1]), sys.argv[2]
with open(out, "wb") as f:
    for i in range(count):
        term = f"generated term {i:06d}".encode("gbk")
        value = term + b"\x07" + f"生成的术语 {i}".encode("gbk") + b"\x07" + \
            f"Explanation of generated term {i}, used to time the start-up.".encode("gbk") + b"\x07"
        f.write(b"%04d#%s = %04d#%s\r\n" % (len(term), term, len(value), value))
PY
}

# The large program: a second copy of the program folder with the generated glossary.
large_app=$E2E_WORK/app-large
cp -r "$E2E_APP" "$large_app"
generate_glossary "$large_terms" "$large_app/Termix.CGlossary.termix"
large_bytes=$(stat -c %s "$large_app/Termix.CGlossary.termix")
# Counted by the program's own reader (explanations hold line breaks of their own).
terms=$("$E2E_BIN_DIR/termix-cli" --file "$E2E_APP/Termix.CGlossary.termix" all | wc -l)

names=("minimal Qt dialog" "termix, bundled glossary ($terms terms)" "termix, $large_terms terms")
programs=("$minimal" "$E2E_APP/termix" "$large_app/termix")
titles=("Termix minimal dialog" "$E2E_TITLE" "$E2E_TITLE")
if [[ -n ${STARTUP_BASELINE:-} ]]; then
    baseline_app=$E2E_WORK/app-baseline
    cp -r "$E2E_APP" "$baseline_app"
    cp "$(cd "$STARTUP_BASELINE" && pwd)/bin/termix" "$baseline_app/termix"
    names+=("baseline termix, bundled glossary")
    programs+=("$baseline_app/termix")
    titles+=("$E2E_TITLE")
fi
count=${#programs[@]}
declare -a times rss peak
e2e_log "$rounds rounds of $count starts each, in turns, after one warm-up round"
for ((round = -1; round < rounds; round++)); do
    for i in $(shuf -i "0-$((count - 1))"); do
        read -r ms kib peak_kib <<<"$(start_once "${programs[i]}" "${titles[i]}")"
        if ((round >= 0)); then
            times[i]+="$ms "
            rss[i]+="$kib "
            peak[i]+="$peak_kib "
        fi
    done
done

# shellcheck disable=SC2086 # the lists split into their numbers
for ((i = 0; i < count; i++)); do
    ms_median[i]=$(median ${times[i]})
    rss_median[i]=$(median ${rss[i]})
    peak_median[i]=$(median ${peak[i]})
done
printf '%-40s %9s %7s %11s %10s %10s\n' "program" "ms" "ratio" "90 % range" "RSS MiB" "peak MiB"
for ((i = 0; i < count; i++)); do
    range=-
    if ((i > 0)); then
        range=$(ratio_interval "$i" 0)
    fi
    printf '%-40s %9.1f %7.2f %11s %10.1f %10.1f\n' "${names[i]}" "${ms_median[i]}" \
        "$(awk -v a="${ms_median[i]}" -v b="${ms_median[0]}" 'BEGIN { print a / b }')" \
        "$range" "$(awk -v k="${rss_median[i]}" 'BEGIN { print k / 1024 }')" \
        "$(awk -v k="${peak_median[i]}" 'BEGIN { print k / 1024 }')"
done
awk -v k="${rss_median[0]}" -v b="$large_bytes" -v n="$large_terms" 'BEGIN {
    printf "memory budget at %d terms: %.1f MiB (minimal dialog + 2 x %.1f MiB file)\n",
        n, k / 1024 + 2 * b / 1048576, b / 1048576 }'
if ((count > 3)); then
    printf 'bundled start-up, this build / baseline: %.3f (90 %% range %s)\n' \
        "$(awk -v a="${ms_median[1]}" -v b="${ms_median[3]}" 'BEGIN { print a / b }')" \
        "$(ratio_interval 1 3)"
fi
