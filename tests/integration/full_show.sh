# The whole show on the fixed-step clock without drawing, so that no frame depends on the
# machine. At 60 fps frame 6900 is 115 s: the scene-1 fade's 101st step, frame 7001,
# switches to lvl2.mp3 (116.683 s, so the animation starts at 163.683334 s as a float), and
# the scene-2 fade's 201st step, frame 10982, stops the music and exits 0. At 30 fps: 3551
# and 5642. A malformed KESTRUNE_FPS ends start-up with a message and status 1.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
make_run_copy
export SDL_AUDIODRIVER=dummy KESTRUNE_NO_DRAW=1

# At 30 fps without an audio device: the demo plays silent, on the same frames.
for case in "60 7001 10982 dummy" "30 3551 5642 no-such-driver"; do
    read -r fps switch end SDL_AUDIODRIVER <<<"$case"
    export KESTRUNE_FPS=$fps
    start_demo
    wait_for_exit 300
    [ "$DEMO_STATUS" -eq 0 ] || fail "$fps fps: the show ended with status $DEMO_STATUS"
    grep -qx "frame 0: bgmusic.mp3 starts" "$DEMO_OUT" || fail "$fps fps: bgmusic.mp3 not started"
    grep -qx "frame $switch: lvl2.mp3 starts" "$DEMO_OUT" ||
        fail "$fps fps: the switch is not on frame $switch: $(grep 'lvl2' "$DEMO_OUT")"
    grep -qx "frame $end: music stops" "$DEMO_OUT" ||
        fail "$fps fps: the show did not end on frame $end: $(grep 'stops' "$DEMO_OUT")"
    [ "$SDL_AUDIODRIVER" = dummy ] || grep -q "no sound" "$DEMO_OUT" || fail "$fps fps: a sound device"
    echo "$fps fps: switch on frame $switch, end on frame $end"
done

export KESTRUNE_FPS=sixty
start_demo
wait_for_exit 60
[ "$DEMO_STATUS" -eq 1 ] || fail "KESTRUNE_FPS=sixty ended with status $DEMO_STATUS, not 1"
grep -q "KESTRUNE_FPS must be" "$DEMO_OUT" || fail "no message for a malformed KESTRUNE_FPS"
echo "PASS"
