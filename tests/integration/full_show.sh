# The whole show, unattended: scene 1 for 115 seconds and its fade, the switch by itself
# to scene 2 with "lvl2.mp3", the animation 47 seconds later and the final fade, after
# which the demo ends with status 0, about three minutes after start.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
source "$KESTRUNE_SOURCE_DIR/tests/lib/media.sh"
start_demo_with_sound
started=$(date +%s)

# Pictures along the way (KESTRUNE_KEEP_SHOTS=DIR keeps them for a person to look at).
shots=(60 150 200)
for at in "${shots[@]}"; do
    while [ $(($(date +%s) - started)) -lt "$at" ]; do
        kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended after $(($(date +%s) - started))s"
        sleep 1
    done
    screenshot "$DEMO_DIR/show-$at.png"
done

# Our own watchdog: the show lasts 178 s plus two fades of a few hundred frames.
wait_for_exit 420
elapsed=$(($(date +%s) - started))
echo "the show ended after ${elapsed}s with status $DEMO_STATUS"
[ "$DEMO_STATUS" -eq 0 ] || fail "the show ended with status $DEMO_STATUS"
[ "$elapsed" -ge 178 ] || fail "the show ended after ${elapsed}s, before its 178 s"
expect_changed_picture "$DEMO_DIR/show-60.png" "$DEMO_DIR/show-150.png" "scene 1 to scene 2"

# The switch came by itself, after 115 s: lvl2.mp3 starts in the sound after that.
decode_start "$DEMO_DIR/lvl2.mp3" 3 "$DEMO_DIR/lvl2.raw"
tail -c +$((110 * AUDIO_BYTES_PER_SECOND + 1)) "$DEMO_DIR/sound.raw" >"$DEMO_DIR/late.raw"
read -r lvl2_at lvl2_score < <("$AUDIO_MATCH" "$DEMO_DIR/late.raw" "$DEMO_DIR/lvl2.raw" 0.5 1.0)
echo "lvl2 0.5s heard $lvl2_at s after the 110 s mark (score $lvl2_score)"
awk -v s="$lvl2_score" 'BEGIN {exit !(s > 0.9)}' || fail "lvl2.mp3 not heard after 110 s"
awk -v a="$lvl2_at" 'BEGIN {exit !(a > 5.0)}' || fail "lvl2.mp3 started before 115 s"
keep_shots
echo "PASS"
