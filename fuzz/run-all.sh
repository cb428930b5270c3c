#!/usr/bin/env bash
# Builds the fuzz targets into DIR, runs each once over its generated 1 MiB hostile inputs (one
# taking over HOSTILE_SECONDS, 20 by default, is a fault), then fuzzes each for SECONDS from the
# generated seeds and the kept regression inputs, JOBS readers at a time (the processor count by
# default). Findings land in DIR/fuzz-findings/READER.
# DIR may be a build folder configured already (tools/sanitize-tests makes one that also holds
# the tests); its settings are kept. A new one is configured for the fuzz targets alone.
# Usage: run-all.sh DIR SECONDS     (needs clang; CC and CXX default to clang and clang++)
set -euo pipefail
build=$(realpath -m "$1")
seconds=$2
jobs=${JOBS:-$(nproc)}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
# Leaks inside the libraries that the tests suppress are suppressed here too (libpff keeps a
# column definition of a damaged table).
export LSAN_OPTIONS="suppressions=$source_dir/tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
readers=(dbx_conversion eml_headers mime_body rtf_text html_text wine_registry command_line
         chosen_paths settings_file outlook_store)

if [ -f "$build/CMakeCache.txt" ]; then
    cmake -S "$source_dir" -B "$build" -DQUILLBARROW_FUZZ=ON >/dev/null
else
    CC=${CC:-clang} CXX=${CXX:-clang++} cmake -S "$source_dir" -B "$build" -G Ninja \
        -DQUILLBARROW_FUZZ=ON -DQUILLBARROW_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target fuzz_dbx_seeds fuzz_pst_seeds "${readers[@]/#/fuzz_}"

seeds=$build/fuzz-seeds
rm -rf "$seeds"
"$source_dir/fuzz/make-seeds.sh" "$seeds" "$build/fuzz/fuzz_dbx_seeds" "$build/fuzz/fuzz_pst_seeds"

export QT_QPA_PLATFORM=offscreen
hostile_seconds=${HOSTILE_SECONDS:-20}

# Checks and fuzzes one reader; its report goes to DIR/fuzz-report-READER.txt and its exit
# status says whether anything was found.
fuzz_reader() { # reader
    local reader=$1 target=$build/fuzz/fuzz_$1 corpus=$build/fuzz-corpus/$1
    local findings=$build/fuzz-findings/$1 log=$build/fuzz-log-$1.txt failed=0
    mkdir -p "$corpus" "$findings"
    local regressions=()
    [ -d "$source_dir/fuzz/regressions/$reader" ] && regressions=("$source_dir/fuzz/regressions/$reader")
    {
        echo "== $reader"
        # A reader may take a second for 1 MiB in the normal build; under the sanitizers an
        # allocation costs tens of times more, and libxml2 allocates for every error it
        # recovers from.
        if ! "$target" -timeout="$hostile_seconds" -rss_limit_mb=2048 "$seeds/hostile/$reader"/* \
            >"$build/fuzz-hostile-$reader.log" 2>&1; then
            echo "$reader: a 1 MiB input failed or took over $hostile_seconds s"
            failed=1
        fi
        # An Outlook data file takes a quarter of a megabyte before it holds any mail.
        local max_len=65536
        [ "$reader" = outlook_store ] && max_len=524288
        if ! "$target" -max_total_time="$seconds" -timeout=10 -max_len=$max_len -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$findings/" \
            "$corpus" "$seeds/$reader" "${regressions[@]}" >"$log" 2>&1; then
            failed=1
        fi
        grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units|ERROR|SUMMARY' "$log" || true
        if [ -n "$(ls -A "$findings")" ]; then
            # The end of the log holds the cause (an exception's text, the stack) and the input
            # in Base64, so a run elsewhere can be understood from its output alone.
            echo "$reader: findings in $findings; the end of its log:"
            tail -n 60 "$log"
            failed=1
        fi
    } >"$build/fuzz-report-$reader.txt" 2>&1
    return $failed
}

failed=0
running=0
for reader in "${readers[@]}"; do
    if ((running == jobs)); then
        wait -n || failed=1
        running=$((running - 1))
    fi
    fuzz_reader "$reader" &
    running=$((running + 1))
done
while ((running > 0)); do
    wait -n || failed=1
    running=$((running - 1))
done
for reader in "${readers[@]}"; do
    cat "$build/fuzz-report-$reader.txt"
done
exit $failed
