# One run of the real demo on the fixed-step clock, driven by keys and the pointer; the demo
# prints the frame after which it took each event, and SDL's disk driver writes the sound.
# - Scene 1 is a real picture. The recorder ("q", "w", "e") stores the user camera ("c"):
#   Up held for k frames moves it k quarters of its view forward; a pointer move (dx, dy)
#   turns it dx/1000 left and dy/1000 up, and the view holds after the warp back. The same
#   with a button held in a window of half the screen, which shows the same picture.
# - "s" switches to scene 2 and starts lvl2.mp3, heard from its beginning, as after a second
#   "s"; there "b" brightens the picture and "o" widens the glow. Escape ends with status 0.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
source "$KESTRUNE_SOURCE_DIR/tests/lib/media.sh"
[ -x "$AUDIO_MATCH" ] || fail "no audio matcher at $AUDIO_MATCH"
make_run_copy
export KESTRUNE_FPS=60 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$DEMO_DIR/sound.raw"
start_demo
wait_for_window
await "^frame 0: bgmusic.mp3 starts"
read -r W H < <(xdpyinfo | awk -F'[ x]+' '/dimensions:/ {print $3, $4}')
# Without a window manager the window is ours to place, once the first frames have made
# it full screen: over the whole screen, the pointer at its centre.
after_frames 1
xdotool windowmove "$DEMO_WINDOW" 0 0 windowfocus --sync "$DEMO_WINDOW"
CX=$((W / 2)) CY=$((H / 2))
point $((CX + 1)) "$CY"
point "$CX" "$CY"
# shot NAME [WxH+X+Y]: the screen, or that part of it, two frames on.
shot() {
    after_frames 2
    import -window root ${2:+-crop "$2"} +repage "$DEMO_DIR/$1.png"
}
shot scene1
check_picture "$DEMO_DIR/scene1.png" "scene 1"

key c
key q w
shot still
up_arrow down
after_frames 3
up_arrow up
shot moved
expect_changed_picture "$DEMO_DIR/still.png" "$DEMO_DIR/moved.png" "Up held"
key w
after_frames 2
key w
# look DX DY: the pointer DX, DY from the centre; after the warp back a node, and another
# a few frames later.
look() {
    point $((CX + $1)) $((CY + $2))
    pointer_at "$CX" "$CY"
    key w
    after_frames 3
    key w
}
look $((-W / 8)) $((-H / 8))
shot turned
# Resized on the path, so that mouse look does not chase the pointer meanwhile.
key c
xdotool windowmove "$DEMO_WINDOW" $((W / 4)) $((H / 4)) windowsize "$DEMO_WINDOW" $((W / 2)) $((H / 2))
CX=$((W / 4)) CY=$((H / 4)) GEOMETRY="$((W / 2))x$((H / 2))+$((W / 4))+$((H / 4))"
point $((CX + 1)) "$CY"
point "$CX" "$CY"
key c
shot small "$GEOMETRY"
xdotool mousedown 1
look $((W / 16)) $((H / 16))
xdotool mouseup 1
key e
await "cam path finished!"

# Node by node, how far the eye moved (x, y, z) and the view turned (left, up) since the
# node before. Up moved the camera along -z during k frames.
k=$(awk '/^frame [0-9]+: special 101 (down|up)$/ {
             f = $2 + 0; if (down) k += f - last; last = f; down = $5 == "down" }
         END { print k }' "$DEMO_OUT")
