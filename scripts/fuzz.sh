#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset: clang, ASan, UBSan), writes their seeds, and runs
# each target over a scratch copy of its seeds and of fuzz/corpus/<target>/ (inputs that once
# failed). Fails on any crash, failed check, leak or timeout; the failing input is left in
# build/fuzz/run/<target>/artifacts/.
#   bash scripts/fuzz.sh [ci|long|<runs>]
#     ci      bounded, all targets in one to two minutes (the default)
#     long    2,000,000 inputs per target (fuzz_xmpp_stanzas: 200,000, about 10 minutes)
#     <runs>  that many inputs per target
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-ci}
case "$mode" in
ci | long) ;;
*[!0-9]* | "")
    echo "usage: bash scripts/fuzz.sh [ci|long|<runs>]" >&2
    exit 2
    ;;
esac

bash scripts/deps.sh clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 2

build=build/fuzz
run="$build/run"
rm -rf "$build/seeds" "$run"
"$build/fuzz/fuzz_seeds" "$build/seeds"

targets=(fuzz_codec fuzz_callbacks fuzz_agent_outputs fuzz_whiteboard fuzz_vidyo fuzz_xmpp_stanzas)
# About 20 to 40 s each on two cores; the time limit bounds a slower machine.
declare -A ci_runs=([fuzz_codec]=2000000 [fuzz_callbacks]=600000 [fuzz_agent_outputs]=250000
    [fuzz_whiteboard]=300000 [fuzz_vidyo]=300000 [fuzz_xmpp_stanzas]=25000)
ci_seconds=45
# A fresh, logged-in XMPP session per input: a few hundred inputs a second.
declare -A ci_limit=([fuzz_xmpp_stanzas]=15)
declare -A long_runs=([fuzz_xmpp_stanzas]=200000)
# Its requests leave 30 s time-out timers behind them, which libFuzzer would take for a leak
# after every input and check at great cost; leaks are still reported when the run ends.
declare -A extra=([fuzz_xmpp_stanzas]=-detect_leaks=0)

# Nothing of the run lands in the user's folders; the logger drops its lines anyway.
home="$PWD/$run/home"
export TQ_LOG_DIR="$home/log" TQ_DATA_DIR="$home/data"
export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/share"
export UBSAN_OPTIONS=print_stacktrace=1

status=0
summary=()
for target in "${targets[@]}"; do
    dir="$run/$target"
    mkdir -p "$dir/corpus" "$dir/artifacts"
    # Targets whose seeds are hand-written have them in fuzz/corpus only.
    if [ -d "$build/seeds/$target" ]; then cp -R "$build/seeds/$target/." "$dir/corpus/"; fi
    find "fuzz/corpus/$target" -type f ! -name 'README*' -exec cp {} "$dir/corpus/" \;

    args=(-rss_limit_mb=6144 -timeout=30 -print_final_stats=1 -artifact_prefix="$dir/artifacts/"
        ${extra[$target]:-})
    case "$mode" in
    ci) args+=(-runs="${ci_runs[$target]}" -max_total_time="${ci_limit[$target]:-$ci_seconds}") ;;
    long) args+=(-runs="${long_runs[$target]:-2000000}") ;;
    *) args+=(-runs="$mode") ;;
    esac

    echo "== $target ${args[*]}"
    start=$(date +%s)
    if "$build/fuzz/$target" "${args[@]}" "$dir/corpus" >"$dir/log" 2>&1; then
        result=ok
    else
        result=FAILED
        status=1
        grep -v '# Uses:' "$dir/log" | tail -n 60
        ls -l "$dir/artifacts"
    fi
    seconds=$(($(date +%s) - start))
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log")
    done_line=$(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$dir/log" || true)
    summary+=("$(printf '%-20s %-6s %10s inputs %5s s   %s' "$target" "$result" \
        "${executed:-?}" "$seconds" "$done_line")")
done

echo "== fuzz summary ($mode)"
printf '%s\n' "${summary[@]}"
exit $status
