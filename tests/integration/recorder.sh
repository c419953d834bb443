# Recording a camera path on the real demo: "q", four "w" with the camera moved between
# them, then "e" write "campath.xml" into the working directory, which the next start
# reads back as its second scene's path. The run folder's own file is left alone.
# SIGTERM and SIGINT finish a recording in progress.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
[ -f "$KESTRUNE_RUN_DIR/models/room.3ds" ] || skip "no generated content in $KESTRUNE_RUN_DIR"
export SDL_AUDIODRIVER=dummy

shipped_sum=$(md5sum <"$KESTRUNE_RUN_DIR/campath.xml")
make_run_copy
start_demo
wait_for_window
wait_for_output "model count" 180
sleep 2

# Before "q" the other recorder keys do nothing.
send_key w e
sleep 1
grep -q "cam " "$DEMO_OUT" && fail "w or e acted before q"

send_key q
wait_for_output "cam path started!" 10
xdotool windowactivate --sync "$DEMO_WINDOW" >/dev/null 2>&1
for node in 1 2 3 4; do
    send_key w
    # Move forward and up between nodes so they differ.
    xdotool keydown Up keydown Left
    sleep 0.4
    xdotool keyup Left keyup Up
    sleep 0.2
done
send_key e
wait_for_output "cam path finished!" 10
# A second recording is not possible in the same run.
send_key q w e
sleep 1
[ "$(grep -c 'cam path started!' "$DEMO_OUT")" -eq 1 ] || fail "q started a second recording"
[ "$(grep -c 'cam node added!' "$DEMO_OUT")" -eq 4 ] || fail "not exactly four nodes added"
send_key Escape
wait_for_exit 5
[ "$DEMO_STATUS" -eq 0 ] || fail "Escape ended with status $DEMO_STATUS"

file="$DEMO_DIR/campath.xml"
head -n 3 "$file" | tr '\n' '|' | grep -qF '<?xml version="1.0" ?>|<camerapath>|    <points amount="4">|' ||
    fail "unexpected file head: $(head -n 3 "$file")"
[ "$(grep -c '^        <pos x="-\?[0-9]*\.[0-9]\{6\}" y="-\?[0-9]*\.[0-9]\{6\}" z="-\?[0-9]*\.[0-9]\{6\}" />$' "$file")" -eq 4 ] ||
    fail "not four pos lines with six-decimal numbers: $(cat "$file")"
[ "$(grep -c '^        <view xv=.* yv=.* zv=.* />$' "$file")" -eq 4 ] || fail "not four view lines"
[ "$(sort -u <(grep '<pos ' "$file") | wc -l)" -eq 4 ] || fail "the four nodes do not differ"
ls "$DEMO_DIR" | grep -q 'campath.xml.' && fail "a temporary file was left behind"
[ "$(md5sum <"$KESTRUNE_RUN_DIR/campath.xml")" = "$shipped_sum" ] || fail "the shipped campath.xml changed"

# The next start reads the recorded file as the second scene's path.
read -r x y z < <(grep -m1 '<pos ' "$file" | sed -E 's/.*x="([^"]*)" y="([^"]*)" z="([^"]*)".*/\1 \2 \3/')
first_pos="x='$x', y='$y', z='$z'"
start_demo
wait_for_window
wait_for_output "model count" 180
wait_for_output "number of points: 4" 10
grep -qF "pos values $first_pos" "$DEMO_OUT" || fail "the first recorded node was not read back ($first_pos)"
send_key Escape
wait_for_exit 5

# SIGTERM and SIGINT finish a recording in progress as "e" would, before the music stops
# (which the fixed-step clock reports), then end the demo by the signal; a recording
# without nodes leaves the old file alone.
for sig in TERM INT; do
    cp "$KESTRUNE_RUN_DIR/campath.xml" "$file"
    start_demo env --default-signal=INT KESTRUNE_FPS=60
    wait_for_window
    wait_for_output "model count" 180
    send_key q
    wait_for_output "cam path started!" 10
    # One "w" at a time: presses of one key in quick succession look like key repeat.
    for node in 1 2 3; do
        send_key w
        for _ in $(seq 100); do
            [ "$(grep -c 'cam node added!' "$DEMO_OUT")" -eq $node ] && break
            sleep 0.1
        done
    done
    kill -$sig "$DEMO_PID"
    wait_for_exit 10
    [ "$DEMO_STATUS" -eq $((128 + $(kill -l $sig))) ] || fail "SIG$sig ended with status $DEMO_STATUS"
    tr '\n' '|' <"$DEMO_OUT" | grep -q 'cam path finished!|frame [0-9]*: music stops' ||
        fail "SIG$sig did not finish the recording before the music stopped"
    grep -qF '<points amount="3">' "$file" || fail "SIG$sig: no three-node file: $(cat "$file")"
done
before=$(md5sum <"$file")
start_demo
wait_for_window
wait_for_output "model count" 180
send_key q
wait_for_output "cam path started!" 10
kill -TERM "$DEMO_PID"
wait_for_exit 10
grep -qF "cam path not written: no nodes recorded" "$DEMO_OUT" || fail "no message for the empty recording"
[ "$(md5sum <"$file")" = "$before" ] || fail "a recording without nodes changed campath.xml"

# A path file with fewer than four nodes is reported; the demo runs on with the user
# camera in that scene.
cat >"$DEMO_DIR/campath2.xml" <<'XML'
<?xml version="1.0" ?>
<camerapath>
    <points amount="3">
        <pos x="1.000000" y="2.000000" z="3.000000" />
        <view xv="0.000000" yv="0.000000" zv="0.000000" />
        <pos x="2.000000" y="2.000000" z="3.000000" />
        <view xv="0.000000" yv="0.000000" zv="0.000000" />
        <pos x="3.000000" y="2.000000" z="3.000000" />
        <view xv="0.000000" yv="0.000000" zv="0.000000" />
    </points>
</camerapath>
XML
start_demo
wait_for_window
wait_for_output "model count" 180
wait_for_output "campath2.xml not usable" 10
sleep 3
kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended with a short path file"
send_key Escape
wait_for_exit 5
[ "$DEMO_STATUS" -eq 0 ] || fail "Escape ended with status $DEMO_STATUS"
echo "PASS"
