# Sourced by the export benchmarks: make_stores FOLDER COUNT fills FOLDER with COUNT copies of
# $store named store-N.pst, so that a run measures many stores without a large one at hand.
make_stores() {
    mkdir -p "$1"
    i=1
    while [ "$i" -le "$2" ]; do
        cp "$store" "$1/store-$i.pst"
        i=$((i + 1))
    done
}
