# Picture and sound checks for the integration scripts (after tests/lib/demo.sh).
# Usage: source "$KESTRUNE_SOURCE_DIR/tests/lib/media.sh"

# Number of pixels that differ by more than a small tolerance between two screenshots.
picture_difference() {
    compare -metric AE -fuzz 4% "$1" "$2" null: 2>&1 | awk '{print int($1)}'
}

# Sets DIFF and TOTAL: pixels that differ between two screenshots, and all pixels.
measure_difference() {
    DIFF=$(picture_difference "$1" "$2")
    TOTAL=$(identify -format '%[fx:w*h]' "$1")
}

# Fails unless the two pictures are alike (under 0.5% of the pixels differ).
expect_same_picture() {
    measure_difference "$1" "$2"
    [ "$DIFF" -lt $((TOTAL / 200)) ] || fail "$3: $DIFF of $TOTAL pixels changed"
    echo "same: $3 ($DIFF of $TOTAL pixels differ)"
}

# Fails unless the two pictures differ in at least 2% of the pixels.
expect_changed_picture() {
    measure_difference "$1" "$2"
    [ "$DIFF" -gt $((TOTAL / 50)) ] || fail "$3: only $DIFF of $TOTAL pixels changed"
    echo "changed: $3 ($DIFF of $TOTAL pixels differ)"
}

# The audio matcher, built with the tests (tests/lib/audio_match.cpp).
AUDIO_MATCH="${KESTRUNE_BIN_DIR:-.}/tests/audio_match"

# Starts the demo from a private run folder with its sound going to $DEMO_DIR/sound.raw
# through SDL's disk driver, and waits until start-up is done.
start_demo_with_sound() {
    [ -f "$KESTRUNE_RUN_DIR/models/room.3ds" ] || skip "no generated content in $KESTRUNE_RUN_DIR"
    [ -f "$KESTRUNE_RUN_DIR/lvl2.mp3" ] || skip "no music in $KESTRUNE_RUN_DIR"
    [ -x "$AUDIO_MATCH" ] || fail "no audio matcher at $AUDIO_MATCH"
    make_run_copy
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$DEMO_DIR/sound.raw"
    start_demo
    wait_for_window
    wait_for_output "model count" 180
}

# Decodes the first seconds of an MP3 into the raw format SDL's disk driver writes
# (signed 16-bit little-endian stereo, 44100 Hz).
decode_start() {
    ffmpeg -loglevel error -y -i "$1" -t "$2" -f s16le -ac 2 -ar 44100 "$3" ||
        fail "could not decode $1"
}

# Bytes of SDL disk-driver output per second.
AUDIO_BYTES_PER_SECOND=176400

# Copies the screenshots somewhere a person can look at them, when KESTRUNE_KEEP_SHOTS
# names a folder.
keep_shots() {
    [ -n "${KESTRUNE_KEEP_SHOTS:-}" ] || return 0
    mkdir -p "$KESTRUNE_KEEP_SHOTS" && cp "$DEMO_DIR"/*.png "$KESTRUNE_KEEP_SHOTS/"
}
