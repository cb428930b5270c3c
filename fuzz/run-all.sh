#!/usr/bin/env bash
# Builds the fuzz targets into DIR, runs each once over its generated 1 MiB hostile inputs (one
# taking over HOSTILE_SECONDS, 20 by default, is a fault), then fuzzes each for SECONDS from the
# generated seeds and the kept regression inputs. Findings land in DIR/fuzz-findings/READER.
# Usage: run-all.sh DIR SECONDS     (needs clang; CC and CXX default to clang and clang++)
set -euo pipefail
build=$(realpath -m "$1")
seconds=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
readers=(dbx_conversion eml_headers mime_body rtf_text html_text wine_registry command_line
         chosen_paths settings_file)

CC=${CC:-clang} CXX=${CXX:-clang++} cmake -S "$source_dir" -B "$build" -G Ninja \
    -DQUILLBARROW_FUZZ=ON -DQUILLBARROW_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzz_dbx_seeds "${readers[@]/#/fuzz_}"

seeds=$build/fuzz-seeds
rm -rf "$seeds"
"$source_dir/fuzz/make-seeds.sh" "$seeds" "$build/fuzz/fuzz_dbx_seeds"

export QT_QPA_PLATFORM=offscreen
failed=0
hostile_seconds=${HOSTILE_SECONDS:-20}
for reader in "${readers[@]}"; do
    target=$build/fuzz/fuzz_$reader
    corpus=$build/fuzz-corpus/$reader
    mkdir -p "$corpus" "$build/fuzz-findings/$reader"
    regressions=()
    [ -d "$source_dir/fuzz/regressions/$reader" ] && regressions=("$source_dir/fuzz/regressions/$reader")
    echo "== $reader"
    # A reader may take a second for 1 MiB in the normal build; under the sanitizers an allocation
    # costs tens of times more, and libxml2 allocates for every error it recovers from.
    if ! "$target" -timeout="$hostile_seconds" -rss_limit_mb=2048 "$seeds/hostile/$reader"/* \
        >"$build/fuzz-hostile-$reader.log" 2>&1; then
        echo "$reader: a 1 MiB input failed or took over $hostile_seconds s" >&2
        failed=1
    fi
    log=$build/fuzz-log-$reader.txt
    if ! "$target" -max_total_time="$seconds" -timeout=10 -max_len=65536 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/$reader/" \
        "$corpus" "$seeds/$reader" "${regressions[@]}" >"$log" 2>&1; then
        failed=1
    fi
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units|ERROR|SUMMARY' "$log" || true
    if [ -n "$(ls -A "$build/fuzz-findings/$reader")" ]; then
        echo "$reader: findings in $build/fuzz-findings/$reader" >&2
        failed=1
    fi
done
exit $failed
