# Keys as the window system delivers them to the real demo, on the fixed-step clock:
# - a key released and pressed again before the demo has read the release (it was drawing
#   a frame) is two presses: "l" so pressed three times in a row steps the glow parameter
#   three times, and an arrow so pressed gives each of its presses and releases;
# - a held key gives one press, whatever the server repeats meanwhile.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
make_run_copy
export KESTRUNE_FPS=60
start_demo
wait_for_window
await "^frame 0: bgmusic.mp3 starts"
xdotool windowfocus --sync "$DEMO_WINDOW"
after_frames 1
read -r W H < <(xdpyinfo | awk -F'[ x]+' '/dimensions:/ {print $3, $4}')

# lines PATTERN: the output's lines from the one matched last to the end that match.
lines() { awk -v from="$CURSOR" -v p="$1" 'NR > from && $0 ~ p' "$DEMO_OUT"; }
# marker: a pointer move, which the demo takes after every event sent before it.
MARK=0
marker() {
    MARK=$((MARK + 1))
    xdotool mousemove --window "$DEMO_WINDOW" $((W / 2 + MARK)) $((H / 2))
    poll 30 "the demo did not take the pointer" next_line "^frame [0-9]+: pointer $((W / 2 + MARK)) "
}

# The key goes down again while the demo has yet to read its release: the server says it
# is down when the release is read.
FROM=$CURSOR
xdotool keydown l keyup l keydown l keyup l keydown l
marker
xdotool keyup l
key y
CURSOR=$FROM
[ "$(lines '^frame [0-9]+: key l$' | wc -l)" -eq 3 ] ||
    fail "three quick presses of l gave $(lines '^frame [0-9]+: key l$' | wc -l) key events"
[ "$(lines '^dd: ' | tr '\n' ' ')" = "dd: 0.004500 dd: 0.004000 dd: 0.003500 " ] ||
    fail "three quick presses of l stepped the glow parameter to: $(lines '^dd: ' | tr '\n' ' ')"
await "^frame [0-9]+: key y$"

FROM=$CURSOR
xdotool keydown Up keyup Up keydown Up
marker
xdotool keyup Up
key y
CURSOR=$FROM
arrows=$(lines '^frame [0-9]+: special 101 ' | sed 's/.*special 101 //' | tr '\n' ' ')
[ "$arrows" = "down up down up " ] || fail "two quick presses of Up gave: $arrows"
await "^frame [0-9]+: key y$"

# Held: the server repeats the key, which a second client on the window sees as further
# presses; the demo sees one.
FROM=$CURSOR
xev -id "$DEMO_WINDOW" -event keyboard -event property >"$DEMO_DIR/xev.txt" 2>&1 &
XEV=$!
trap 'kill $XEV 2>/dev/null; stop_demo; rm -rf "$DEMO_DIR"' EXIT
# xev watches the window once it reports a change of one of its properties.
xev_watches() {
    xdotool set_window --role "probe$RANDOM" "$DEMO_WINDOW"
    grep -q '^PropertyNotify' "$DEMO_DIR/xev.txt"
}
poll 30 "xev did not watch the demo's window" xev_watches
xdotool keydown o
repeated() { [ "$(grep -c '^KeyPress' "$DEMO_DIR/xev.txt")" -ge 3 ]; }
poll 30 "the server did not repeat the held key" repeated
xdotool keyup o
key y
CURSOR=$FROM
[ "$(lines '^frame [0-9]+: key o$' | wc -l)" -eq 1 ] ||
    fail "a held o gave $(lines '^frame [0-9]+: key o$' | wc -l) key events"

key Escape
wait_for_exit 30
[ "$DEMO_STATUS" -eq 0 ] || fail "Escape ended the demo with status $DEMO_STATUS"
echo "PASS: quick presses each count, a held key once"
