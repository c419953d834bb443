# The keys on the real demo: out of path mode the picture holds still until Up is held,
# and stops again on release; the pointer turns the view also with a button held; "l"
# and "o" step the glow parameter and print it; "b" in the second scene is harmless;
# Escape ends the demo with status 0 within two seconds.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
source "$KESTRUNE_SOURCE_DIR/tests/lib/media.sh"
[ -f "$KESTRUNE_RUN_DIR/models/room.3ds" ] || skip "no generated content in $KESTRUNE_RUN_DIR"

make_run_copy
export SDL_AUDIODRIVER=dummy
start_demo
wait_for_window
wait_for_output "model count" 180
sleep 3

# Leave the camera path: the user camera stands still while no key is held.
send_key c
sleep 2
screenshot "$DEMO_DIR/still1.png"
sleep 1
screenshot "$DEMO_DIR/still2.png"
expect_same_picture "$DEMO_DIR/still1.png" "$DEMO_DIR/still2.png" "user camera with no key held"

# Up held moves the camera forward; the release stops it.
xdotool windowactivate --sync "$DEMO_WINDOW" >/dev/null 2>&1
xdotool keydown Up
sleep 1.5
xdotool keyup Up
sleep 2
screenshot "$DEMO_DIR/moved1.png"
expect_changed_picture "$DEMO_DIR/still2.png" "$DEMO_DIR/moved1.png" "Up held for 1.5 s"
sleep 1.5
screenshot "$DEMO_DIR/moved2.png"
expect_same_picture "$DEMO_DIR/moved1.png" "$DEMO_DIR/moved2.png" "after Up was released"

# Mouse look goes on while a mouse button is held.
xdotool mousemove --sync 640 360
sleep 1.5
screenshot "$DEMO_DIR/look1.png"
xdotool mousedown 1
for _ in 1 2 3 4 5; do
    xdotool mousemove_relative -- 60 0
    sleep 0.2
done
xdotool mouseup 1
sleep 1.5
screenshot "$DEMO_DIR/look2.png"
expect_changed_picture "$DEMO_DIR/look1.png" "$DEMO_DIR/look2.png" "pointer moved with a button held"

# The glow parameter: one step down, one up, each printed with six decimals.
send_key l
send_key o
wait_for_output "dd: 0.005000" 10
tr '\n' '|' <"$DEMO_OUT" | grep -qF '|dd: 0.004500|dd: 0.005000' ||
    fail "dd messages not in order or not on their own lines"
# Upper-case letters do nothing: no message.
send_key L O
sleep 1
[ "$(grep -c '^dd: ' "$DEMO_OUT")" -eq 2 ] || fail "upper-case L or O printed a dd line"

# "x" binds a program between frames; "b" toggles the glow pass in the second scene.
# The demo goes on drawing.
send_key x
sleep 1
send_key x s
sleep 2
send_key b
sleep 1
send_key b
sleep 1
kill -0 "$DEMO_PID" 2>/dev/null || fail "demo ended after the x or b key"

# Escape: status 0 within two seconds.
send_key Escape
wait_for_exit 2
[ "$DEMO_STATUS" -eq 0 ] || fail "Escape ended with status $DEMO_STATUS"
keep_shots
echo "PASS"