steps=$(awk -F'"' 'function r(v) { v = sprintf("%.4f", v); return v == "-0.0000" ? "0.0000" : v }
    /<pos / { x = $2; y = $4; z = $6 }
    /<view / { yaw = atan2(x - $2, z - $6); up = atan2($4 - y, sqrt((x - $2) ^ 2 + (z - $6) ^ 2))
               if (n++) printf "%s %s %s %s %s, ", r(x - X), r(y - Y), r(z - Z), r(yaw - YAW), r(up - UP)
               X = x; Y = y; Z = z; YAW = yaw; UP = up }' "$DEMO_DIR/campath.xml")
expected=$(awk -v k="$k" -v W="$W" -v H="$H" 'BEGIN { still = "0.0000 0.0000 0.0000 0.0000 0.0000, "
    printf "0.0000 0.0000 %.4f 0.0000 0.0000, %s", -0.25 * k, still
    printf "0.0000 0.0000 0.0000 %.4f %.4f, %s", int(W / 8) / 1000, int(H / 8) / 1000, still
    printf "0.0000 0.0000 0.0000 %.4f %.4f, %s", -int(W / 16) / 1000, -int(H / 16) / 1000, still }')
[ "$steps" = "$expected" ] || fail "the camera moved and turned by
$steps, not by
$expected"
echo "camera: Up held for $k frames, turned by the pointer and still afterwards"

# The small window shows the full-screen picture, smaller (its glow is a little wider).
rmse=$(convert "$DEMO_DIR/turned.png" -resize "$((W / 2))x$((H / 2))!" png:- |
    compare -metric RMSE - "$DEMO_DIR/small.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
awk -v d="$rmse" 'BEGIN { exit !(d < 0.1) }' ||
    fail "the small window's picture is not the full-screen one, smaller (RMSE $rmse)"
echo "small window: the full-screen picture, smaller (RMSE $rmse)"

# switch: "s" after 3.5 s more sound; STARTS gets the milliseconds of sound written before
# the key and after the demo started lvl2.mp3 for it.
sound_at() {
    poll 60 "no $1 ms of sound" sound_reached "$1"
}
sound_reached() {
    SOUND=$(($(stat -c %s "$DEMO_DIR/sound.raw") * 1000 / AUDIO_BYTES_PER_SECOND))
    [ "$SOUND" -ge "$1" ] || { running; return 1; }
}
switch() {
    sound_at $((SOUND + 3500))
    local before=$SOUND
    key s
    await "^frame [0-9]+: lvl2.mp3 starts$"
    sound_at 0
    STARTS+=("$before $SOUND")
}
SOUND=0 STARTS=()
switch
shot scene2 "$GEOMETRY"
check_picture "$DEMO_DIR/scene2.png" "scene 2"
plain=$MEAN
expect_changed_picture "$DEMO_DIR/small.png" "$DEMO_DIR/scene2.png" "the switch to scene 2"
shot still2 "$GEOMETRY"
[ "$(compare -metric AE "$DEMO_DIR/scene2.png" "$DEMO_DIR/still2.png" null: 2>&1)" = 0 ] ||
    fail "scene 2 changed from a still camera"
key b
shot glow "$GEOMETRY"
check_picture "$DEMO_DIR/glow.png" "scene 2 with the glow"
expect_changed_picture "$DEMO_DIR/scene2.png" "$DEMO_DIR/glow.png" "the glow turned on in scene 2"
awk -v p="$plain" -v g="$MEAN" 'BEGIN { exit !(g > p) }' || fail "the glow did not brighten scene 2"
key o o o o o o o o
shot reach "$GEOMETRY"
expect_changed_picture "$DEMO_DIR/glow.png" "$DEMO_DIR/reach.png" "eight presses of o" 200
key x
switch
sound_at $((SOUND + 3500))
key Escape
wait_for_exit 10
[ "$DEMO_STATUS" -eq 0 ] || fail "Escape ended the demo with status $DEMO_STATUS"

# bgmusic.mp3 is heard from the start, lvl2.mp3 from its beginning at each "s", give or
# take the decoders' delays. Its first three seconds are found nowhere else in it.
decode_start "$DEMO_DIR/bgmusic.mp3" 3 "$DEMO_DIR/bgmusic.raw"
decode_start "$DEMO_DIR/lvl2.mp3" 3 "$DEMO_DIR/lvl2.raw"
heard() {
    read -r at score < <("$AUDIO_MATCH" "$DEMO_DIR/sound.raw" "$DEMO_DIR/$1.raw" 0 3 \
        "$(awk -v t="$2" 'BEGIN { print t / 1000 }')" "$(awk -v t="$3" 'BEGIN { print t / 1000 }')")
    echo "$1 heard from ${at}s (score $score), looked for from $2 to $3 ms"
    awk -v s="$score" 'BEGIN { exit !(s > 0.9) }' || fail "$1 does not start from $2 to $3 ms"
}
heard bgmusic 0 300
for start in "${STARTS[@]}"; do
    read -r before after <<<"$start"
    heard lvl2 $((before - 100)) $((after + 200))
done
mkdir -p "$KESTRUNE_BIN_DIR/session" && cp "$DEMO_DIR"/*.png "$KESTRUNE_BIN_DIR/session/"
echo "PASS: screenshots in $KESTRUNE_BIN_DIR/session"
