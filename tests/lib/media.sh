# Picture and sound checks for the integration scripts (after tests/lib/demo.sh).

# expect_changed_picture A B WHAT [N]: fails unless more than 1/N of the pixels (N 50 unless
# given) differ by more than a small tolerance.
expect_changed_picture() {
    local diff total
    diff=$(compare -metric AE -fuzz 4% "$1" "$2" null: 2>&1 | awk '{print int($1)}')
    total=$(identify -format '%[fx:w*h]' "$1")
    [ "$diff" -gt $((total / ${4:-50})) ] || fail "$3: only $diff of $total pixels changed"
    echo "changed: $3 ($diff of $total pixels differ)"
}

# Fails unless the picture is a real one: not uniform, not white, not black, many colours.
# Sets MEAN, its mean brightness.
check_picture() {
    local deviation colours
    read -r MEAN deviation colours <<<"$(convert "$1" -format '%[fx:mean] %[fx:standard_deviation] %k' info:)"
    echo "$2: mean $MEAN, deviation $deviation, colours $colours"
    awk -v m="$MEAN" -v d="$deviation" 'BEGIN { exit !(m < 0.92 && m > 0.04 && d > 0.03) }' ||
        fail "$2 is (nearly) uniform, white or black"
    [ "$colours" -gt 500 ] || fail "$2 has only $colours colours"
}

# The audio matcher, built with the tests (tests/lib/audio_match.cpp).
AUDIO_MATCH="${KESTRUNE_BIN_DIR:-.}/tests/audio_match"

# Decodes the first seconds of an MP3 into the raw format SDL's disk driver writes
# (signed 16-bit little-endian stereo, 44100 Hz).
decode_start() {
    ffmpeg -loglevel error -y -i "$1" -t "$2" -f s16le -ac 2 -ar 44100 "$3" ||
        fail "could not decode $1"
}

# Bytes of SDL disk-driver output per second.
AUDIO_BYTES_PER_SECOND=176400
