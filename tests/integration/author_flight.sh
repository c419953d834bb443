# Author mode's camera keys through the real binary on the fixed-step clock:
# - "c" leaves the path from where the path camera is, looking where it looks: the frame
#   drawn from the user camera then is the path's picture of that frame;
# - "q" starts a new recording after one has finished, and the recording starts from there.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
make_run_copy
export KESTRUNE_FPS=60
DEMO_OUT="$DEMO_DIR/stdout.txt" CURSOR=0
(cd "$DEMO_DIR" && SDL_AUDIODRIVER=dummy exec ./kestrune --edit >"$DEMO_OUT" 2>"$DEMO_DIR/stderr.txt") &
DEMO_PID=$!
await "^edit: author mode: "
find_author_window() {
    DEMO_WINDOW=$(xdotool search --onlyvisible --name '^Kestrune \[edit\]' 2>/dev/null | head -n1)
    [ -n "$DEMO_WINDOW" ] || { running; return 1; }
}
poll 60 "no window titled Kestrune [edit]" find_author_window
xdotool windowactivate --sync "$DEMO_WINDOW" 2>/dev/null || xdotool windowfocus --sync "$DEMO_WINDOW"
edit() {
    xdotool key "$1"
    await "^edit: $2"
}
shot() {
    import -window "$DEMO_WINDOW" "$DEMO_DIR/$1.png"
}

edit p "paused at frame"
edit braceright "seek \\+10 s to frame"
frame=${LINE#*to frame } frame=${frame%% *}
shot path
edit c "free flight from the path camera at "
read -r x y z < <(sed 's/.*camera at (\([^,]*\), \([^,]*\), \([^)]*\)).*/\1 \2 \3/' <<<"$LINE")
# The same frame again, now seen from the user camera.
edit comma "step back to frame $((frame - 1)) "
edit period "step forward to frame $frame "
shot flight
rmse=$(compare -metric RMSE "$DEMO_DIR/path.png" "$DEMO_DIR/flight.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
echo "frame $frame from the path and from the user camera placed by c: RMSE $rmse"
awk -v d="$rmse" 'BEGIN { exit !(d < 0.01) }' ||
    fail "after c the user camera does not see what the path camera saw (RMSE $rmse)"

# Two recordings in one run: the second from where the first left the camera.
key q w e
await "cam path finished!"
key q
await "^edit: a new recording"
await "cam path started!"
key w w e
await "cam path finished!"
amount=$(sed -n 's/.*amount="\([0-9]*\)".*/\1/p' "$DEMO_DIR/campath.xml")
[ "$amount" = 2 ] || fail "the second recording holds $amount nodes, not 2"
read -r px py pz < <(sed -n 's/.*<pos x="\([^"]*\)" y="\([^"]*\)" z="\([^"]*\)".*/\1 \2 \3/p' "$DEMO_DIR/campath.xml" | head -n1)
awk -v a="$px $py $pz" -v b="$x $y $z" 'BEGIN { split(a, p, " "); split(b, q, " ")
    for (i = 1; i <= 3; i++) if (p[i] - q[i] > 0.001 || q[i] - p[i] > 0.001) exit 1 }' ||
    fail "the recording's node is at ($px, $py, $pz), not at the path camera's ($x, $y, $z)"
echo "second recording: $amount nodes, from the path camera's place ($px, $py, $pz)"
key Escape
wait_for_exit 20
[ "$DEMO_STATUS" -eq 0 ] || fail "Escape ended author mode with status $DEMO_STATUS"
echo PASS
