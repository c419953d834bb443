# The real demo starts full screen with the title "Kestrune", reports the screen size,
# and Escape ends it with status 0; a missing model, a file that is not a model, and a
# directory or FIFO in a model's place end start-up with status 1 and a message.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
[ -f "$KESTRUNE_RUN_DIR/models/room.3ds" ] || skip "no generated content in $KESTRUNE_RUN_DIR"

make_run_copy
start_demo
wait_for_window
wait_for_output "model count" 180
size=$(xdpyinfo | awk '/dimensions:/ {print $2}')
width=${size%x*}
height=${size#*x}

# The window covers the screen once it has gone full screen.
for _ in $(seq 100); do
    geometry=$(xdotool getwindowgeometry "$DEMO_WINDOW")
    echo "$geometry" | grep -q "Position: 0,0" && echo "$geometry" | grep -q "Geometry: ${width}x${height}" && break
    sleep 0.1
done
echo "$geometry" | grep -q "Position: 0,0" || fail "window not at the screen's corner: $geometry"
echo "$geometry" | grep -q "Geometry: ${width}x${height}" || fail "window does not cover ${width}x${height}: $geometry"

grep -qF "**********************************w: $width - h: $height" "$DEMO_OUT" || fail "no desktop size line"
grep -qF "2222 w: $width - h: $height" "$DEMO_OUT" || fail "no second size line"
# The first line starts with a line break and 34 asterisks exactly.
[ "$(head -c 1 "$DEMO_OUT" | od -An -c | tr -d ' ')" = '\n' ] || fail "output does not start with a line break"
grep -qE '^\*{34}w:' "$DEMO_OUT" || fail "size line does not have 34 asterisks"

sleep 2
send_key Escape
wait_for_exit 2
[ "$DEMO_STATUS" -eq 0 ] || fail "Escape ended with status $DEMO_STATUS"

# A missing model file is fatal: its message and status 1.
rm "$DEMO_DIR/models"
mkdir "$DEMO_DIR/models"
for f in "$KESTRUNE_RUN_DIR"/models/*; do ln -s "$f" "$DEMO_DIR/models/"; done
rm "$DEMO_DIR/models/port.3ds"
start_demo
wait_for_exit 120
[ "$DEMO_STATUS" -eq 1 ] || fail "missing model ended with status $DEMO_STATUS, not 1"
grep -qF "Unable to find the file: models/port.3ds!" "$DEMO_OUT" || fail "no message naming the missing model"

# A file that is not a 3DS file is fatal too.
rm "$DEMO_DIR/models/ufo.3ds"
printf 'this is not a model' >"$DEMO_DIR/models/ufo.3ds"
ln -s "$KESTRUNE_RUN_DIR/models/port.3ds" "$DEMO_DIR/models/port.3ds"
start_demo
wait_for_exit 120
[ "$DEMO_STATUS" -eq 1 ] || fail "a non-3DS model ended with status $DEMO_STATUS, not 1"
grep -qF "models/ufo.3ds" "$DEMO_OUT" || fail "no message naming the bad model"

# A directory or a FIFO named as a model is fatal, with a message, at once.
rm "$DEMO_DIR/models/ufo.3ds"
ln -s "$KESTRUNE_RUN_DIR/models/ufo.3ds" "$DEMO_DIR/models/ufo.3ds"
for kind in directory FIFO; do
    rm -rf "$DEMO_DIR/models/room.3ds"
    if [ $kind = directory ]; then mkdir "$DEMO_DIR/models/room.3ds"; else mkfifo "$DEMO_DIR/models/room.3ds"; fi
    start_demo
    wait_for_exit 120
    [ "$DEMO_STATUS" -eq 1 ] || fail "a $kind as a model ended with status $DEMO_STATUS, not 1"
    grep -qF "Unable to read the file: models/room.3ds! (a $kind)" "$DEMO_OUT" ||
        fail "no message naming the $kind"
done

echo "PASS"
