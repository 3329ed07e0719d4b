#!/usr/bin/env bash
# Start-up time of the program: from exec to its main window mapped on screen, with the bundled
# glossary and with a generated 100,000-term glossary, next to the smallest Qt dialog program on
# the same desktop (Xvfb + icewm). Prints the median of several runs and the ratios.
#
#   tests/e2e/startup-time.sh [BUILD_DIR] [RUNS]      (defaults: build, 7)
#
# The 100,000-term glossary comes from termix-gen-glossary (bench/, found beside termix, in
# $TERMIX_GEN_GLOSSARY or on PATH) or, without it, from a small python3 generator.
build_dir=$(cd "${1:-build}" && pwd)
runs=${2:-7}
source "$(dirname "$0")/lib.sh"
E2E_SCENARIO=startup-time
e2e_init "$build_dir/bin" "$build_dir/tests/termix-e2e-xprobe"
minimal=$build_dir/tests/termix-minimal-dialog
[[ -x $minimal ]] || e2e_fail "$minimal has not been built"
e2e_write_settings

# time_once PROGRAM TITLE: one start, in milliseconds; the program is stopped afterwards.
time_once() {
    local output ms pid
    output=$("$E2E_XPROBE" time-to-window "$2" "$1" "$2") || e2e_fail "no window from $1"
    read -r ms pid <<<"$output"
    kill -TERM "$pid" 2>/dev/null || true
    # Not our child (the probe started it): wait until it is gone, so that the next start does
    # not meet a running copy.
    e2e_wait_for 10000 e2e_not_running "$pid" || kill -KILL "$pid" 2>/dev/null || true
    echo "$ms"
}

# median PROGRAM TITLE: median of $runs starts, after one warm-up start.
median() {
    local times=() i
    time_once "$1" "$2" >/dev/null
    for ((i = 0; i < runs; i++)); do
        times+=("$(time_once "$1" "$2")")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
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

e2e_log "timing $runs starts each (median, after one warm-up start)"
baseline=$(median "$minimal" "Termix minimal dialog")
bundled=$(median "$E2E_APP/termix" "$E2E_TITLE")
# Counted by the program's own reader (explanations hold line breaks of their own).
terms=$("$E2E_BIN_DIR/termix-cli" --file "$E2E_APP/Termix.CGlossary.termix" all | wc -l)
generate_glossary 100000 "$E2E_APP/Termix.CGlossary.termix"
large=$(median "$E2E_APP/termix" "$E2E_TITLE")

printf '%-38s %9s %7s\n' "program" "ms" "ratio"
printf '%-38s %9.1f %7.2f\n' "minimal Qt dialog" "$baseline" 1
printf '%-38s %9.1f %7.2f\n' "termix, bundled glossary ($terms terms)" "$bundled" \
    "$(awk -v a="$bundled" -v b="$baseline" 'BEGIN { print a / b }')"
printf '%-38s %9.1f %7.2f\n' "termix, 100,000 terms" "$large" \
    "$(awk -v a="$large" -v b="$baseline" 'BEGIN { print a / b }')"
