# Author mode (kestrune --edit) through the real binary on the fixed-step clock, with SDL's
# disk driver writing the sound:
# - the window is 1280x720 and its title says the time, the scene and the frame;
# - every seek, step and scene start lands on the frame a straight run draws: its checksum
#   (the key k) equals the one kestrune-capture writes for that frame;
# - the music follows: after a seek it is heard from the show's time (bgmusic.mp3 in scene
#   1, lvl2.mp3 from the switch in scene 2), and a pause is silent.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
source "$KESTRUNE_SOURCE_DIR/tests/lib/media.sh"
[ -x "$AUDIO_MATCH" ] || fail "no audio matcher at $AUDIO_MATCH"
CAPTURE="$KESTRUNE_BIN_DIR/kestrune-capture"
[ -x "$CAPTURE" ] || fail "no kestrune-capture at $CAPTURE"
make_run_copy
export KESTRUNE_FPS=60 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$DEMO_DIR/sound.raw"
DEMO_OUT="$DEMO_DIR/stdout.txt" CURSOR=0
(cd "$DEMO_DIR" && exec ./kestrune --edit >"$DEMO_OUT" 2>"$DEMO_DIR/stderr.txt") &
DEMO_PID=$!
await "^edit: author mode: "
[[ "$LINE" =~ scene\ 2\ from\ frame\ ([0-9]+),\ the\ last\ frame\ ([0-9]+) ]] ||
    fail "the author mode's first line names no scene 2 start and last frame: $LINE"
S=${BASH_REMATCH[1]} LAST=${BASH_REMATCH[2]}
find_author_window() {
    DEMO_WINDOW=$(xdotool search --onlyvisible --name '^Kestrune \[edit\]' 2>/dev/null | head -n1)
    [ -n "$DEMO_WINDOW" ] || { running; return 1; }
}
poll 60 "no window titled Kestrune [edit]" find_author_window
xdotool windowactivate --sync "$DEMO_WINDOW" 2>/dev/null || xdotool windowfocus --sync "$DEMO_WINDOW"
read -r w h < <(xdotool getwindowgeometry "$DEMO_WINDOW" | awk '/Geometry:/ { split($2, s, "x"); print s[1], s[2] }')
[ "$w $h" = "1280 720" ] || fail "the author window is ${w}x$h, not 1280x720"

