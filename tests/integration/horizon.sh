# The harbour's sea runs into the sky at one horizon. Frame 7500 (320x180) looks west over
# open sea, left of the lighthouse: down any column of the picture's left third, from
# the sky through the horizon to the near water, the light changes gradually. A band of
# another sea between the water and the sky box's horizon, or water ending short of the
# haze it should fade into, shows as a hard step from one row to the next.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
[ -f "$KESTRUNE_RUN_DIR/models/port.3ds" ] || skip "no generated content in $KESTRUNE_RUN_DIR"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

(cd "$KESTRUNE_RUN_DIR" && SDL_AUDIODRIVER=dummy KESTRUNE_SCREEN=320x180 KESTRUNE_NO_WM=1 \
    "$KESTRUNE_SOURCE_DIR/scripts/with-xvfb" "$KESTRUNE_BIN_DIR/kestrune-capture" \
    --frames 7500 --raw "$out/frame.rgb" >"$out/log" 2>&1) ||
    fail "the capture of frame 7500 failed: $(tail -n 3 "$out/log")"
[ "$(wc -c <"$out/frame.rgb")" -eq $((320 * 180 * 3)) ] || fail "frame 7500 is not 320x180 RGB"

# Rows 72 to 150 (from well above the horizon to the near water) of columns 0 to 119: the
# largest change of luminance (0 to 1) between neighbouring rows.
read -r step row column < <(od -An -v -tu1 -w960 "$out/frame.rgb" | awk '
    NR > 71 && NR <= 151 {
        for (x = 0; x < 120; x++) {
            i = 3 * x + 1
            l[NR, x] = (0.2126 * $i + 0.7152 * $(i + 1) + 0.0722 * $(i + 2)) / 255
        }
    }
    END {
        for (x = 0; x < 120; x++)
            for (y = 73; y <= 151; y++) {
                d = l[y, x] - l[y - 1, x]
                if (d < 0) d = -d
                if (d > best) { best = d; stepY = y - 1; stepX = x }
            }
        printf "%.3f %d %d\n", best, stepY, stepX
    }')
echo "frame 7500: the largest step between rows near the horizon is $step (row $row, column $column)"
awk -v s="$step" 'BEGIN { exit !(s < 0.1) }' ||
    fail "a hard edge near the horizon at row $row, column $column (step $step): two seas?"
