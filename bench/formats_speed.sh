#!/bin/sh
# Times quillbarrow-export's formats against readpst (pst-utils), run as a peer on the same copies
# of one store: --format eml against readpst -e (one file per message), --format mbox against
# readpst's mbox per folder, and --format text for today's speed. The commands take turns within
# each round, so that the load of a shared machine falls on all of them alike; each figure is the
# median of the rounds (wall seconds and peak resident size as GNU time gives them), with the
# output folders emptied, untimed, before each run. Then the peak memory of --format eml for few
# and for many copies (it must not grow with their number) and, when a store with one large
# attachment is given, for that store. The copies go into a temporary folder, never into the
# project.
#
#   bench/formats_speed.sh BUILD-DIR STORE.pst [COPIES] [ROUNDS] [LARGE-ATTACHMENT.pst]
#
# OLD_EXPORT=PROGRAM adds "text-old", --format text of another quillbarrow-export (an earlier
# build) for the same copies; LABELS="text text-old" times only those.
# A store with a 50 MB attachment comes from the store maker:
#   build/bench/make_store big.pst --messages 4 --attachment-bytes 52428800
# Needs readpst (apt-get install pst-utils) and GNU time (/usr/bin/time).
set -eu

build=$(readlink -f "${1:?build folder}")
store=$(readlink -f "${2:?store file}")
copies=${3:-50}
rounds=${4:-5}
large=${5:-}
work=$(mktemp -d "${TMPDIR:-/tmp}/formats-speed-XXXXXX")
trap 'rm -rf "$work"' EXIT

. "$(dirname "$0")/store_copies.sh"

make_stores "$work/stores" "$copies"
make_stores "$work/few" 5
export="'$build/quillbarrow-export' --quiet --to '$work/out'"
# readpst takes one store at a time, and each store its own output folder.
readpst_each() { # options
    echo "for f in '$work'/stores/*.pst; do d='$work'/out/\$(basename \$f); mkdir -p \$d;" \
        "readpst -q $1 -o \$d \$f; done"
}

labels=${LABELS:-text eml mbox readpst-e readpst-mbox${OLD_EXPORT:+ text-old}}
command_of() {
    case $1 in
    text) echo "$export '$work/stores'" ;;
    text-old) echo "'$OLD_EXPORT' --quiet --to '$work/out' '$work/stores'" ;;
    eml) echo "$export -f eml '$work/stores'" ;;
    mbox) echo "$export -f mbox '$work/stores'" ;;
    readpst-e) readpst_each "-e" ;;
    readpst-mbox) readpst_each "" ;;
    esac
}

round=1
while [ "$round" -le "$rounds" ]; do
    for label in $labels; do
        rm -rf "$work/out"
        sync
        /usr/bin/time -f "%e %M" -a -o "$work/time.$label" sh -c "$(command_of "$label")" \
            >/dev/null 2>&1
    done
    round=$((round + 1))
done

median() { # file: the median line of "seconds KiB" lines, by seconds
    sort -n "$1" | sed -n "$(((rounds + 1) / 2))p"
}
echo "$copies copies of $(basename "$store"), median of $rounds interleaved rounds:"
for label in $labels; do
    median "$work/time.$label" | {
        read -r seconds kib
        printf '  %-14s %8s s %8s KiB   (runs: %s)\n' "$label" "$seconds" "$kib" \
            "$(cut -d' ' -f1 "$work/time.$label" | tr '\n' ' ')"
    }
done
if [ -f "$work/time.eml" ] && [ -f "$work/time.readpst-e" ]; then
    eml=$(median "$work/time.eml" | cut -d' ' -f1)
    peer=$(median "$work/time.readpst-e" | cut -d' ' -f1)
    echo "  readpst -e / --format eml: $(echo "scale=2; $peer / $eml" | bc)"
fi

peak() { # label command: peak KiB of one run
    rm -rf "$work/out"
    /usr/bin/time -f "%M" -o "$work/peak" sh -c "$2" >/dev/null 2>&1 || true
    printf '  %-40s %8s KiB\n' "$1" "$(tail -n 1 "$work/peak")"
}
echo "peak memory of --format eml:"
peak "5 copies" "$export -f eml '$work/few'"
peak "$copies copies" "$export -f eml '$work/stores'"
if [ -n "$large" ]; then
    peak "$(basename "$large") ($(du -m "$large" | cut -f1) MB)" "$export -f eml '$large'"
    peak "$(basename "$large"), --format text -a" "$export -a '$large'"
    peak "$(basename "$large"), --format mbox" "$export -f mbox '$large'"
fi
