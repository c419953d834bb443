# The real demo starts full screen with the title "Kestrune", reports the screen size, opens
# the sound (SDL's dummy driver), and Escape ends it with status 0, also with broken shader
# files, which it names. SIGINT and closing the window finish a recording in progress
# before the music stops. A scene-1 path of three nodes is reported and the whole show
# still runs to its end without its music files (on the fixed step, without drawing). A
# missing model ends start-up with status 1 and its message; a lost display ends the demo.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
make_run_copy
start_demo
wait_for_window
await "model count"
read -r W H < <(xdpyinfo | awk -F'[ x]+' '/dimensions:/ {print $3, $4}')

# The window covers the screen once it has gone full screen: the request goes out after
# loading, and the window manager acts on it in its own time, which on a busy machine is long.
covers() {
    [ "$(xwininfo -id "$DEMO_WINDOW" | awk '/Absolute|Width|Height/ {printf "%s ", $NF}')" = "0 0 $W $H " ]
}
poll 120 "the window does not cover the ${W}x$H screen" covers
# The first line is empty: the size line starts with a line break and 34 asterisks.
[ "$(head -n 3 "$DEMO_OUT")" = "$(printf '\n%s\n%s' "**********************************w: $W - h: $H" "2222 w: $W - h: $H")" ] ||
    fail "the size lines: $(head -n 3 "$DEMO_OUT")"
grep -q "failed to compile\|failed to link\|shader source missing" "$DEMO_OUT" &&
    fail "a shader did not build: $(grep -A3 'failed\|missing' "$DEMO_OUT")"
grep -q "no sound" "$DEMO_OUT" && fail "the sound did not open: $(grep 'no sound' "$DEMO_OUT")"

xdotool windowactivate --sync "$DEMO_WINDOW" key Escape
wait_for_exit 30
[ "$DEMO_STATUS" -eq 0 ] || fail "Escape ended with status $DEMO_STATUS"

# Broken shader files (neon.vs missing, flat.fs empty, Fragment.fs not GLSL) are named, and
# start-up goes on to the event loop.
rm "$DEMO_DIR/shader" && cp -r "$KESTRUNE_RUN_DIR/shader" "$DEMO_DIR/" && rm "$DEMO_DIR/shader/neon.vs"
: >"$DEMO_DIR/shader/flat.fs"
printf '#version 130\nvoid main() { x }\n' >"$DEMO_DIR/shader/Fragment.fs"
start_demo
wait_for_window
await "model count"
for message in "shader source missing or empty: shader/neon.vs" "shader/Fragment.fs failed to compile:" \
    "shader source missing or empty: shader/flat.fs" "shader/neon.vs and shader/neon.fs failed to link" \
    "shader/flat.vs and shader/flat.fs failed to link"; do
    grep -qF "$message" "$DEMO_OUT" || fail "no message: $message"
done
xdotool windowactivate --sync "$DEMO_WINDOW" key Escape
wait_for_exit 30
[ "$DEMO_STATUS" -eq 0 ] || fail "Escape ended the demo with broken shaders with status $DEMO_STATUS"
rm -r "$DEMO_DIR/shader" && ln -s "$KESTRUNE_RUN_DIR/shader" "$DEMO_DIR/"

# record WAY NODES: a recording of that many nodes, then a way out that ends the demo: a
# signal, or "close", the window manager's Alt+F4.
record() {
    cp "$KESTRUNE_RUN_DIR/campath.xml" "$DEMO_DIR/"
    start_demo env --default-signal=INT KESTRUNE_FPS=60
    wait_for_window
    await "^frame 0: bgmusic.mp3 starts"
    xdotool windowactivate --sync "$DEMO_WINDOW"
    key q
    for _ in $(seq "$2"); do
        key w
        await "cam node added!"
    done
    if [ "$1" = close ]; then xdotool key alt+F4; else kill -"$1" "$DEMO_PID"; fi
    wait_for_exit 30
    local status=0
    [ "$1" = close ] || status=$((128 + $(kill -l "$1")))
    [ "$DEMO_STATUS" -eq "$status" ] || fail "$1 ended the demo with status $DEMO_STATUS"
}
record INT 3
tr '\n' '|' <"$DEMO_OUT" | grep -q 'cam path finished!|frame [0-9]*: music stops' ||
    fail "SIGINT did not finish the recording before the music stopped"
grep -qF '<points amount="3">' "$DEMO_DIR/campath.xml" || fail "SIGINT: no three-node campath.xml"
record close 2
grep -qF '<points amount="2">' "$DEMO_DIR/campath.xml" || fail "closing the window lost the recording"

# Three nodes in the scene-1 path: reported, and scene 1 is seen from the user camera.
# Without its music files the demo plays silent.
awk '/<pos |<view / && ++n > 6 {next} 1' "$KESTRUNE_RUN_DIR/campath2.xml" >"$DEMO_DIR/campath2.xml"
rm "$DEMO_DIR/bgmusic.mp3" "$DEMO_DIR/lvl2.mp3"
KESTRUNE_FPS=10 KESTRUNE_NO_DRAW=1 start_demo
wait_for_exit 120
[ "$DEMO_STATUS" -eq 0 ] || fail "the show with a short path ended with status $DEMO_STATUS"
grep -q "campath2.xml not usable" "$DEMO_OUT" || fail "no message for the short path"
grep -q "^frame [0-9]*: music stops" "$DEMO_OUT" || fail "the show with a short path did not end"

rm "$DEMO_DIR/models"
mkdir "$DEMO_DIR/models"
ln -s "$KESTRUNE_RUN_DIR"/models/* "$DEMO_DIR/models/"
rm "$DEMO_DIR/models/port.3ds"
start_demo
wait_for_exit 120
[ "$DEMO_STATUS" -eq 1 ] || fail "status $DEMO_STATUS, not 1, without port.3ds"
grep -qF "Unable to find the file: models/port.3ds!" "$DEMO_OUT" || fail "no message for port.3ds"

# A display that goes away (its server ended) ends the demo as closing the window does: one
# line, status 0, none of the X library's fatal-error report. The demo gets a display of
# its own here, so that the test's display stays.
ln -sf "$KESTRUNE_RUN_DIR/models/port.3ds" "$DEMO_DIR/models/"
exec 3>"$DEMO_DIR/display"
Xvfb -displayfd 3 -screen 0 640x360x24 -nolisten tcp +extension GLX >/dev/null 2>&1 &
own_xvfb=$!
trap 'stop_demo; kill $own_xvfb 2>/dev/null; rm -rf "$DEMO_DIR"' EXIT
exec 3>&-
poll 30 "the demo's own display did not start" test -s "$DEMO_DIR/display"
DISPLAY=":$(head -n1 "$DEMO_DIR/display")" start_demo
await "model count"
kill "$own_xvfb"
wait_for_exit 60
[ "$DEMO_STATUS" -eq 0 ] || fail "the display went away, and the demo ended with status $DEMO_STATUS"
grep -q "the display closed" "$DEMO_OUT" || fail "no line for the display that went away"
grep -q "XIO" "$DEMO_OUT" "$DEMO_DIR/stderr.txt" && fail "the X library's report: $(cat "$DEMO_DIR/stderr.txt")"
echo "PASS"
