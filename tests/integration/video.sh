# make video's renderer on 116 to 118 s of the show at 320x180 and 60 fps: 120 frames; the
# picture turns to scene 2 on frame 41 (the show's 7002nd, after the switch on 7001); the
# sound is bgmusic.mp3 from 116 s and lvl2.mp3 from 41/60 s, within a frame. A start
# reached without drawing, and frames chosen alone (--frames), draw the same pixels as a
# run drawn through the switch.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
source "$KESTRUNE_SOURCE_DIR/tests/lib/media.sh"
[ -f "$KESTRUNE_RUN_DIR/lvl2.mp3" ] || skip "no generated content in $KESTRUNE_RUN_DIR"
[ -x "$AUDIO_MATCH" ] || fail "no audio matcher at $AUDIO_MATCH"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

VIDEO_SIZE=320x180 VIDEO_FPS=60 "$KESTRUNE_SOURCE_DIR/scripts/record-video" \
    "$KESTRUNE_BIN_DIR" "$out/range.mp4" 116 118 || fail "record-video failed"

picture=$(ffprobe -v error -select_streams v:0 -show_entries stream=nb_frames,r_frame_rate \
    -of csv=p=0 "$out/range.mp4")
[ "$picture" = "60/1,120" ] || fail "picture: $picture, not 120 frames at 60/1"

# The frame whose mean brightness differs most from the one before.
switch_frame=$(ffmpeg -v error -i "$out/range.mp4" -vf scale=16:9,format=gray -f rawvideo - |
    od -An -v -tu1 -w144 | awk '
        { s = 0; for (i = 1; i <= NF; i++) s += $i; mean[NR - 1] = s / NF }
        END { for (f = 1; f < NR; f++) { d = mean[f] - mean[f - 1]; d = d < 0 ? -d : d
                                         if (d > best) { best = d; at = f } }
              print at }')
[ "$switch_frame" = 41 ] || fail "the picture changes on frame $switch_frame, not 41"

ffmpeg -v error -i "$out/range.mp4" -f s16le -ac 2 -ar 44100 "$out/sound.raw" ||
    fail "cannot decode the sound"
ffmpeg -v error -ss 115 -t 2 -i "$KESTRUNE_RUN_DIR/bgmusic.mp3" -f s16le -ac 2 -ar 44100 \
    "$out/bgmusic.raw" || fail "cannot decode bgmusic.mp3"
decode_start "$KESTRUNE_RUN_DIR/lvl2.mp3" 1 "$out/lvl2.raw"
read -r bg_at bg_score < <("$AUDIO_MATCH" "$out/bgmusic.raw" "$out/sound.raw" 0 0.5)
read -r lvl2_at lvl2_score < <("$AUDIO_MATCH" "$out/sound.raw" "$out/lvl2.raw" 0 0.5)
echo "sound: bgmusic from $(awk -v a="$bg_at" 'BEGIN {print 115 + a}') s (score $bg_score)," \
    "lvl2 starts at $lvl2_at s (score $lvl2_score); the picture switches at $(awk 'BEGIN {print 41 / 60}') s"
awk -v a="$bg_at" -v s="$bg_score" 'BEGIN {exit !(s > 0.9 && a > 1 - 1 / 60 && a < 1 + 1 / 60)}' ||
    fail "the sound does not start 116 s into bgmusic.mp3"
awk -v a="$lvl2_at" -v s="$lvl2_score" 'BEGIN {exit !(s > 0.9 && a > 40 / 60 && a < 42 / 60)}' ||
    fail "lvl2.mp3 does not start with the picture's switch"

# One run draws frames 6991 to 7050 through the switch, the other starts at 7021.
capture() {
    (cd "$KESTRUNE_RUN_DIR" && KESTRUNE_SCREEN=320x180 KESTRUNE_NO_WM=1 \
        "$KESTRUNE_SOURCE_DIR/scripts/with-xvfb" "$KESTRUNE_BIN_DIR/kestrune-capture" \
        "$@" --raw /dev/null >/dev/null) || fail "kestrune-capture $* failed"
}
capture --from 116.5 --to 117.5 --checksums "$out/drawn.sums"
capture --from 117 --to 117.5 --checksums "$out/skipped.sums"
[ "$(wc -l <"$out/skipped.sums")" -eq 30 ] || fail "not 30 frames from 117 to 117.5 s"
[ "$(tail -n 30 "$out/drawn.sums")" = "$(cat "$out/skipped.sums")" ] ||
    fail "frames after a start reached without drawing differ: $(diff <(tail -n 30 "$out/drawn.sums") "$out/skipped.sums" | head -n 4)"
# The last frame of scene 1, the first of scene 2 and one after, asked out of order.
capture --frames 7050,7001,7002,7001 --checksums "$out/chosen.sums"
[ "$(cat "$out/chosen.sums")" = "$(grep -E '^(7001|7002|7050) ' "$out/drawn.sums")" ] ||
    fail "chosen frames differ from the same frames drawn in a row: $(cat "$out/chosen.sums")"
echo "PASS"
