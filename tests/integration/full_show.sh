# The whole show on the fixed-step clock, its logic only (KESTRUNE_NO_DRAW), so it takes
# seconds and no frame depends on the machine. At 60 frames per second frame 6900 is
# 115 s exactly, so the scene-1 fade steps on frames 6901 to 7001 and its 101st step
# switches to "lvl2.mp3". The switch at 116.683 s puts the animation start at 163.683334
# s (a float, rounded up), so the scene-2 fade starts on frame 10782, the first after
# 179.683334 s, and its 201st step, frame 10982, stops the music and ends the process with
# status 0. At 30 frames per second: 3451 to 3551; 165.366669 s; 5442 to 5642.
# A malformed KESTRUNE_FPS ends start-up with a message and status 1.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
[ -f "$KESTRUNE_RUN_DIR/models/room.3ds" ] || skip "no generated content in $KESTRUNE_RUN_DIR"
make_run_copy
export SDL_AUDIODRIVER=dummy KESTRUNE_NO_DRAW=1

for case in "60 7001 10982" "30 3551 5642"; do
    read -r fps switch end <<<"$case"
    export KESTRUNE_FPS=$fps
    start_demo
    wait_for_exit 300
    [ "$DEMO_STATUS" -eq 0 ] || fail "$fps fps: the show ended with status $DEMO_STATUS"
    grep -qx "frame 0: bgmusic.mp3 starts" "$DEMO_OUT" || fail "$fps fps: bgmusic.mp3 not started"
    grep -qx "frame $switch: lvl2.mp3 starts" "$DEMO_OUT" ||
        fail "$fps fps: the switch is not on frame $switch: $(grep 'lvl2' "$DEMO_OUT")"
    grep -qx "frame $end: music stops" "$DEMO_OUT" ||
        fail "$fps fps: the show did not end on frame $end: $(grep 'stops' "$DEMO_OUT")"
    echo "$fps fps: switch on frame $switch, end on frame $end"
done

export KESTRUNE_FPS=sixty
start_demo
wait_for_exit 60
[ "$DEMO_STATUS" -eq 1 ] || fail "KESTRUNE_FPS=sixty ended with status $DEMO_STATUS, not 1"
grep -q "KESTRUNE_FPS must be" "$DEMO_OUT" || fail "no message for a malformed KESTRUNE_FPS"
echo "PASS"
