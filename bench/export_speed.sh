#!/bin/sh
# Times quillbarrow-export against pffexport (pff-tools) on the same copies of one store, and
# against a plain copy of quillbarrow-export's own output (also with a sync, as the export makes its
# files durable), and against the floor of any export through libpff (pff_read_floor: the same
# reads, nothing written); then its peak memory for few and for
# many stores, which must not grow with their number. The copies go into a temporary folder,
# never into the project. Figures are whole-process: wall seconds and peak resident size as
# GNU time gives them, the median of five runs, with the output folders emptied between runs.
#
#   bench/export_speed.sh BUILD-DIR STORE.pst [COPIES]
#
# BUILD-DIR must be configured with -DQUILLBARROW_BENCH=ON, which builds bench/pff_read_floor.
# Needs pffexport (apt-get install pff-tools) and GNU time (/usr/bin/time).
set -eu

build=$(readlink -f "${1:?build folder}")
store=$(readlink -f "${2:?store file}")
copies=${3:-100}
work=$(mktemp -d "${TMPDIR:-/tmp}/export-speed-XXXXXX")
trap 'rm -rf "$work"' EXIT

. "$(dirname "$0")/store_copies.sh"

# measure LABEL CLEAN COMMAND: the median run of COMMAND, CLEAN run untimed before each.
measure() {
    for run in 1 2 3 4 5; do
        sh -c "$2"
        /usr/bin/time -f "%e %M" -o "$work/time.$run" sh -c "$3" >/dev/null 2>&1
    done
    cat "$work"/time.? | sort -n | sed -n 3p | {
        read -r seconds kib
        printf '%-34s %8s s %8s KiB\n' "$1" "$seconds" "$kib"
    }
    rm -f "$work"/time.?
}

make_stores "$work/stores" "$copies"
make_stores "$work/few" 5
export="'$build/quillbarrow-export' --quiet --to '$work/out'"

sh -c "$export '$work/stores'"
echo "$copies copies of $(basename "$store"): $(ls "$work/out" | wc -l) files"

measure "quillbarrow-export" "rm -rf '$work/out'" "$export '$work/stores'"
measure "pffexport -m items (each store)" "rm -rf '$work/pff'; mkdir '$work/pff'" \
    "for f in '$work'/stores/*.pst; do pffexport -q -m items -t '$work'/pff/\$(basename \$f) \$f; done"
measure "cp -r of the export's output" "rm -rf '$work/copy'" "cp -r '$work/out' '$work/copy'"
measure "cp -r, then sync" "rm -rf '$work/copy'; sync" "cp -r '$work/out' '$work/copy' && sync"
measure "libpff's reads alone (floor)" ":" "'$build/bench/pff_read_floor' '$work'/stores/*.pst"
measure "quillbarrow-export, 5 stores" "rm -rf '$work/out'" "$export '$work/few'"
measure "quillbarrow-export --one-file" "rm -rf '$work/out'" "$export --one-file '$work/stores'"
