#!/bin/sh
# How the work grows with the store: makes stores with the store maker (10,000 and 100,000
# messages, and one over 4 GiB of large attachments), then times on each the window's listing,
# download of 2,000 messages and Find (bench/window_scale), quillbarrow-export in every format it has, the bare
# libpff walk (bench/pff_walk) and the peers readpst and lspst, one after another in one run.
# Figures are whole-process wall seconds and peak resident size from GNU time. The stores and
# the outputs go into a scratch folder, removed at the end.
#
#   bench/store_scale.sh BUILD-DIR [SCRATCH-FOLDER [STORE...]]
#
# STORE names which stores to make and measure (small, large, huge; all three when none is
# named), and PARTS in the environment which measures to take (any of walk window export peers;
# all when unset), so that one size or one part can be measured again alone.
#
# BUILD-DIR must be configured with -DQUILLBARROW_BENCH=ON. Needs /usr/bin/time, readpst and
# lspst (apt-get install pst-utils) for the peers' lines.
set -eu

build=$(readlink -f "${1:?build folder}")
work=$(mktemp -d "${2:-${TMPDIR:-/tmp}}/store-scale-XXXXXX")
trap 'rm -rf "$work"' EXIT

# timed LABEL MESSAGES COMMAND...: one run; prints seconds, messages per second and peak memory.
# An export that reports some parts it could not write (exit 1, as for an attachment that only
# refers to a file elsewhere) still read the whole store: it is timed, and the count of such lines
# is shown; any other failure shows its last line instead.
timed() {
    label=$1 messages=$2
    shift 2
    rm -rf "$work/out" && mkdir "$work/out"
    code=0
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >"$work/log" 2>&1 || code=$?
    if [ "$code" -le 1 ]; then
        read -r seconds kib <<EOF_TIME
$(tail -n 1 "$work/time")
EOF_TIME
        note=
        [ "$code" -eq 0 ] || note=" ($(grep -c . "$work/log") lines of parts left out)"
        awk -v l="$label" -v s="$seconds" -v k="$kib" -v m="$messages" -v n="$note" 'BEGIN {
            printf "  %-28s %8.1f s %9.0f msg/s %8.1f MB%s\n", l, s, (s > 0 ? m / s : 0), k / 1024, n }'
    else
        printf '  %-28s failed: %s\n' "$label" "$(tail -n 1 "$work/log")"
    fi
}

parts=${PARTS:-walk window export peers}
wanted() { case " $parts " in *" $1 "*) true ;; *) false ;; esac; }

measure_store() { # name messages attachment-bytes
    store=$work/$1.pst
    "$build/bench/make_store" "$store" --messages "$2" --attachment-bytes "$3" | tail -n 1
    printf '%s: %s messages, %s\n' "$1" "$2" "$(du -h "$store" | cut -f1)"
    if wanted walk; then
        timed "bare libpff walk" "$2" "$build/bench/pff_walk" "$store"
        timed "bare libpff walk + bodies" "$2" "$build/bench/pff_walk" --bodies "$store"
    fi
    if wanted window; then
        timed "window (whole process)" "$2" \
            "$build/bench/window_scale" "$store" --download 2000 --find "zz-no-such-text"
        sed 's/^/    /' "$work/log"
    fi
    if wanted export; then
        for format in text eml mbox maildir; do
            timed "quillbarrow-export -f $format" "$2" \
                "$build/quillbarrow-export" -q -f "$format" -o "$work/out" "$store"
        done
    fi
    if wanted peers && command -v readpst >/dev/null; then
        timed "readpst (mbox)" "$2" readpst -q -o "$work/out" "$store"
        timed "readpst -e (eml)" "$2" readpst -q -e -o "$work/out" "$store"
        timed "lspst" "$2" sh -c 'lspst "$0" >/dev/null' "$store"
    fi
    rm -f "$store"
}

shift $(($# < 2 ? $# : 2))
for size in ${*:-small large huge}; do
    case $size in
    small) measure_store small 10000 100000 ;;
    large) measure_store large 100000 100000 ;;
    huge) measure_store huge 10000 5000000 ;;
    *) echo "unknown store: $size (small, large or huge)" >&2 && exit 2 ;;
    esac
done
