# The real demo draws a picture: screenshots of both scenes are neither uniform nor all
# white and hold many colours, in scene 2 the glow key and the reach key "o" change the
# picture clearly, the shaders built cleanly, and Escape ends with status 0. The PNGs are
# kept in $KESTRUNE_BIN_DIR/render_screenshots for a look.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
source "$KESTRUNE_SOURCE_DIR/tests/lib/media.sh"
[ -f "$KESTRUNE_RUN_DIR/models/room.3ds" ] || skip "no models/room.3ds in $KESTRUNE_RUN_DIR (content not generated)"

shots="$KESTRUNE_BIN_DIR/render_screenshots"
mkdir -p "$shots"

# mean (0..1), standard deviation (0..1), unique colours of a PNG.
stats() {
    convert "$1" -format '%[fx:mean] %[fx:standard_deviation] %k' info:
}

# A real picture: not uniform, not white, not black, many colours.
check_picture() {
    local png="$1" what="$2"
    read -r mean deviation colours <<<"$(stats "$png")"
    echo "$what: mean $mean, deviation $deviation, colours $colours"
    awk -v m="$mean" 'BEGIN { exit !(m < 0.92) }' || fail "$what is (nearly) all white: mean $mean"
    awk -v m="$mean" 'BEGIN { exit !(m > 0.04) }' || fail "$what is (nearly) black: mean $mean"
    awk -v d="$deviation" 'BEGIN { exit !(d > 0.03) }' || fail "$what is uniform: deviation $deviation"
    [ "$colours" -gt 500 ] || fail "$what has only $colours colours"
}

make_run_copy
export SDL_AUDIODRIVER=dummy
start_demo
wait_for_window
wait_for_output "model count" 180
sleep 5
screenshot "$shots/scene1.png"
check_picture "$shots/scene1.png" "scene 1"

# Scene 2 from a still user camera ("c"): first without the glow (the switch turns it
# off), then with it at the brightness the switch leaves, then with a longer reach ("o"
# pressed eight times). Each step must change the picture clearly: a second shot of the
# same state differs in no pixel.
send_key s
sleep 4
send_key c
sleep 2
screenshot "$shots/scene2.png"
check_picture "$shots/scene2.png" "scene 2"
sleep 1
screenshot "$shots/scene2_again.png"
expect_same_picture "$shots/scene2.png" "$shots/scene2_again.png" "scene 2, camera still"
send_key b
sleep 2
screenshot "$shots/scene2_glow.png"
check_picture "$shots/scene2_glow.png" "scene 2 with the glow on"
expect_changed_picture "$shots/scene2.png" "$shots/scene2_glow.png" "the glow turned on in scene 2"
plain=$(stats "$shots/scene2.png" | cut -d' ' -f1)
glowed=$(stats "$shots/scene2_glow.png" | cut -d' ' -f1)
awk -v p="$plain" -v g="$glowed" 'BEGIN { exit !(g > p) }' ||
    fail "the glow did not brighten scene 2: mean $plain -> $glowed"
# One press at a time: presses of one key in quick succession look like key repeat,
# which the demo ignores.
for value in 0.005500 0.006000 0.006500 0.007000 0.007500 0.008000 0.008500 0.009000; do
    send_key o
    wait_for_output "dd: $value" 10
done
sleep 2
screenshot "$shots/scene2_reach.png"
# Only the glow's halo changes; the still camera gives no difference at all otherwise.
measure_difference "$shots/scene2_glow.png" "$shots/scene2_reach.png"
[ "$DIFF" -gt $((TOTAL / 200)) ] || fail "eight presses of o: only $DIFF of $TOTAL pixels changed"
echo "changed: eight presses of o ($DIFF of $TOTAL pixels differ)"

grep -q "failed to compile\|failed to link\|shader source missing" "$DEMO_OUT" &&
    fail "a shader did not build: $(grep -A3 'failed\|missing' "$DEMO_OUT")"
[ "$(grep -c 'fbo tex: ' "$DEMO_OUT")" -eq 2 ] || fail "expected two 'fbo tex' lines"

send_key Escape
wait_for_exit 5
[ "$DEMO_STATUS" -eq 0 ] || fail "Escape ended with status $DEMO_STATUS"
echo "PASS: screenshots in $shots"
