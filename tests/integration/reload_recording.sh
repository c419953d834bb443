# In author mode a finished recording plays at once: q, four nodes from where the user
# camera stands, e, and from the next frame the view follows the recording (all its nodes
# at one place: a still picture) instead of scene 1's own path (a moving one). The
# recorder's file, which the watch then reports, does not restart it.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
make_run_copy
printf '#!/bin/sh\nexec "$@" --edit\n' >"$DEMO_DIR/edit" && chmod +x "$DEMO_DIR/edit"
export KESTRUNE_FPS=30 KESTRUNE_RELOAD_PROBE=1
start_demo "$DEMO_DIR/edit"
wait_for_window
await "^frame [0-9]+: reload: watching the run folder for changes$"
xdotool windowfocus --sync "$DEMO_WINDOW"
key q w w w w e
await "edit: the recording plays in scene 1 from its start"
E=$FRAME
await "^frame $((E + 8)): checksum"
stop_demo

sums() { # FROM TO: the distinct checksums of those frames
    awk -v from="$1" -v to="$2" '/^frame [0-9]+: checksum / {
        f = substr($2, 1, length($2) - 1) + 0; if (f >= from && f <= to) print $4 }' "$DEMO_OUT" |
        sort -u | wc -l
}
[ "$(sums 2 $((E - 1)))" -gt 1 ] || fail "scene 1's path did not move the view before e"
[ "$(sums $((E + 1)) $((E + 8)))" -eq 1 ] || fail "after e the view does not stand on the recording"
grep -q "reload: campath.xml: path read" "$DEMO_OUT" ||
    fail "the recording's file, scene 2's path, was not read again"
echo "ok: before e the view moved; after e it stands where the recording was made"
