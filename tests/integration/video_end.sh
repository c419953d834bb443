# The capture hands every frame it draws to the output, in order and under its own number,
# though it collects each one frames later and writes it on another thread: the last
# frames are there whether the show ends by itself (frames 10957 to 10981, the show ending
# in frame 10982) or the run stops at --to, and both runs write the same bytes. The raw
# frames are the ones their checksum lines describe; at 640x360 (not 320x180, as elsewhere)
# off screen too.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
[ -f "$KESTRUNE_RUN_DIR/models/room.3ds" ] || skip "no generated content in $KESTRUNE_RUN_DIR"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

capture() {
    (cd "$KESTRUNE_RUN_DIR" && KESTRUNE_SCREEN=320x180 KESTRUNE_NO_WM=1 \
        "$KESTRUNE_SOURCE_DIR/scripts/with-xvfb" "$KESTRUNE_BIN_DIR/kestrune-capture" "$@" \
        >/dev/null 2>"$out/errors") || fail "kestrune-capture $* failed: $(tail -n 3 "$out/errors")"
}

# The checksums name frames FIRST to LAST in a row, and each raw frame hashes to its line
# (64-bit FNV-1a over the frame's 8-byte words, then its last bytes).
check_frames() { # RAW SUMS FIRST LAST WIDTH HEIGHT
    [ "$(cut -d' ' -f1 "$2" | tr '\n' ' ')" = "$(seq -s ' ' "$3" "$4") " ] ||
        fail "$2 does not name frames $3 to $4: $(head -n 2 "$2") ... $(tail -n 2 "$2")"
    python3 - "$@" <<'EOF' || fail "the raw frames of $1 are not the ones $2 describes"
import struct, sys
raw, sums, width, height = sys.argv[1], sys.argv[2], int(sys.argv[5]), int(sys.argv[6])
size = width * height * 3
data = open(raw, "rb").read()
lines = open(sums).read().split("\n")[:-1]
if len(data) != size * len(lines):
    sys.exit(f"{len(data)} bytes for {len(lines)} frames")
for k, line in enumerate(lines):
    frame = data[k * size:(k + 1) * size]
    h = 14695981039346656037
    words = len(frame) // 8
    for w in struct.unpack(f"<{words}Q", frame[:words * 8]):
        h = ((h ^ w) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    for b in frame[words * 8:]:
        h = ((h ^ b) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    if line.split()[1] != f"{h:016x}":
        sys.exit(f"frame {line.split()[0]} hashes to {h:016x}, not {line.split()[1]}")
EOF
}

capture --from 182.6 --checksums "$out/end.sums" --raw "$out/end.rgb"
grep -q "frames 10957 to 10981 of the show, 25 frames" "$out/errors" ||
    fail "the summary is not of frames 10957 to 10981: $(tail -n 1 "$out/errors")"
check_frames "$out/end.rgb" "$out/end.sums" 10957 10981 320 180
capture --from 182.6 --to "$(awk 'BEGIN { printf "%.6f", 10981 / 60 }')" --checksums "$out/to.sums" \
    --raw "$out/to.rgb"
cmp -s "$out/end.rgb" "$out/to.rgb" && cmp -s "$out/end.sums" "$out/to.sums" ||
    fail "the show's last frames differ when it ends by itself and at --to: $(diff "$out/end.sums" "$out/to.sums" | head -n 4)"
echo "the show's last 25 frames: the same bytes whether it ends or --to stops it"

# Off screen at 640x360 in a 320x180 screen: a frame larger than the window.
capture --size 640x360 --from 117 --to 117.25 --checksums "$out/big.sums" --raw "$out/big.rgb"
check_frames "$out/big.rgb" "$out/big.sums" 7021 7035 640 360
# The first frame is drawn at the screen's size: the window opens smaller and is resized
# before it, so a capture that began before the resize reached the window's buffers would
# write a black or partly drawn frame 1 (a screen larger than the window's first size).
(cd "$KESTRUNE_RUN_DIR" && KESTRUNE_SCREEN=800x600 KESTRUNE_NO_WM=1 \
    "$KESTRUNE_SOURCE_DIR/scripts/with-xvfb" "$KESTRUNE_BIN_DIR/kestrune-capture" --frames 1 \
    --raw "$out/first.rgb" >/dev/null 2>"$out/errors") || fail "the capture of frame 1 failed"
black=$(python3 -c '
import sys
d = open(sys.argv[1], "rb").read()
print(sum(1 for i in range(0, len(d), 3) if d[i:i + 3] == b"\0\0\0"))' "$out/first.rgb")
[ "$black" -lt 1000 ] || fail "frame 1 at 800x600 has $black black pixels: drawn before the window took the screen's size"
echo "frame 1: the whole picture"
echo "PASS"
