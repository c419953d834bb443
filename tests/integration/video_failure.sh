# scripts/record-video without the sound of the second scene (lvl2.mp3 missing, or not an
# MP3) fails at once, before it renders a frame: it names the file, exits 1, leaves an older
# video as it was and nothing beside it.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
make_run_copy
build=$(mktemp -d)
trap 'rm -rf "$DEMO_DIR" "$build"' EXIT
ln -s "$DEMO_DIR" "$build/demo"
ln -s "$KESTRUNE_BIN_DIR/kestrune-capture" "$build/"
mkdir "$build/out"
for case in missing "not an MP3"; do
    rm -f "$DEMO_DIR/lvl2.mp3"
    [ "$case" = missing ] || printf 'not an mp3 %.0s' {1..1000} >"$DEMO_DIR/lvl2.mp3"
    echo "an older video" >"$build/out/show.mp4"
    VIDEO_SIZE=320x180 timeout 300 "$KESTRUNE_SOURCE_DIR/scripts/record-video" "$build" \
        "$build/out/show.mp4" >/dev/null 2>"$build/errors"
    status=$?
    echo "lvl2.mp3 $case: status $status: $(tr '\n' ' ' <"$build/errors")"
    [ $status -eq 1 ] || fail "lvl2.mp3 $case: status $status, not 1"
    grep -q "lvl2.mp3" "$build/errors" || fail "lvl2.mp3 $case: no message naming it"
    grep -q "frame [0-9]" "$build/errors" && fail "lvl2.mp3 $case: frames were rendered first"
    [ "$(cat "$build/out/show.mp4")" = "an older video" ] && [ "$(ls "$build/out")" = show.mp4 ] ||
        fail "lvl2.mp3 $case: the folder now holds $(ls "$build/out")"
done
echo "PASS"
