# Picture and sound checks for the integration scripts (after tests/lib/demo.sh).
# Usage: source "$KESTRUNE_SOURCE_DIR/tests/lib/media.sh"

# Number of pixels that differ by more than a small tolerance between two screenshots.
picture_difference() {
    compare -metric AE -fuzz 4% "$1" "$2" null: 2>&1 | awk '{print int($1)}'
}

# Fails unless the two pictures are alike (under 0.5% of the pixels differ).
expect_same_picture() {
    local a="$1" b="$2" what="$3" diff total
    diff=$(picture_difference "$a" "$b")
    total=$(identify -format '%[fx:w*h]' "$a")
    [ "$diff" -lt $((total / 200)) ] || fail "$what: $diff of $total pixels changed"
    echo "same: $what ($diff of $total pixels differ)"
}

# Fails unless the two pictures differ in at least 2% of the pixels.
expect_changed_picture() {
    local a="$1" b="$2" what="$3" diff total
    diff=$(picture_difference "$a" "$b")
    total=$(identify -format '%[fx:w*h]' "$a")
    [ "$diff" -gt $((total / 50)) ] || fail "$what: only $diff of $total pixels changed"
    echo "changed: $what ($diff of $total pixels differ)"
}

# Builds the audio matcher into $DEMO_DIR; sets AUDIO_MATCH.
build_audio_match() {
    AUDIO_MATCH="$DEMO_DIR/audio_match"
    g++ -O2 -o "$AUDIO_MATCH" "$KESTRUNE_SOURCE_DIR/tests/lib/audio_match.cpp" ||
        fail "could not build the audio matcher"
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
