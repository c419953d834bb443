# "s" pressed in scene 2 starts scene 2 afresh: lvl2.mp3 from its beginning, the platform
# and the UFO rising 47 s later, and the end of the show as long after that press as a
# straight run's end is after its own switch, while the restarted music still plays.
# On the fixed-step clock without drawing; 1000 frames a second give the keys, which the
# test can only send as the show runs, some room: scene 2 lasts 68 s, 68000 frames.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
make_run_copy
export SDL_AUDIODRIVER=dummy KESTRUNE_NO_DRAW=1 KESTRUNE_FPS=1000
PRESS_AT=130000 # frames: 130 s, about 13 s into scene 2

# frames PATTERN: the frames of the lines "frame F: PATTERN", one a line.
frames() {
    sed -n "s/^frame \([0-9]*\): $1\$/\1/p" "$DEMO_OUT"
}

start_demo
wait_for_exit 300
[ "$DEMO_STATUS" -eq 0 ] || fail "the straight show ended with status $DEMO_STATUS"
switch=$(frames "lvl2.mp3 starts") end=$(frames "music stops")
[ -n "$switch" ] && [ -n "$end" ] || fail "the straight show has no switch or no end"
echo "straight: lvl2.mp3 starts on frame $switch, the music stops on frame $end"

start_demo
wait_for_window
xdotool windowfocus --sync "$DEMO_WINDOW"
FRAME=0
while [ "$FRAME" -lt "$PRESS_AT" ]; do key y; done
key s
pressed=$FRAME
await "^frame [0-9]+: lvl2.mp3 starts$" 10
restart=$FRAME
wait_for_exit 300
[ "$DEMO_STATUS" -eq 0 ] || fail "the show ended with status $DEMO_STATUS"

starts=$(frames "lvl2.mp3 starts" | tr '\n' ' ') stops=$(frames "music stops" | tr '\n' ' ')
[ "$starts" = "$switch $restart " ] ||
    fail "lvl2.mp3 started on frames $starts, not on $switch (the switch) and $restart (the press)"
[ "$switch" -lt "$pressed" ] || fail "\"s\" reached the demo on frame $pressed, before scene 2"
[ "$restart" -eq "$pressed" ] || fail "\"s\" on frame $pressed restarted lvl2.mp3 on frame $restart"
[ "$(echo "$stops" | wc -w)" -eq 1 ] || fail "the music stopped on frames $stops"
length=$((end - switch)) again=$((${stops%% *} - restart))
# The animation's start is held as a float: its rounding may move the end by a frame.
[ "$again" -ge $((length - 1)) ] && [ "$again" -le $((length + 1)) ] ||
    fail "the show ended $again frames after the second switch, not $length as after the first"
echo "\"s\" on frame $pressed: lvl2.mp3 again, the music stops $again frames later, on frame ${stops%% *}"

# The show ends with the music: lvl2.mp3 lasts longer than what is left of the show.
seconds=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$DEMO_DIR/lvl2.mp3")
awk -v s="$seconds" -v f="$again" 'BEGIN { exit !(s * 1000 > f) }' ||
    fail "lvl2.mp3 lasts $seconds s, it ends before the show ($again frames at 1000 fps)"
echo "PASS: lvl2.mp3 lasts $seconds s, scene 2 after the press $((again / 1000)).$((again % 1000)) s"