# edit KEY PATTERN: presses the key and waits for its "edit:" line; sets AT (frame) and SECONDS_AT.
edit() {
    xdotool key "$1"
    await "^edit: $2"
    [[ "$LINE" =~ frame\ ([0-9]+)\ \(([0-9.]+)\ s ]] && AT=${BASH_REMATCH[1]} SECONDS_AT=${BASH_REMATCH[2]}
    return 0
}
sound_now() {
    SOUND=$(($(stat -c %s "$DEMO_DIR/sound.raw" 2>/dev/null || echo 0) * 1000 / AUDIO_BYTES_PER_SECOND))
}
sound_reached() {
    sound_now
    [ "$SOUND" -ge "$1" ] || { running; return 1; }
}
sound_at() {
    poll 60 "no $1 ms of sound" sound_reached "$1"
}

# --- the music after seeks, and pauses ---
# HEARD entries: file, seconds into it, and where in the sound it must start (ms): from the
# sound written before the key to the sound written after its line, or from where the sound
# comes back after a pause, when the seek was made while paused.
HEARD=() PAUSES=()
sound_at 1000
sound_now
before=$SOUND
edit braceright "seek \\+10 s to frame [0-9]+ \\([0-9.]+ s, scene 1\\)"
sound_now
HEARD+=("bgmusic $(awk -v a="$AT" 'BEGIN { printf "%.4f", a / 60 }') $before $SOUND")
sound_at $((SOUND + 3200))
# pause_seek_play KEY PATTERN FILE START_FRAME: paused, the seek, then on: the file is heard
# from (AT - START_FRAME) / 60 s where the silence ends.
pause_seek_play() {
    edit p "paused at"
    sound_now
    PAUSES+=("$SOUND")
    sound_at $((SOUND + 1200))
    edit "$1" "$2"
    local at=$AT
    edit p "playing at frame $at "
    HEARD+=("$3 $(awk -v a="$at" -v o="$4" 'BEGIN { printf "%.4f", (a - o) / 60 }') resume ${PAUSES[-1]}")
    sound_now
    sound_at $((SOUND + 3200))
}
# lvl2.mp3 starts in the frame of the switch, the one before scene 2's first.
pause_seek_play 2 "start of scene 2: frame $S " lvl2 $((S - 1))
pause_seek_play braceleft "seek -10 s to frame [0-9]+ \\([0-9.]+ s, scene 1\\)" bgmusic 0
edit p "paused at"

# --- frames reached every way, against a straight run ---
checksum() {
    edit k "frame [0-9]+ checksum "
    SUMS+=("${LINE#edit: frame }")
}
SUMS=()
# (Frame 1 is left out: kestrune-capture draws its very first frame before its window has
# its full size.)
edit 1 "start of scene 1: frame 1 "
edit period "step forward to frame 2 "
checksum
edit period "step forward to frame 3 "
checksum
edit bracketright "seek \\+1 s to frame 63 "
checksum
edit braceright "seek \\+10 s to frame 663 "
checksum
edit 2 "start of scene 2: frame $S "
checksum
edit comma "step back to frame $((S - 1)) "
checksum
edit braceleft "seek -10 s to frame $((S - 601)) "
checksum
edit 2 "start of scene 2"
for _ in 1 2 3 4 5 6; do edit braceright "seek \\+10 s"; done
[ "$AT" -eq $((S + 3600)) ] || fail "six seeks of 10 s from frame $S reached frame $AT"
checksum
edit braceleft "seek -10 s to frame $((S + 3000)) "
checksum
for _ in 1 2 3; do edit braceright "seek \\+10 s"; done
[ "$AT" -eq "$LAST" ] || fail "seeks past the end reached frame $AT, not the last frame $LAST"
checksum
title=$(xdotool getwindowname "$DEMO_WINDOW")
[[ "$title" =~ ^Kestrune\ \[edit\]\ [0-9]+:[0-9.]+\ scene\ 2\ frame\ $LAST\ \(paused\)$ ]] ||
    fail "the title is '$title', not the time, scene 2 and frame $LAST"
echo "title: $title"
xdotool key Escape
wait_for_exit 20
[ "$DEMO_STATUS" -eq 0 ] || fail "Escape ended author mode with status $DEMO_STATUS"

# The last frame author mode knows is the one before a straight run ends.
end=$(cd "$DEMO_DIR" && SDL_AUDIODRIVER=dummy KESTRUNE_NO_DRAW=1 ./kestrune 2>/dev/null |
    awk '/^frame [0-9]+: music stops$/ { print $2 + 0 }')
[ "$end" = $((LAST + 1)) ] || fail "a straight run ends at frame $end, author mode's last frame is $LAST"
echo "the show ends at frame $end, after author mode's last frame"

frames=$(printf '%s\n' "${SUMS[@]}" | awk '{print $1}' | paste -sd,)
(cd "$DEMO_DIR" && SDL_AUDIODRIVER=dummy "$CAPTURE" --frames "$frames" --raw \
    --checksums "$DEMO_DIR/straight.txt" /dev/null >/dev/null 2>"$DEMO_DIR/capture.txt") ||
    fail "kestrune-capture failed: $(tail -3 "$DEMO_DIR/capture.txt")"
for sum in "${SUMS[@]}"; do
    read -r frame _ hash <<<"$sum"
    straight=$(awk -v f="$frame" '$1 == f { print $2 }' "$DEMO_DIR/straight.txt")
    [ "$hash" = "$straight" ] || fail "frame $frame in author mode has checksum $hash, a straight run $straight"
done
echo "frames $frames: the same pixels as a straight run"

# The music: each seek's file heard from the show's time where the seek happened, give or
# take the decoders' and the driver's delays (after a pause: within 60 ms of the silence's
# end); silence while paused.
decode_start "$DEMO_DIR/bgmusic.mp3" 200 "$DEMO_DIR/bgmusic.raw"
decode_start "$DEMO_DIR/lvl2.mp3" 200 "$DEMO_DIR/lvl2.raw"
# Where the sound comes back after the pause that began at that millisecond (a paused mixer
# writes zeros): "MS".
after_silence() {
    python3 - "$DEMO_DIR/sound.raw" "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
samples = struct.unpack("<%dh" % (len(data) // 2), data[:len(data) // 2 * 2])
start = (int(sys.argv[2]) + 300) * 441 // 10 * 2  # 300 ms in: the pause has taken hold
end = start
while end < len(samples) and samples[end] == 0:
    end += 1
print(end // 2 * 1000 // 44100)
PY
}
for heard in "${HEARD[@]}"; do
    read -r file at from to <<<"$heard"
    if [ "$from" = resume ]; then
        read -r onset < <(after_silence "$to")
        [ "$onset" -gt $((to + 1100)) ] || fail "the music was heard while paused (from $to ms)"
        echo "paused from $to ms: silent until $onset ms"
        from=$((onset - 60)) to=$((onset + 60))
    else
        from=$((from - 100)) to=$((to + 250))
    fi
    read -r found score < <("$AUDIO_MATCH" "$DEMO_DIR/sound.raw" "$DEMO_DIR/$file.raw" "$at" 3 \
        "$(awk -v t="$from" 'BEGIN { print t / 1000 }')" "$(awk -v t="$to" 'BEGIN { print t / 1000 }')")
    echo "$file from ${at}s heard at ${found}s (score $score), looked for from $from to $to ms"
    awk -v s="$score" 'BEGIN { exit !(s > 0.9) }' ||
        fail "$file is not heard from ${at}s from $from to $to ms"
done
echo PASS
